#include "platform/wineprefix/wine_registry.h"

#include "platform/wineprefix/wineprefix.h"

#include <cstddef>

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

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

void SkipBlanks(const std::string& line, size_t* pos) {
  while (*pos < line.size() && IsBlank(line[*pos])) ++*pos;
}

// Reads an escaped string from `line` at `*pos` up to the unescaped
// character `close`, which is consumed. The file escapes control characters
// C-style, other characters as \xHHHH (one UTF-16 unit) or in octal, and
// the delimiters and the backslash by a backslash. False when `close` never
// comes.
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

// The data after "name=": a quoted string, str(N):, dword: or hex data.
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

// Splits the text into lines without their CR LF / LF ends.
std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    size_t stop = end;
    if (stop > start && text[stop - 1] == '\r') --stop;
    lines.push_back(text.substr(start, stop - start));
    start = end + 1;
  }
  return lines;
}

std::string TrimBlanks(const std::string& s) {
  size_t begin = 0;
  while (begin < s.size() && IsBlank(s[begin])) ++begin;
  size_t end = s.size();
  while (end > begin && IsBlank(s[end - 1])) --end;
  return s.substr(begin, end - begin);
}

// Whether the data after "=" is hex data, the only kind that the file
// continues over several lines (a backslash at the end of the line).
bool IsHexData(const std::string& line, size_t pos) {
  SkipBlanks(line, &pos);
  return line.compare(pos, 3, "hex") == 0;
}

}  // namespace

WineRegistry WineRegistry::Parse(const std::string& text) {
  WineRegistry registry;
  std::vector<std::string> lines = SplitLines(text);
  std::map<std::string, RegistryValue>* current = nullptr;
  for (size_t n = 0; n < lines.size(); ++n) {
    std::string line = TrimBlanks(lines[n]);
    if (line.empty()) continue;
    if (line[0] == '#') {
      if (line == "#arch=win64") registry.win64_ = true;
      continue;
    }
    if (line[0] == '[') {
      size_t pos = 1;
      std::string key;
      current = nullptr;
      if (ReadEscaped(line, &pos, ']', &key)) current = &registry.keys_[ToLower(key)];
      continue;
    }
    if (current == nullptr || (line[0] != '"' && line[0] != '@')) continue;

    std::string name;
    size_t pos = 1;
    if (line[0] == '"' && !ReadEscaped(line, &pos, '"', &name)) continue;
    SkipBlanks(line, &pos);
    if (pos >= line.size() || line[pos] != '=') continue;
    ++pos;
    if (IsHexData(line, pos)) {
      while (!line.empty() && line.back() == '\\' && n + 1 < lines.size()) {
        line.pop_back();
        line += TrimBlanks(lines[++n]);
      }
    }
    RegistryValue value;
    if (ReadData(line, pos, &value)) (*current)[ToLower(name)] = std::move(value);
  }
  return registry;
}

const RegistryValue* WineRegistry::Find(const std::string& key, const std::string& name) const {
  auto k = keys_.find(ToLower(key));
  if (k == keys_.end()) return nullptr;
  auto v = k->second.find(ToLower(name));
  return v == k->second.end() ? nullptr : &v->second;
}

const RegistryValue* WineRegistry::FindAs32Bit(const std::string& key,
                                               const std::string& name) const {
  std::string lower = ToLower(key);
  bool under_software = lower == "software" || lower.compare(0, 9, "software\\") == 0;
  bool already_redirected =
      lower == "software\\wow6432node" || lower.compare(0, 21, "software\\wow6432node\\") == 0;
  if (win64_ && under_software && !already_redirected) {
    const RegistryValue* value = Find("Software\\Wow6432Node" + key.substr(8), name);
    if (value != nullptr) return value;
  }
  return Find(key, name);
}

bool WineRegistry::HasKey(const std::string& key) const { return keys_.count(ToLower(key)) != 0; }

namespace {

// UTF-16LE bytes up to the first NUL unit, as UTF-8.
std::string TextOfUtf16Bytes(const std::string& bytes) {
  std::u16string units;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    char16_t unit = static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                          (static_cast<unsigned char>(bytes[i + 1]) << 8));
    units.push_back(unit);
  }
  return Utf16ToUtf8(units);
}

// The data of a string-typed value, NULs included.
std::string RawText(const RegistryValue& value) {
  return value.is_text ? value.text : TextOfUtf16Bytes(value.bytes);
}

}  // namespace

bool RegistryValueText(const RegistryValue& value, std::string* text) {
  if (value.type != kRegSz && value.type != kRegExpandSz) return false;
  *text = RawText(value);
  size_t nul = text->find('\0');
  if (nul != std::string::npos) text->erase(nul);
  return true;
}

bool RegistryValueDword(const RegistryValue& value, uint32_t* number) {
  if (value.type != kRegDword || value.is_text || value.bytes.size() != 4) return false;
  uint32_t n = 0;
  for (int i = 3; i >= 0; --i) n = (n << 8) | static_cast<unsigned char>(value.bytes[i]);
  *number = n;
  return true;
}

bool RegistryValueStrings(const RegistryValue& value, std::vector<std::string>* strings) {
  if (value.type != kRegMultiSz) return false;
  std::string data = RawText(value);
  strings->clear();
  size_t start = 0;
  while (start < data.size()) {
    size_t end = data.find('\0', start);
    if (end == std::string::npos) end = data.size();
    if (end == start) break;  // the empty string ends the list
    strings->push_back(data.substr(start, end - start));
    start = end + 1;
  }
  return true;
}

}  // namespace brantvell
