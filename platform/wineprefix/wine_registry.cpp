#include "platform/wineprefix/wine_registry.h"

#include "platform/wineprefix/wineprefix.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
  // Wine ends a header with its bracket and a time: the last "]" is the
  // one to try first.
  const void* found = ::memrchr(line.data(), ']', line.size());
  size_t last =
      found == nullptr ? 0 : static_cast<size_t>(static_cast<const char*>(found) - line.data());
  if (last >= 1) {
    size_t run = 0;
    while (last - run > 1 && line[last - run - 1] == '\\') ++run;
    if (run % 2 == 0) return true;
  }
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

// Whether the data after "=" is hex data, the only kind that the file
// continues over several lines (a backslash at the end of the line).
bool IsHexData(const std::string& line, size_t pos) {
  SkipBlanks(line, &pos);
  return line.compare(pos, 3, "hex") == 0;
}

// The line ends of a piece, in order. A booted prefix's registry is a
// hundred thousand short lines: they are found 64 bytes at a time, as a
// mask of their places, which costs less than a search started afresh for
// each line.
class LineEnds {
 public:
  explicit LineEnds(std::string_view text) : text_(text) {}

  // Where the next "\n" is; npos when there is none.
  size_t Next() {
    while (bits_ == 0) {
      block_ = started_ ? block_ + 64 : 0;
      started_ = true;
      if (block_ >= text_.size()) return std::string_view::npos;
      bits_ = Mask(text_.data() + block_, std::min<size_t>(64, text_.size() - block_));
    }
    size_t at = block_ + static_cast<size_t>(__builtin_ctzll(bits_));
    bits_ &= bits_ - 1;
    return at;
  }

 private:
  // Bit i is set when at[i] is a "\n".
  static uint64_t Mask(const char* at, size_t count) {
#if defined(__SSE2__)
    if (count == 64) {
      const __m128i newline = _mm_set1_epi8('\n');
      auto part = [&](int n) {
        __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + 16 * n));
        return uint64_t{static_cast<uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, newline)))}
               << (16 * n);
      };
      return part(0) | part(1) | part(2) | part(3);
    }
#endif
    uint64_t bits = 0;
    for (size_t i = 0; i < count; ++i)
      if (at[i] == '\n') bits |= uint64_t{1} << i;
    return bits;
  }

  std::string_view text_;
  size_t block_ = 0;
  bool started_ = false;
  uint64_t bits_ = 0;
};

// Whether Line does nothing at all with `line` outside the keys kept when
// no value goes on from the line before; `in_key` is whether the lines are
// under a header read well. Told by the first and last characters.
inline bool NothingToDo(std::string_view line, bool in_key) {
  const size_t size = line.size();
  if (size == 0) return true;
  const char last = line[size - 1];
  if (last == '\r') return false;  // left to Line, which drops it first
  switch (line[0]) {
    case '"':
    case '@':
      // Under a key read well, a value ending in a backslash (or in blanks
      // that may hide one) may go on over the next lines.
      return !in_key || (last != '\\' && !IsBlank(last));
    case '#':
      return size < 2 || line[1] != 'a';  // "#arch=" is read
    case '[':
    case ' ':
    case '\t':
      return false;
    default:
      return true;
  }
}

// Whether an escape "\c" in a header stands for the character c itself
// and no other: the backslash and the brackets.
bool EscapesItself(char c) { return c == '\\' || c == '[' || c == ']'; }

// 8 bytes of `text` from `at`, the capital ASCII letters made small.
uint64_t LowerWord(const char* at) {
  uint64_t word;
  std::memcpy(&word, at, 8);
  const uint64_t ones = 0x0101010101010101u;
  const uint64_t low = word & (ones * 0x7F);  // no carry crosses a byte below
  // The high bit of a byte is set where it is from 'A' to 'Z'.
  const uint64_t capital =
      ((low + ones * (0x80 - 'A')) ^ (low + ones * (0x80 - 'Z' - 1))) & ~word & (ones * 0x80);
  return word | (capital >> 2);
}

// How far the header `line`, from `k` past its "[", agrees with `raw`
// byte for byte, its capital letters made small: 8 bytes at a time.
size_t AgreeingFrom(std::string_view line, const std::string& raw, size_t k) {
  const char* header = line.data() + 1;
  const size_t end = std::min(raw.size(), line.size() - 1);
  while (k + 8 <= end) {
    uint64_t expected;
    std::memcpy(&expected, raw.data() + k, 8);
    uint64_t differ = LowerWord(header + k) ^ expected;
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    if (differ != 0) return k + static_cast<size_t>(__builtin_ctzll(differ)) / 8;
#else
    if (differ != 0) break;
#endif
    k += 8;
  }
  while (k < end && LowerAscii(header[k]) == raw[k]) ++k;
  return k;
}

}  // namespace

// What the header `line` holds where it first differs from the raw form
// of a key asked for, at `k` past its "[": 1 when that is the bracket just
// after the whole key (the header names it), 0 when the header names
// another key or none, -1 when only decoding the header can tell (an
// escape of another kind, a byte that is not ASCII).
int RegistryReader::MatchAt(std::string_view line, const WantedKeyForm& want, size_t k) {
  const std::string& raw = want.raw;
  const char* header = line.data() + 1;  // the key's raw form starts after "["
  const size_t length = line.size() - 1;
  if (k >= length) return 0;  // the header ends before its bracket: no key
  const char c = header[k];
  const bool ascii = static_cast<unsigned char>(c) < 0x80;
  const bool next_escapes_itself = k + 1 < length && EscapesItself(header[k + 1]);
  if (k == raw.size()) {
    // All of the key matched: the bracket must come now. Anything else
    // but a backslash whose escape is unknown makes the key longer.
    if (c == ']') return 1;
    if (c == '\\') return next_escapes_itself ? 0 : -1;
    return ascii ? 0 : -1;
  }
  if (want.second[k]) {
    // Both have a backslash just before: the escapes differ.
    return EscapesItself(c) ? 0 : -1;
  }
  if (raw[k] == '\\') {
    // The key has an escaped character here; a bare "[" is that character
    // too, and only decoding the rest can tell.
    if (c == '[' && raw[k + 1] == '[') return -1;
    return ascii ? 0 : -1;
  }
  if (c == '\\') return next_escapes_itself ? 0 : -1;
  return ascii ? 0 : -1;
}

