#pragma once
// The files of one save (.shp, .shx and .dbf of a job), written where nobody sees them and put in place
// together once all of them are complete and on the device. A save that fails, or a process killed while
// it writes, leaves the earlier files byte for byte and no temporary file behind. Before the first file is
// made, what a killed save of the same output left is settled (files::ReplaceTogether::clearLeftovers).
#include <memory>
#include <string>
#include <vector>

#include "platform/files/NewFile.h"
#include "platform/files/ReplaceTogether.h"
#include "polygon/core/BinaryFile.h"

namespace ostrand {

class OutputFiles {
public:
    OutputFiles();
    ~OutputFiles();
    OutputFiles(const OutputFiles&) = delete;
    OutputFiles& operator=(const OutputFiles&) = delete;

    // A new file that is to replace `final`; every file of a save has the base of the first. Throws open_failure when it cannot be made or `final` must not
    // be replaced (a folder, a file marked read-only); its writes and commit() throw write_failure.
    BinaryFile& create(const std::string& final, const std::string& open_failure, const std::string& write_failure);
    // Completes every file, names it and replaces the earlier files together, with the files that
    // describe them (a spatial index, a code page: files::ReplaceTogether::companions); throws the write failure
    // text of the file that could not be completed or put in place.
    void commit();

private:
    struct Entry {
        std::string final;
        std::string temp;
        velmora::files::NewFile made;
        std::unique_ptr<BinaryFile> file;
        std::string write_failure;
    };

    // Declared in this order so that the files are closed before their temporary names are removed. Made
    // with the first file, whose name gives the save's base.
    std::unique_ptr<velmora::files::ReplaceTogether> replace_;
    std::vector<Entry> entries_;
};

}  // namespace ostrand
