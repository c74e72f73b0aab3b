#include "polygon/core/LinkRecords.h"

#include <algorithm>
#include <string_view>
#include <system_error>

#include "polygon/core/AreaFields.h"

namespace ostrand {

namespace {

const char* const kLinkCodeFailure = "Invalid layer code. KsPolygonMaker::read_link()";

constexpr unsigned kMostThreads = 7;

// A file's link records when they read to the end of their section; null for any fault.
std::unique_ptr<FileLinks> read_ahead(const std::string& path) {
    AreaLineSource in(path);
    auto read = std::make_unique<FileLinks>();
    read->head = read_area_file_head(in);
    read->lines = read_link_records(in, read->head.link_lines, read->links);
    if (in.failed()) return nullptr;
    return read;
}

}  // namespace

AreaFileHead read_area_file_head(AreaLineSource& in) {
    std::string header, counts;
    in.read_whole(header);
    in.read_whole(counts);
    AreaFileHead head;
    head.node_lines = int_field(in, counts, 8, 8);
    head.link_lines = int_field(in, counts, 16, 8);
    head.area_lines = int_field(in, counts, 24, 8);
    head.attr_lines = int_field(in, counts, 48, 8);
    in.skip_lines(head.node_lines);
    return head;
}

long read_link_records(AreaLineSource& in, int line_count, std::map<LinkRef, Ring>& links) {
    long lines_read = 0;
    while (lines_read < line_count) {
        const std::string_view line = in.read_limited();
        if (line.substr(0, 1) != "L") throw std::string(kLinkCodeFailure);
        LinkRef key{std::string(in.field(line, 3, 6)), int_field(in, line, 27, 6), true};
        const int n = int_field(in, line, 45, 6);
        const std::string_view joined = in.read_entries(n, kVertexWidth);
        Ring ring;
        ring.points.reserve(static_cast<std::size_t>(std::max(n, 0)));
        for (int i = 0; i < n; ++i) {
            const std::size_t at = kVertexWidth * static_cast<std::size_t>(i);
            const double x = coordinate_field(in, joined, at);
            const double y = coordinate_field(in, joined, at + 8);
            ring.add_point({x, y});
        }
        // Files list their links in key order: the hint makes each insertion a step at the end.
        links.try_emplace(links.end(), std::move(key))->second = std::move(ring);
        lines_read += 1 + continuation_lines(n);
    }
    return lines_read;
}

LinkPrefetch::LinkPrefetch(std::vector<std::string> paths)
    : paths_(std::move(paths)), read_(paths_.size()), done_(paths_.size(), 0) {
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t threads = std::min<std::size_t>({cores, kMostThreads, paths_.size() > 0 ? paths_.size() - 1 : 0});
    try {
        for (std::size_t t = 0; t < threads; ++t) threads_.emplace_back([this] { work(); });
    } catch (const std::system_error&) {
        // No more threads to be had: those started read every file.
    }
}

LinkPrefetch::~LinkPrefetch() {
    stop_ = true;
    for (std::thread& t : threads_) t.join();
}

void LinkPrefetch::work() {
    while (!stop_) {
        const std::size_t i = next_.fetch_add(1);
        if (i >= paths_.size()) return;
        std::unique_ptr<FileLinks> read;
        try {
            read = read_ahead(paths_[i]);
        } catch (...) {
            // The maker reads the file itself and tells what is wrong with it.
        }
        {
            const std::lock_guard<std::mutex> lock(guard_);
            read_[i] = std::move(read);
            done_[i] = 1;
        }
        finished_.notify_all();
    }
}

std::unique_ptr<FileLinks> LinkPrefetch::take(std::size_t index) {
    if (index == 0 || index >= paths_.size() || threads_.empty()) return nullptr;
    std::unique_lock<std::mutex> lock(guard_);
    finished_.wait(lock, [&] { return done_[index] != 0; });
    return std::move(read_[index]);
}

}  // namespace ostrand