RegistryReader::RegistryReader() : keep_all_(true) {}

RegistryReader::RegistryReader(const std::vector<std::string>& keys) : keep_all_(false) {
  for (const std::string& key : keys) {
    WantedKeyForm form;
    form.key = ToLower(key);
    form.raw = PlainRawKey(form.key);
    if (form.raw.empty()) plain_ = false;
    form.second.assign(form.raw.size(), 0);
    for (size_t k = 0; k < form.raw.size(); ++k)
      if (form.raw[k] == '\\') form.second[++k] = 1;
    wanted_.push_back(std::move(form));
  }
  // In order, each key's raw form shares a known start with the one before:
  // a header is compared byte by byte only past what it shares with both.
  std::sort(wanted_.begin(), wanted_.end(),
            [](const WantedKeyForm& a, const WantedKeyForm& b) { return a.raw < b.raw; });
  for (size_t n = 1; n < wanted_.size(); ++n) {
    const std::string& a = wanted_[n - 1].raw;
    const std::string& b = wanted_[n].raw;
    size_t shared = 0;
    while (shared < a.size() && shared < b.size() && a[shared] == b[shared]) ++shared;
    wanted_[n].shared = shared;
  }
}

// A line of a value not kept that goes on over lines: only the joined
// line's end counts, which is this line's last two characters when they are
// no blanks. False when Line must read it.
bool RegistryReader::PassedOverContinued(std::string_view line) {
  if (current_ != nullptr || !continuing_ || !dropping_) return false;
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  const size_t size = line.size();
  if (size < 2 || IsBlank(line[size - 1]) || IsBlank(line[size - 2])) return false;
  tail_[0] = line[size - 2];
  tail_[1] = line[size - 1];
  if (tail_[1] != '\\') continuing_ = false;
  return true;
}

void RegistryReader::Feed(std::string_view piece) {
  LineEnds ends(piece);
  size_t start = 0;
  for (size_t end = ends.Next(); end != std::string_view::npos; end = ends.Next()) {
    std::string_view line(piece.data() + start, end - start);
    start = end + 1;
    if (!partial_.empty() || overlong_) {
      EndKept(line);
      continue;
    }
    if (current_ == nullptr && !continuing_) {
      // Outside the keys kept nearly every line is passed over, and none
      // of those changes how the next is read: they go by in a loop of
      // their own.
      const bool in_key = in_key_;
      while (NothingToDo(line, in_key)) {
        end = ends.Next();
        if (end == std::string_view::npos) break;
        line = std::string_view(piece.data() + start, end - start);
        start = end + 1;
      }
      if (end == std::string_view::npos) break;
      Line(line);
    } else if (!PassedOverContinued(line)) {
      Line(line);
    }
  }
  if (start < piece.size()) Keep(piece.substr(start));
}

void RegistryReader::EndKept(std::string_view rest) {
  Keep(rest);
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

void RegistryReader::Keep(std::string_view part) {
  if (overlong_) return;
  if (partial_.size() + part.size() > kMaxRegistryLine) {
    // Only the start is kept, to tell a header.
    partial_.append(part.substr(0, kMaxRegistryLine - partial_.size()));
    overlong_ = true;
    return;
  }
  partial_.append(part);
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
  if (!keep_all_ && plain_) {
    // How far the header agrees with the key before, and so with this one
    // up to what the two share.
    // Where it agrees less with this key than the one before did, what
    // follows is the same for both.
    size_t agree = 0;
    int match = 0;
    for (size_t n = 0; n < wanted_.size(); ++n) {
      const WantedKeyForm& want = wanted_[n];
      if (n > 0 && want.shared > agree) continue;
      if (n == 0 || want.shared == agree) {
        agree = AgreeingFrom(line, want.raw, agree);
      } else {
        agree = want.shared;
      }
      // Mostly the header has another plain letter where it first differs.
      const char c = agree + 1 < line.size() ? line[agree + 1] : ']';
      if (agree < want.raw.size() && want.raw[agree] != '\\' && !want.second[agree] && c != '\\' &&
          c != '[' && static_cast<unsigned char>(c) < 0x80) {
        match = 0;
        continue;
      }
      match = MatchAt(line, want, agree);
      if (match == 1) {
        *key = want.key;
        *closes = true;
        return true;
      }
      if (match < 0) return DecodedKeyWanted(line, key, closes);
    }
    *closes = HeaderCloses(line);
    return false;
  }
  return DecodedKeyWanted(line, key, closes);
}

bool RegistryReader::DecodedKeyWanted(std::string_view line, std::string* key, bool* closes) const {
  std::string text(line);
  size_t pos = 1;
  *closes = ReadEscaped(text, &pos, ']', key);
  if (!*closes) return false;
  *key = ToLower(*key);
  if (keep_all_) return true;
  for (const WantedKeyForm& want : wanted_)
    if (*key == want.key) return true;
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
