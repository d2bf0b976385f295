#include "platform/text.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace brantvell {

namespace {

// Decodes the code point at `i`, advancing `i`; malformed bytes decode as
// U+FFFD one byte at a time. Overlong forms, surrogates and numbers past
// U+10FFFF are malformed too: read as characters, "\xC1\x81" would pass for
// "A" and slip past every comparison made on the bytes.
char32_t DecodeAt(const std::string& s, size_t* i) {
  auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
  unsigned char c = byte(*i);
  if (c < 0x80) {
    ++*i;
    return c;
  }
  size_t len = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
  if (len == 0 || *i + len > s.size()) {
    ++*i;
    return 0xFFFD;
  }
  char32_t cp = len == 1 ? c : len == 2 ? (c & 0x1F) : len == 3 ? (c & 0x0F) : (c & 0x07);
  for (size_t k = 1; k < len; ++k) {
    if ((byte(*i + k) & 0xC0) != 0x80) {
      ++*i;
      return 0xFFFD;
    }
    cp = (cp << 6) | (byte(*i + k) & 0x3F);
  }
  static const char32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < kShortest[len] || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) {
    ++*i;
    return 0xFFFD;
  }
  *i += len;
  return cp;
}

// Latin Extended-A pairs letters as (upper, lower) with the upper letter on
// even code points in some runs and on odd ones in others.
bool UpperOnEven(char32_t cp) {
  return (cp >= 0x100 && cp <= 0x137) || (cp >= 0x14A && cp <= 0x177);
}
bool UpperOnOdd(char32_t cp) {
  return (cp >= 0x139 && cp <= 0x148) || (cp >= 0x179 && cp <= 0x17E);
}

char32_t LowerOf(char32_t cp) {
  if (cp >= 'A' && cp <= 'Z') return cp + 32;
  if (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7) return cp + 32;
  if (cp == 0x178) return 0xFF;
  if (cp == 0x130) return cp;  // dotted capital I has no single-letter lower case here
  if (UpperOnEven(cp) && cp % 2 == 0) return cp + 1;
  if (UpperOnOdd(cp) && cp % 2 == 1) return cp + 1;
  return cp;
}

char32_t UpperOf(char32_t cp) {
  if (cp >= 'a' && cp <= 'z') return cp - 32;
  if (cp >= 0xE0 && cp <= 0xFE && cp != 0xF7) return cp - 32;
  if (cp == 0xFF) return 0x178;
  if (cp == 0x131) return cp;
  if (UpperOnEven(cp) && cp % 2 == 1) return cp - 1;
  if (UpperOnOdd(cp) && cp % 2 == 0) return cp - 1;
  return cp;
}

template <typename F>
std::string MapChars(const std::string& text, F map) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      out.push_back(static_cast<char>(map(c)));
      ++i;
      continue;
    }
    size_t start = i;
    char32_t cp = DecodeAt(text, &i);
    char32_t mapped = map(cp);
    if (mapped == cp)
      out.append(text, start, i - start);  // keep the original bytes, even malformed ones
    else
      AppendUtf8(mapped, &out);
  }
  return out;
}

// Steps over one character. Most texts are ASCII, and the log counts every
// record's characters, so a plain byte costs no call.
inline void SkipChar(const std::string& text, size_t* i) {
  if (static_cast<unsigned char>(text[*i]) < 0x80)
    ++*i;
  else
    DecodeAt(text, i);
}

}  // namespace

size_t CharEnd(const std::string& text, size_t at) {
  SkipChar(text, &at);
  return at;
}

namespace {

constexpr uint64_t kHighs = 0x8080808080808080ULL;

uint64_t Word(const std::string& text, size_t at) {
  uint64_t word;
  std::memcpy(&word, text.data() + at, sizeof word);
  return word;
}

}  // namespace

size_t FindLastByte(const std::string& text, char byte) {
  // The text may be a whole command line: the C library's search where it
  // has one, else eight bytes at a time.
#if defined(__GLIBC__)
  const void* hit = ::memrchr(text.data(), byte, text.size());
  return hit == nullptr ? std::string::npos
                        : static_cast<size_t>(static_cast<const char*>(hit) - text.data());
#else
  constexpr uint64_t kOnes = 0x0101010101010101ULL;
  const uint64_t pattern = kOnes * static_cast<unsigned char>(byte);
  size_t end = text.size();
  for (; end >= 8; end -= 8) {
    const uint64_t x = Word(text, end - 8) ^ pattern;
    if (((x - kOnes) & ~x & kHighs) != 0) break;  // one of these eight is `byte`
  }
  for (; end > 0; --end)
    if (text[end - 1] == byte) return end - 1;
  return std::string::npos;
#endif
}

