#include "platform/profile_text.h"

#include "platform/text.h"

namespace brantvell {

namespace {

// The profile reader's buffer holds 1024 characters with the final zero.
constexpr size_t kMaxValueChars = 1023;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string TrimBlanks(const std::string& text, size_t begin, size_t end) {
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

std::string Unquote(const std::string& value) {
  if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0]) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

}  // namespace

std::string ProfileValue(const std::string& ini_text, const std::string& section,
                         const std::string& key) {
  size_t pos = ini_text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  // Keys above the first section header belong to the section without name.
  bool in_section = section.empty();
  while (pos < ini_text.size()) {
    size_t end = ini_text.find('\n', pos);
    if (end == std::string::npos) end = ini_text.size();
    std::string line = TrimBlanks(ini_text, pos, end);
    pos = end + 1;

    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      // Only the first section of the name counts.
      if (in_section) return std::string();
      size_t close = line.rfind(']');
      if (close == std::string::npos || close == 0) close = line.size();
      in_section = EqualsNoCase(TrimBlanks(line, 1, close), section);
      continue;
    }
    if (!in_section) continue;

    size_t equals = line.find('=');
    std::string name = TrimBlanks(line, 0, equals == std::string::npos ? line.size() : equals);
    if (!EqualsNoCase(name, key)) continue;
    if (equals == std::string::npos) return std::string();
    std::string value = Unquote(TrimBlanks(line, equals + 1, line.size()));
    return CharSubstr(value, 0, kMaxValueChars);
  }
  return std::string();
}

}  // namespace brantvell
