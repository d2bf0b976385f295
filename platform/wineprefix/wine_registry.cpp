#include "platform/wineprefix/wine_registry.h"

#include "platform/wineprefix/wineprefix.h"

#include <cstddef>
#include <cstring>

#include "platform/text.h"
#include "platform/wineprefix/registry_data.h"

namespace brantvell {

namespace {

std::string_view TrimBlanks(std::string_view s) {
  size_t begin = 0;
  while (begin < s.size() && IsBlank(s[begin])) ++begin;
  size_t end = s.size();
  while (end > begin && IsBlank(s[end - 1])) --end;
  return s.substr(begin, end - begin);
}

// Whether a header line "[...]" has its closing bracket: the first "]" not
// escaped by an odd run of backslashes (an escape's own digits are never
// brackets or backslashes).
bool HeaderCloses(std::string_view line) {
  for (size_t at = line.find(']', 1); at != std::string_view::npos; at = line.find(']', at + 1)) {
    size_t run = 0;
    while (at - run > 1 && line[at - run - 1] == '\\') ++run;
    if (run % 2 == 0) return true;
  }
  return false;
}

// A key path as the file writes it when that is plain ASCII: backslashes
// and brackets escaped by a backslash, lower case; "" when some character
// would be written otherwise.
std::string PlainRawKey(const std::string& key) {
  std::string raw;
  for (char c : key) {
    unsigned char u = static_cast<unsigned char>(c);
    if (u < 0x20 || u >= 0x7F) return std::string();
    if (c == '\\' || c == '[' || c == ']') raw.push_back('\\');
    raw.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
  }
  return raw;
}

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Whether the header `line` is in the plain form: it closes, and its only
// escapes are a backslash or bracket after a backslash. `close` is where
// its "]" is, `escapes` how many escapes come before.
bool PlainHeader(std::string_view line, size_t* close, size_t* escapes) {
  *escapes = 0;
  size_t end = line.find(']', 1);
  size_t at = 1;
  while (end != std::string_view::npos) {
    const void* found = std::memchr(line.data() + at, '\\', end - at);
    if (found == nullptr) {
      *close = end;
      return true;
    }
    size_t slash = static_cast<size_t>(static_cast<const char*>(found) - line.data());
    char e = line[slash + 1];  // there is one: the "]" at `end` at least
    if (e != '\\' && e != '[' && e != ']') return false;
    ++*escapes;
    at = slash + 2;
    if (slash + 1 == end) end = line.find(']', at);
  }
  return false;
}

// Compares the header `line` with a key's plain raw form: 1 when it names
// that key, 0 when it does not, -1 when only decoding the header can tell
// (an escape other than the plain ones, or a non-ASCII byte).
int CompareRawHeader(std::string_view line, const std::string& raw) {
  size_t i = 1;
  size_t k = 0;
  while (k < raw.size()) {
    if (i >= line.size()) return 0;
    char c = line[i];
    if (raw[k] == '\\') {  // an escaped character of the key
      if (c != '\\') return 0;
      if (i + 1 >= line.size()) return 0;
      if (line[i + 1] != raw[k + 1]) return -1;
      i += 2;
      k += 2;
      continue;
    }
    if (c == '\\' || static_cast<unsigned char>(c) >= 0x80) return -1;
    if (LowerAscii(c) != raw[k]) return 0;
    ++i;
    ++k;
  }
  return i < line.size() && line[i] == ']' ? 1 : 0;
}

// Whether the data after "=" is hex data, the only kind that the file
// continues over several lines (a backslash at the end of the line).
bool IsHexData(const std::string& line, size_t pos) {
  SkipBlanks(line, &pos);
  return line.compare(pos, 3, "hex") == 0;
}

}  // namespace

RegistryReader::RegistryReader() : keep_all_(true) {}

RegistryReader::RegistryReader(const std::vector<std::string>& keys) : keep_all_(false) {
  for (const std::string& key : keys) {
    wanted_.push_back(ToLower(key));
    wanted_raw_.push_back(PlainRawKey(wanted_.back()));
  }
}

void RegistryReader::Feed(std::string_view piece) {
  while (!piece.empty()) {
    size_t end = piece.find('\n');
    std::string_view part = piece.substr(0, end);
    if (end != std::string_view::npos && partial_.empty() && !overlong_) {
      Line(part);  // the common case: a whole line within the piece
    } else {
      if (!overlong_ && partial_.size() + part.size() > kMaxRegistryLine) {
        // Only the start is kept, to tell a header.
        partial_.append(part.substr(0, kMaxRegistryLine - partial_.size()));
        overlong_ = true;
      }
      if (!overlong_) partial_.append(part);
      if (end == std::string_view::npos) return;
      if (!overlong_) {
        Line(partial_);
      } else if (continuing_) {
        // A continued value of that length is not kept.
        continuing_ = false;
      } else if (!TrimBlanks(partial_).empty() && TrimBlanks(partial_)[0] == '[') {
        // A header that cannot be read: its values belong to no key.
        current_ = nullptr;
        in_key_ = false;
      }
      partial_.clear();
      overlong_ = false;
    }
    piece.remove_prefix(end + 1);
  }
}

WineRegistry RegistryReader::Finish() {
  if (!partial_.empty() && !overlong_) Line(partial_);
  partial_.clear();
  if (continuing_ && !dropping_) {
    RegistryValue value;
    if (ReadData(joined_, data_pos_, &value)) (*current_)[name_] = std::move(value);
  }
  continuing_ = false;
  return std::move(registry_);
}

void RegistryReader::Line(std::string_view raw) {
  if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
  if (continuing_) {
    Continue(TrimBlanks(raw));
    return;
  }
  // Most lines are values of keys not kept: told by their first and last
  // characters without trimming them.
  if (raw.empty()) return;
  if (IsBlank(raw[0])) {
    raw = TrimBlanks(raw);
    if (raw.empty()) return;
  }
  switch (raw[0]) {
    case '[':
      Header(TrimBlanks(raw));
      return;
    case '#':
      if (TrimBlanks(raw) == "#arch=win64") registry_.win64_ = true;
      return;
    case '"':
    case '@':
      if (!in_key_) return;
      if (current_ == nullptr) {
        size_t last = raw.size();
        while (last > 0 && IsBlank(raw[last - 1])) --last;
        if (raw[last - 1] != '\\') return;
      }
      Value(TrimBlanks(raw));
      return;
    default:
      return;
  }
}

bool RegistryReader::WantedKey(std::string_view line, std::string* key, bool* closes) const {
  bool decode = keep_all_;
  *closes = false;
  if (!decode) {
    // Most headers are told apart by length alone: in the plain form Wine
    // writes, a key's length is the header's less one per escape.
    size_t close = 0, escapes = 0;
    bool plain = PlainHeader(line, &close, &escapes);
    *closes = plain;
    for (size_t n = 0; n < wanted_.size() && !decode; ++n) {
      if (wanted_raw_[n].empty() || !plain) {
        decode = true;
      } else if (close - 1 - escapes == wanted_[n].size() &&
                 CompareRawHeader(line, wanted_raw_[n]) == 1) {
        *key = wanted_[n];
        return true;
      }
    }
    if (!decode && !plain) *closes = HeaderCloses(line);
  }
  if (!decode) return false;
  std::string text(line);
  size_t pos = 1;
  *closes = ReadEscaped(text, &pos, ']', key);
  if (!*closes) return false;
  *key = ToLower(*key);
  if (keep_all_) return true;
  for (const std::string& wanted : wanted_)
    if (*key == wanted) return true;
  return false;
}

void RegistryReader::Header(std::string_view line) {
  std::string key;
  bool closes = false;
  current_ = WantedKey(line, &key, &closes) ? &registry_.keys_[key] : nullptr;
  // A key not kept still decides how the lines below it are read.
  in_key_ = closes;
}
// Where the quoted name that starts `line` ends: past the first quotation
// mark not escaped by an odd run of backslashes; npos when none is.
size_t QuotedEnd(std::string_view line) {
  for (size_t at = line.find('"', 1); at != std::string_view::npos; at = line.find('"', at + 1)) {
    size_t run = 0;
    while (at - run > 1 && line[at - run - 1] == '\\') ++run;
    if (run % 2 == 0) return at + 1;
  }
  return std::string_view::npos;
}

void RegistryReader::Value(std::string_view view) {
  if (current_ == nullptr) {
    // A value of a key not kept matters only when it continues onto the
    // next lines; its name need not be read.
    if (view.back() != '\\') return;
    size_t pos = view[0] == '"' ? QuotedEnd(view) : 1;
    while (pos < view.size() && IsBlank(view[pos])) ++pos;
    if (pos >= view.size() || view[pos] != '=') return;
    ++pos;
    while (pos < view.size() && IsBlank(view[pos])) ++pos;
    if (view.compare(pos, 3, "hex") != 0) return;
    continuing_ = true;
    dropping_ = true;
    tail_[0] = view.size() > 1 ? view[view.size() - 2] : 0;
    tail_[1] = '\\';
    return;
  }
  std::string line(view);
  std::string name;
  size_t pos = 1;
  if (line[0] == '"' && !ReadEscaped(line, &pos, '"', &name)) return;
  SkipBlanks(line, &pos);
  if (pos >= line.size() || line[pos] != '=') return;
  ++pos;
  if (IsHexData(line, pos) && line.back() == '\\') {
    continuing_ = true;
    dropping_ = current_ == nullptr;
    tail_[0] = line.size() > 1 ? line[line.size() - 2] : 0;
    tail_[1] = '\\';
    if (!dropping_) {
      joined_ = std::move(line);
      name_ = ToLower(name);
      data_pos_ = pos;
    }
    return;
  }
  if (current_ == nullptr) return;
  RegistryValue value;
  if (ReadData(line, pos, &value)) (*current_)[ToLower(name)] = std::move(value);
}

void RegistryReader::Continue(std::string_view line) {
  if (!dropping_) {
    joined_.pop_back();
    joined_.append(line);
    if (joined_.size() <= kMaxRegistryLine) {
      if (!joined_.empty() && joined_.back() == '\\') return;
      continuing_ = false;
      RegistryValue value;
      if (ReadData(joined_, data_pos_, &value)) (*current_)[name_] = std::move(value);
      joined_.clear();
      return;
    }
    // Too long to keep: only its end is looked for from here on.
    dropping_ = true;
    tail_[0] = joined_.size() > 1 ? joined_[joined_.size() - 2] : 0;
    tail_[1] = joined_.back();
    joined_.clear();
    joined_.shrink_to_fit();
    if (tail_[1] != '\\') continuing_ = false;
    return;
  }
  // The joined line loses its last backslash and gains `line`.
  char before = tail_[0];
  if (line.size() >= 2) {
    tail_[0] = line[line.size() - 2];
    tail_[1] = line.back();
  } else if (line.size() == 1) {
    tail_[0] = before;
    tail_[1] = line[0];
  } else {
    tail_[0] = 0;
    tail_[1] = before;
  }
  if (tail_[1] != '\\') continuing_ = false;
}

WineRegistry WineRegistry::Parse(const std::string& text) {
  RegistryReader reader;
  reader.Feed(text);
  return reader.Finish();
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