bool IsValidUtf8(const std::string& text) {
  for (size_t i = 0; i < text.size();) {
    // Runs of ASCII sixteen bytes at a time.
    while (i + 16 <= text.size() && ((Word(text, i) | Word(text, i + 8)) & kHighs) == 0) i += 16;
    if (i >= text.size()) break;
    const size_t at = i;
    if (DecodeAt(text, &i) == 0xFFFD && text.compare(at, 3, "\xEF\xBF\xBD") != 0) return false;
  }
  return true;
}

namespace {

// Whether the character at `i` is a control character other than TAB, LF
// and CR: C0, DEL, or C1 (U+0080 to U+009F, 0xC2 0x80 to 0xC2 0x9F).
bool IsControlAt(const std::string& text, size_t i) {
  const unsigned char c = static_cast<unsigned char>(text[i]);
  if (c >= 0x20 && c != 0x7F && c != 0xC2) return false;
  if (c == 0xC2) {
    return i + 1 < text.size() && (static_cast<unsigned char>(text[i + 1]) & 0xE0) == 0x80;
  }
  return c == 0x7F || (c != '\t' && c != '\n' && c != '\r');
}

}  // namespace

std::string ControlsReplaced(const std::string& text) {
  // Most texts hold none: they are copied whole.
  size_t i = 0;
  for (; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if ((c < 0x20 || c == 0x7F || c == 0xC2) && IsControlAt(text, i)) break;
  }
  if (i == text.size()) return text;
  std::string out(text, 0, i);
  for (; i < text.size(); ++i) {
    if (IsControlAt(text, i)) {
      out += "\xEF\xBF\xBD";
      if (text[i] == '\xC2') ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

size_t CharCount(const std::string& text) {
  size_t n = 0;
  for (size_t i = 0; i < text.size(); ++n) SkipChar(text, &i);
  return n;
}

std::string CharSubstr(const std::string& text, size_t first, size_t count) {
  size_t i = 0;
  for (size_t n = 0; n < first && i < text.size(); ++n) SkipChar(text, &i);
  size_t begin = i;
  for (size_t n = 0; n < count && i < text.size(); ++n) SkipChar(text, &i);
  return text.substr(begin, i - begin);
}

std::vector<std::string> SplitChars(const std::string& text) {
  std::vector<std::string> chars;
  for (size_t i = 0; i < text.size();) {
    size_t start = i;
    DecodeAt(text, &i);
    chars.push_back(text.substr(start, i - start));
  }
  return chars;
}

std::string ToLower(const std::string& text) { return MapChars(text, LowerOf); }
std::string ToUpper(const std::string& text) { return MapChars(text, UpperOf); }

bool EqualsNoCase(const std::string& a, const std::string& b) {
  // ASCII texts, most of those compared, need no lowered copies: up to the
  // first byte beyond ASCII both lowered texts are the bytes lowered, and
  // ASCII texts of different lengths never match.
  const size_t common = std::min(a.size(), b.size());
  size_t i = 0;
  for (; i < common; ++i) {
    const unsigned char x = static_cast<unsigned char>(a[i]);
    const unsigned char y = static_cast<unsigned char>(b[i]);
    if ((x | y) & 0x80) break;
    if (x == y) continue;
    const unsigned char lower = x | 0x20;
    if (lower != (y | 0x20) || lower < 'a' || lower > 'z') return false;
  }
  if (i == common) {
    const std::string& longer = a.size() > b.size() ? a : b;
    size_t rest = common;
    while (rest < longer.size() && !(static_cast<unsigned char>(longer[rest]) & 0x80)) ++rest;
    if (rest == longer.size()) return a.size() == b.size();
  }
  return ToLower(a) == ToLower(b);
}

std::string TrimSpaces(const std::string& text) {
  size_t begin = text.find_first_not_of(' ');
  if (begin == std::string::npos) return std::string();
  size_t end = text.find_last_not_of(' ');
  return text.substr(begin, end - begin + 1);
}

void AppendPadded(long long value, int width, std::string* out) {
  // The magnitude as unsigned, so the smallest long long has one too.
  unsigned long long magnitude = value < 0 ? 0ULL - static_cast<unsigned long long>(value)
                                           : static_cast<unsigned long long>(value);
  char digits[20];
  int n = 0;
  do {
    digits[n++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (value < 0) {
    out->push_back('-');
    --width;
  }
  if (width > n) out->append(static_cast<size_t>(width - n), '0');
  while (n > 0) out->push_back(digits[--n]);
}

void AppendUtf8(char32_t cp, std::string* out) {
  if (cp < 0x80) {
    out->push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

std::u16string Utf8ToUtf16(const std::string& text) {
  std::u16string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    char32_t cp = DecodeAt(text, &i);
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
  }
  return out;
}

std::string Utf16ToUtf8(const std::u16string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t cp = text[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = 0xFFFD;
    }
    AppendUtf8(cp, &out);
  }
  return out;
}

}  // namespace brantvell
