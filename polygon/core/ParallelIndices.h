#pragma once
// Work on the polygons of a job that is done for each polygon on its own (cleaning, the validity check)
// shares the machine's cores; what it leaves in the log is written afterwards, in the polygons' order, so
// the output is the same however the work was shared.
#include <cstddef>
#include <functional>

namespace ostrand {

// Calls task(i) once for every i in [0, n), on the calling thread and up to seven more, each taking the
// next run of indices as it is free. Returns when every call has returned. A task is to keep what it
// finds in its own slot; an exception that escapes a task is rethrown here once all have ended. Tasks
// keep no thread_local state: the threads live for one call, so nothing kept there outlives it.
void for_each_index_in_parallel(std::size_t n, const std::function<void(std::size_t)>& task);

}  // namespace ostrand
