// Rows of the program's own string-table resource.
#ifndef BRANTVELL_PLATFORM_RESOURCE_STRINGS_H_
#define BRANTVELL_PLATFORM_RESOURCE_STRINGS_H_

#include <string>

namespace brantvell {

// The UTF-8 text of row `id` of the Czech string table (language 1029) in
// the program's executable. False when there is no such row; an empty row
// counts as missing, as the window system's own string loader sees it. Only
// the Czech block is read: the table is not translated, and the window
// system's loader would pick a block by the user's language instead.
// Programs without such resources (every non-Windows build) always get false.
bool LoadResourceString(int id, std::string* text);

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_RESOURCE_STRINGS_H_
