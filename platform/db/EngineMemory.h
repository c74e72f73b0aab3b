#pragma once
// The memory SQLite works in. A job's page cache grows to its full size in pieces of a page and a little
// more, and every new 4 KB of memory costs a page fault on its first touch: about a fifth of a large line
// job went to those faults. Pieces of a cache page's size are therefore taken from mappings the
// kernel may back with 2 MB pages, touched (and so resident) only as they are used; other pieces go to
// malloc as before.

namespace velmora::db::detail {

// Makes SQLite allocate through this heap. Called once, before the engine's first use in the process;
// false when the engine refused (it was already in use), in which case it keeps its own allocator.
bool useEngineMemory();

}  // namespace velmora::db::detail
