#pragma once
// The head of an area file and its link records, as the maker reads them; and the link records of a job's
// later files read ahead, on threads of their own, while the maker reads the files before them. Links
// are most of what a nationwide job reads, and most of the new memory it takes while reading.
#include <atomic>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "polygon/core/AreaLineSource.h"
#include "polygon/core/Geometry.h"

namespace ostrand {

// The line counts of an area file's sections.
struct AreaFileHead {
    int node_lines = 0;
    int link_lines = 0;
    int area_lines = 0;
    int attr_lines = 0;
};

// Reads the header line and the counts line and passes over the node records.
AreaFileHead read_area_file_head(AreaLineSource& in);

// Reads link records into `links` (a later record of a key replaces the earlier) until line_count lines
// have been read; returns the lines read.
long read_link_records(AreaLineSource& in, int line_count, std::map<LinkRef, Ring>& links);

// The link records of one file, read to the end of their section without a fault.
struct FileLinks {
    AreaFileHead head;
    long lines = 0;  // the lines the link records took
    std::map<LinkRef, Ring> links;
};

class LinkPrefetch {
public:
    // Starts reading the files after the first (the maker reads that one meanwhile).
    explicit LinkPrefetch(std::vector<std::string> paths);
    ~LinkPrefetch();
    LinkPrefetch(const LinkPrefetch&) = delete;
    LinkPrefetch& operator=(const LinkPrefetch&) = delete;

    // The links of file `index`, waiting for them; null for the first file and for a file whose link
    // records did not read cleanly, which the maker then reads itself, failing as it would have.
    std::unique_ptr<FileLinks> take(std::size_t index);

private:
    void work();

    std::vector<std::string> paths_;
    std::vector<std::unique_ptr<FileLinks>> read_;
    std::vector<char> done_;
    std::mutex guard_;
    std::condition_variable finished_;
    std::atomic<std::size_t> next_{1};
    std::atomic<bool> stop_{false};
    std::vector<std::thread> threads_;
};

}  // namespace ostrand
