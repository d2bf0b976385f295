#include "setup/string_table.h"

#include "platform/error.h"
#include "platform/resource_strings.h"

namespace brantvell {

namespace {

struct StringRow {
  int id;
  const char* text;
};

constexpr StringRow kRows[] = {
#define BRANTVELL_STRING(id, text) {id, text},
#include "resources/string_table.inc"
#undef BRANTVELL_STRING
};

// The program's own string-table resource where it has one (the Windows
// program, Czech block), else the same rows compiled in.
class BuiltInStringTable : public StringTable {
 public:
  std::string Load(int id) override {
    std::string text;
    if (LoadResourceString(id, &text)) return text;
    for (const StringRow& row : kRows) {
      if (row.id == id) return row.text;
    }
    throw OwnError(kErrResourceNotFound,
                   "Resource with identifier '" + std::to_string(id) + "' not found");
  }
};

}  // namespace

StringTable& StringTable::Real() {
  static BuiltInStringTable table;
  return table;
}

}  // namespace brantvell
