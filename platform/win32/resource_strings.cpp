#include "platform/resource_strings.h"

#include "platform/text.h"
#include "platform/win32/win32.h"

namespace brantvell {

namespace {

// String tables are stored in blocks of 16 rows: block n + 1 holds rows
// 16 n to 16 n + 15, each as a count of UTF-16 units followed by the units
// (no terminator); a missing row has the count 0.
constexpr int kRowsPerBlock = 16;
// RT_STRING in its wide form, whatever UNICODE says.
const wchar_t* const kStringType = MAKEINTRESOURCEW(6);

}  // namespace

bool LoadResourceString(int id, std::string* text) {
  if (id < 0 || id > 0xFFFF) return false;  // row ids are 16-bit
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC block = FindResourceExW(module, kStringType, MAKEINTRESOURCEW(id / kRowsPerBlock + 1),
                                MAKELANGID(LANG_CZECH, SUBLANG_DEFAULT));
  if (block == nullptr) return false;
  // A loaded resource is mapped with the module and needs no release.
  HGLOBAL loaded = LoadResource(module, block);
  if (loaded == nullptr) return false;
  const auto* unit = static_cast<const char16_t*>(LockResource(loaded));
  if (unit == nullptr) return false;
  const char16_t* end = unit + SizeofResource(module, block) / sizeof(char16_t);

  // Skip the rows before ours, never reading past the block's end.
  for (int row = 0; row < id % kRowsPerBlock; ++row) {
    if (unit >= end) return false;
    unit += 1 + *unit;
  }
  if (unit >= end) return false;
  size_t count = *unit;
  if (count == 0 || count > static_cast<size_t>(end - unit - 1)) return false;
  *text = Utf16ToUtf8(std::u16string(unit + 1, unit + 1 + count));
  return true;
}

}  // namespace brantvell
