// Text conversions at the Windows API boundary: the program's UTF-8 texts to
// and from UTF-16 and the ANSI code page.
#ifndef BRANTVELL_PLATFORM_WIN32_WIN32_TEXT_H_
#define BRANTVELL_PLATFORM_WIN32_WIN32_TEXT_H_

#include <string>

namespace brantvell {

std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& wide);
std::string Narrow(const wchar_t* wide, size_t count);

// Conversions through the system's ANSI code page, as the "A" functions of
// the API see texts. Characters the code page lacks get its best fit or its
// default character.
std::string Utf8ToSystemAnsi(const std::string& utf8);
std::string SystemAnsiToUtf8(const std::string& ansi);

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_WIN32_WIN32_TEXT_H_
