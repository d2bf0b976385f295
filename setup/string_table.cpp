#include "setup/string_table.h"

#include "platform/error.h"

namespace brantvell {

namespace {

struct StringRow {
  int id;
  const char* text;
};

constexpr StringRow kRows[] = {
#define BRANTVELL_STRING(id, text) {id, text},
#include "resources/string_table.h"
#undef BRANTVELL_STRING
};

// The rows compiled into the program, the same on every platform.
class BuiltInStringTable : public StringTable {
 public:
  std::string Load(int id) override {
    for (const StringRow& row : kRows) {
      if (row.id == id) return row.text;
    }
    throw Error(kErrResourceNotFound, kOwnErrorSource,
                "Resource with identifier '" + std::to_string(id) + "' not found");
  }
};

}  // namespace

StringTable& StringTable::Real() {
  static BuiltInStringTable table;
  return table;
}

}  // namespace brantvell
