#pragma once
// Table, field and index names. Names are UTF-8 (as SQL text is); a name that comes as CP932 bytes (an
// item name of the catalogue) is decoded with text::fromCp932 first, and a name that is not UTF-8 is
// refused rather than stored as bytes no query could spell. Names compare as the engine compared them:
// ASCII letters without regard to case, everything else exactly.
#include <string>
#include <string_view>

namespace velmora::db {

// Refuses (3125) a name the engine did not accept: empty, starting with a blank, holding a control
// character or one of . ! ` [ ], or not writable in CP932 (which also refuses bytes that are not UTF-8).
void checkName(std::string_view name);

// The name as an SQL identifier in double quotes.
std::string quoteName(std::string_view name);

bool sameName(std::string_view a, std::string_view b);

// The name with ASCII letters in lower case: the key under which names are looked up.
std::string foldName(std::string_view name);

// SQLite keeps index names per database; the engine kept them per table, and the tables reuse names such
// as LinkIdx. The SQLite name of an index is therefore "<table>.<index>".
std::string sqliteIndexName(std::string_view table, std::string_view index);

}  // namespace velmora::db
