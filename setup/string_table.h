// The program's string table: every folder, name, target and argument text
// of the shortcuts is read from it by row id, at the moment it is needed.
// An interface so it can be mocked out for tests, and so the Windows program
// can read its own string-table resource instead of the built-in rows.
#ifndef BRANTVELL_SETUP_STRING_TABLE_H_
#define BRANTVELL_SETUP_STRING_TABLE_H_

#include <cstdint>
#include <string>

#include "platform/error.h"

namespace brantvell {

class StringTable {
 public:
  virtual ~StringTable() = default;

  // The UTF-8 text of row `id`. Raises Error (kErrResourceNotFound, source
  // kOwnErrorSource) when there is no such row.
  virtual std::string Load(int id) = 0;

  // The rows of resources/string_table.inc.
  static StringTable& Real();
};

}  // namespace brantvell

#endif  // BRANTVELL_SETUP_STRING_TABLE_H_
