// The catalogue of the shortcuts the program knows: 21 shortcut files,
// numbered 0 to 20, and the sets of numbers that make up each language
// variant. Every text of an entry is a row of the string table.
#ifndef BRANTVELL_SETUP_SHORTCUT_CATALOGUE_H_
#define BRANTVELL_SETUP_SHORTCUT_CATALOGUE_H_

#include <cstdint>
#include <vector>

namespace brantvell {

// String-table rows that configure folders.
constexpr int kRowGroupName = 10;
constexpr int kRowAppPathValue = 11;

enum class ShortcutFolder { kDesktop, kGroup };

struct ShortcutEntry {
  ShortcutFolder folder;
  // A ".lnk" shortcut to a file inside the application folder; otherwise a
  // ".url" shortcut to a web address (always in the group folder).
  bool is_link;
  int name_row;
  // ".lnk": the file name (with a leading backslash) inside the application
  // folder; ".url": the web address.
  int target_row;
  // ".lnk" only; 0 means empty arguments.
  int arguments_row;
};

constexpr int32_t kShortcutCount = 21;

// The entry of shortcut `number`; null for a number outside 0 to 20.
const ShortcutEntry* FindShortcut(int32_t number);

// Shortcut-set selectors.
constexpr int32_t kSetCz = 1;
constexpr int32_t kSetSk = 2;
constexpr int32_t kSetCzSk = 3;
constexpr int32_t kSetEvery = 4;

// The shortcut numbers of set `selector`, in the order they are made or
// removed: 1 CZ, 2 SK, 3 CZ and SK, 4 every shortcut (the sets of 3, 1 and 2
// one after the other, so 10 and 20 occur twice); empty for anything else.
std::vector<int32_t> ShortcutSet(int32_t selector);

}  // namespace brantvell

#endif  // BRANTVELL_SETUP_SHORTCUT_CATALOGUE_H_
