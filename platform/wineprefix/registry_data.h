// The data of a value line of the prefix's registry files, read from the
// text as Wine writes it: quoted strings with their escapes, str(N):,
// dword: and hex data.
#ifndef BRANTVELL_PLATFORM_WINEPREFIX_REGISTRY_DATA_H_
#define BRANTVELL_PLATFORM_WINEPREFIX_REGISTRY_DATA_H_

#include <cstddef>
#include <string>

#include "platform/wineprefix/wine_registry.h"

namespace brantvell {

// A space or a TAB. Inline: it is asked of nearly every line of the file.
inline bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Moves `*pos` past the blanks (spaces and TABs) of `line` there.
void SkipBlanks(const std::string& line, size_t* pos);

// Reads an escaped string from `line` at `*pos` up to the unescaped
// character `close`, which is consumed. The file escapes control characters
// C-style, other characters as \xHHHH (one UTF-16 unit) or in octal, and
// the delimiters and the backslash by a backslash. False when `close` never
// comes.
bool ReadEscaped(const std::string& line, size_t* pos, char close, std::string* out);

// The data after "name=": a quoted string, str(N):, dword: or hex data.
bool ReadData(const std::string& line, size_t pos, RegistryValue* value);

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_WINEPREFIX_REGISTRY_DATA_H_
