#include "setup/shortcut_catalogue.h"

namespace brantvell {

namespace {

constexpr ShortcutFolder kDesktop = ShortcutFolder::kDesktop;
constexpr ShortcutFolder kGroup = ShortcutFolder::kGroup;

// Indexed by shortcut number. A single variant uses the plain names (rows
// ending in 1), the combined variant the names with the language suffix
// (rows ending in 2); the web sites have one name each and the Slovak wizard
// belongs to the Slovak set only.
constexpr ShortcutEntry kCatalogue[kShortcutCount] = {
    // Czech variant.
    {kDesktop, true, 111, 115, 116},  // 0 application
    {kDesktop, true, 112, 115, 116},  // 1 application (CZ)
    {kGroup, true, 111, 115, 116},    // 2 application
    {kGroup, true, 112, 115, 116},    // 3 application (CZ)
    {kGroup, true, 121, 125, 0},      // 4 help file
    {kGroup, true, 122, 125, 0},      // 5 help file (CZ)
    {kGroup, false, 131, 135, 0},     // 6 first-steps manual
    {kGroup, false, 132, 135, 0},     // 7 first-steps manual (CZ)
    {kGroup, false, 141, 145, 0},     // 8 certification wizard
    {kGroup, false, 142, 145, 0},     // 9 certification wizard, combined set
    {kGroup, false, 151, 155, 0},     // 10 bank web site
    // Slovak variant.
    {kDesktop, true, 211, 215, 216},  // 11 application
    {kDesktop, true, 212, 215, 216},  // 12 application (SK)
    {kGroup, true, 211, 215, 216},    // 13 application
    {kGroup, true, 212, 215, 216},    // 14 application (SK)
    {kGroup, true, 221, 225, 0},      // 15 help file
    {kGroup, true, 222, 225, 0},      // 16 help file (SK)
    {kGroup, false, 231, 235, 0},     // 17 first-steps manual
    {kGroup, false, 232, 235, 0},     // 18 first-steps manual (SK)
    {kGroup, false, 241, 245, 0},     // 19 certification wizard
    {kGroup, false, 251, 255, 0},     // 20 bank web site
};

}  // namespace

const ShortcutEntry* FindShortcut(int32_t number) {
  if (number < 0 || number >= kShortcutCount) return nullptr;
  return &kCatalogue[number];
}

std::vector<int32_t> ShortcutSet(int32_t selector) {
  std::vector<int32_t> numbers;
  if (selector == kSetCzSk || selector == kSetEvery) {
    numbers.insert(numbers.end(), {1, 3, 5, 7, 9, 10, 12, 14, 16, 18, 20});
  }
  if (selector == kSetCz || selector == kSetEvery) {
    numbers.insert(numbers.end(), {0, 2, 4, 6, 8, 10});
  }
  if (selector == kSetSk || selector == kSetEvery) {
    numbers.insert(numbers.end(), {11, 13, 15, 17, 19, 20});
  }
  return numbers;
}

}  // namespace brantvell
