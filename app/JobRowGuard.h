#pragma once
// Every job starts from its catalogue row as loaded. Some converters adapt the selected row in place
// (the land-price converters rewrite item flags and columns for the data year); the job keeps a copy of
// the row and puts it back however the job ends, so a second job in the same dialog (a retry, data of
// another year) does not start from the first job's altered row.
#include <utility>

namespace velmora {

template <class Row>
class JobRowGuard {
public:
    explicit JobRowGuard(Row& row) : row_(row), loaded_(row) {}
    ~JobRowGuard() { row_ = std::move(loaded_); }
    JobRowGuard(const JobRowGuard&) = delete;
    JobRowGuard& operator=(const JobRowGuard&) = delete;

private:
    Row& row_;
    Row loaded_;
};

}  // namespace velmora
