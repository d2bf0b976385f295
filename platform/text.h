// UTF-8 text helpers. Texts inside the program are UTF-8 `std::string`;
// lengths and positions that the program's rules count are counted in
// characters (code points), never in bytes, so a cut never splits one.
#ifndef BRANTVELL_PLATFORM_TEXT_H_
#define BRANTVELL_PLATFORM_TEXT_H_

#include <cstddef>
#include <string>
#include <vector>

namespace brantvell {

// Number of characters of a UTF-8 text.
size_t CharCount(const std::string& text);

// The characters from index `first` (0-based), at most `count` of them.
std::string CharSubstr(const std::string& text, size_t first, size_t count = std::string::npos);

// The offset just past the character that starts at offset `at`.
size_t CharEnd(const std::string& text, size_t at);

// The text split into its characters, each one a UTF-8 sequence.
std::vector<std::string> SplitChars(const std::string& text);

// Letter case of ASCII letters and of the letters of the Czech and Slovak
// alphabets; every other character stays as it is.
std::string ToLower(const std::string& text);
std::string ToUpper(const std::string& text);

// Comparison without regard to letter case (as ToLower sees it).
bool EqualsNoCase(const std::string& a, const std::string& b);

// Blanks (space characters only) removed at both ends.
std::string TrimSpaces(const std::string& text);

// Appends the UTF-8 form of `code_point`, a Unicode scalar value. Other
// numbers are not checked: a surrogate or a number past U+10FFFF comes out
// in the byte pattern of its size, which does not stand for it (the
// functions above read a surrogate's bytes as three malformed ones).
void AppendUtf8(char32_t code_point, std::string* out);

// Appends `value` in decimal, at least `width` characters long with zeros
// between the sign and the digits: what printf's "%0*lld" writes, without a
// format string to parse for every record of the log.
void AppendPadded(long long value, int width, std::string* out);

// True when the text is well-formed UTF-8 (shortest forms, no surrogates).
bool IsValidUtf8(const std::string& text);

// The offset of the last `byte` in `text`; npos when there is none.
size_t FindLastByte(const std::string& text, char byte);

// The text with every control character but TAB, line feed and carriage
// return (C0, DEL and the C1 range) written as U+FFFD, so it cannot steer a
// terminal or break the field it is written into.
std::string ControlsReplaced(const std::string& text);

// UTF-8 <-> UTF-16 for platform boundaries; invalid input becomes U+FFFD.
std::u16string Utf8ToUtf16(const std::string& text);
std::string Utf16ToUtf8(const std::u16string& text);

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_TEXT_H_
