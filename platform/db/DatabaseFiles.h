#pragma once
// Work database files as files: whether one exists, and deleting it. A database that is still open, in
// this program or in another one, cannot be deleted (75), as the jobs expect: deleting a leftover file
// that something still holds must fail rather than pull it from under its user.
#include <string>

namespace velmora::db {

bool fileExists(const std::string& path);

// Deletes the file; false when there was none. Throws 75 when it is open or cannot be deleted.
bool removeFile(const std::string& path);

namespace detail {
std::string absolutePath(const std::string& path);
// The files this program has open as databases (absolute paths).
void markOpen(const std::string& absolute);
void markClosed(const std::string& absolute);
}  // namespace detail

}  // namespace velmora::db
