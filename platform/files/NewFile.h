#pragma once
// A file that takes its name only once it is complete. Where the file system allows, it is created
// without a name in its folder, so a process killed while writing leaves nothing behind; elsewhere it is
// created under its name at once.
#include <string>

namespace velmora::files {

struct NewFile {
    int fd = -1;           // open for writing; -1 when the file could not be created (errno tells why)
    bool unnamed = false;  // still without a name: nameNewFile gives it one
};

// Creates an empty file to write, to be known as `path`, which must not exist yet.
NewFile openNewFile(const std::string& path);
// Gives an unnamed file the name it was opened for; nothing to do for one created under its name.
// false (errno set) when the name cannot be made.
bool nameNewFile(const NewFile& file, const std::string& path);

}  // namespace velmora::files
