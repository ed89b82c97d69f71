// Lookup in the library's numbered string table.
#pragma once

namespace vn {

struct StringEntry {
  int id;
  const char* german;
  const char* english;  // nullptr: the German text is used in every language
};

// The entry with that number, or nullptr.
const StringEntry* FindStringEntry(int id);

}  // namespace vn
