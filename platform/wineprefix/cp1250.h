// The Central European ANSI code page (windows-1250), the one single-byte
// code page of the Czech and Slovak Windows systems the program serves. File
// formats that keep an ANSI copy of a text beside the Unicode one use it.
#ifndef BRANTVELL_PLATFORM_WINEPREFIX_CP1250_H_
#define BRANTVELL_PLATFORM_WINEPREFIX_CP1250_H_

#include <string>

namespace brantvell {

// UTF-8 text as windows-1250 bytes; characters the code page lacks become
// '?', as the system's own conversion does by default.
std::string Utf8ToCp1250(const std::string& text);

// windows-1250 bytes as UTF-8; the five unassigned bytes become U+FFFD.
std::string Cp1250ToUtf8(const std::string& bytes);

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_WINEPREFIX_CP1250_H_
