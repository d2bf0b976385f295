#include "platform/wineprefix/registry_data.h"

#include "platform/wineprefix/wineprefix.h"

#include <cstddef>
#include <cstring>

#include "platform/text.h"

namespace brantvell {

namespace {

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return c - 'A' + 10;
}

// Reads a hexadecimal number (at least one digit) at `*pos`.
bool ReadHexNumber(const std::string& line, size_t* pos, uint32_t* number) {
  size_t i = *pos;
  uint64_t n = 0;
  while (i < line.size() && IsHexDigit(line[i]) && n <= 0xFFFFFFFFu) {
    n = n * 16 + static_cast<uint64_t>(HexDigitValue(line[i]));
    ++i;
  }
  if (i == *pos || n > 0xFFFFFFFFu) return false;
  *number = static_cast<uint32_t>(n);
  *pos = i;
  return true;
}

// Reads "(N):" after `str` / `hex`, the type in hexadecimal.
bool ReadTypeSuffix(const std::string& line, size_t* pos, uint32_t* type) {
  size_t i = *pos;
  if (i >= line.size() || line[i] != '(') return false;
  ++i;
  if (!ReadHexNumber(line, &i, type)) return false;
  if (line.compare(i, 2, "):") != 0) return false;
  *pos = i + 2;
  return true;
}

// Comma-separated byte pairs ("01,ab,ff"), blanks allowed between them.
bool ReadHexBytes(const std::string& line, size_t pos, std::string* bytes) {
  bytes->clear();
  SkipBlanks(line, &pos);
  while (pos < line.size()) {
    if (pos + 1 >= line.size() || !IsHexDigit(line[pos]) || !IsHexDigit(line[pos + 1]))
      return false;
    bytes->push_back(
        static_cast<char>(HexDigitValue(line[pos]) * 16 + HexDigitValue(line[pos + 1])));
    pos += 2;
    SkipBlanks(line, &pos);
    if (pos < line.size()) {
      if (line[pos] != ',') return false;
      ++pos;
      SkipBlanks(line, &pos);
    }
  }
  return true;
}

}  // namespace

void SkipBlanks(const std::string& line, size_t* pos) {
  while (*pos < line.size() && IsBlank(line[*pos])) ++*pos;
}

bool ReadEscaped(const std::string& line, size_t* pos, char close, std::string* out) {
  std::u16string units;
  std::string raw;  // plain bytes not yet converted, UTF-8
  auto flush = [&] {
    units += Utf8ToUtf16(raw);
    raw.clear();
  };
  size_t i = *pos;
  while (i < line.size()) {
    char c = line[i];
    if (c == close) {
      flush();
      *out = Utf16ToUtf8(units);
      *pos = i + 1;
      return true;
    }
    if (c != '\\') {
      raw.push_back(c);
      ++i;
      continue;
    }
    if (++i >= line.size()) return false;
    char e = line[i];
    char16_t unit = 0;
    bool escaped = true;
    switch (e) {
      case 'a':
        unit = 7;
        break;
      case 'b':
        unit = 8;
        break;
      case 't':
        unit = 9;
        break;
      case 'n':
        unit = 10;
        break;
      case 'v':
        unit = 11;
        break;
      case 'f':
        unit = 12;
        break;
      case 'r':
        unit = 13;
        break;
      case 'e':
        unit = 27;
        break;
      case 'x':
        if (i + 1 < line.size() && IsHexDigit(line[i + 1])) {
          for (int n = 0; n < 4 && i + 1 < line.size() && IsHexDigit(line[i + 1]); ++n)
            unit = static_cast<char16_t>(unit * 16 + HexDigitValue(line[++i]));
        } else {
          unit = 'x';
        }
        break;
      default:
        if (e >= '0' && e <= '7') {
          unit = static_cast<char16_t>(e - '0');
          for (int n = 1; n < 3 && i + 1 < line.size() && line[i + 1] >= '0' && line[i + 1] <= '7';
               ++n)
            unit = static_cast<char16_t>(unit * 8 + (line[++i] - '0'));
        } else {
          escaped = false;  // the character itself, possibly a multi-byte one
        }
    }
    if (escaped) {
      flush();
      units.push_back(unit);
      ++i;
    } else {
      raw.push_back(e);
      ++i;
    }
  }
  return false;
}

bool ReadData(const std::string& line, size_t pos, RegistryValue* value) {
  SkipBlanks(line, &pos);
  if (pos < line.size() && line[pos] == '"') {
    ++pos;
    value->type = kRegSz;
    value->is_text = true;
    return ReadEscaped(line, &pos, '"', &value->text);
  }
  if (line.compare(pos, 3, "str") == 0) {
    pos += 3;
    if (!ReadTypeSuffix(line, &pos, &value->type)) return false;
    if (pos >= line.size() || line[pos] != '"') return false;
    ++pos;
    value->is_text = true;
    return ReadEscaped(line, &pos, '"', &value->text);
  }
  if (line.compare(pos, 6, "dword:") == 0) {
    pos += 6;
    uint32_t number = 0;
    if (!ReadHexNumber(line, &pos, &number)) return false;
    value->type = kRegDword;
    value->bytes.clear();
    for (int n = 0; n < 4; ++n)
      value->bytes.push_back(static_cast<char>((number >> (8 * n)) & 0xFF));
    return true;
  }
  if (line.compare(pos, 3, "hex") == 0) {
    pos += 3;
    if (pos < line.size() && line[pos] == ':') {
      value->type = kRegBinary;
      ++pos;
    } else if (!ReadTypeSuffix(line, &pos, &value->type)) {
      return false;
    }
    return ReadHexBytes(line, pos, &value->bytes);
  }
  return false;
}

}  // namespace brantvell
