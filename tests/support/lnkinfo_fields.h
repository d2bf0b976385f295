// Shell links read back by an independent reader, lnkinfo (liblnk-utils),
// for the POSIX tests that check what the link writer puts in a file.
#ifndef BRANTVELL_TESTS_SUPPORT_LNKINFO_FIELDS_H_
#define BRANTVELL_TESTS_SUPPORT_LNKINFO_FIELDS_H_

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>

#include "platform/text.h"

namespace brantvell {

// Whether lnkinfo is on the PATH; the tests that need it skip without it.
inline bool LnkinfoInstalled() { return std::system("command -v lnkinfo >/dev/null 2>&1") == 0; }

// Runs lnkinfo on `file`, appending what it prints (with its error output)
// to `output`; false when it cannot be run or fails.
inline bool RunLnkinfo(const std::filesystem::path& file, std::string* output) {
  std::string command = "lnkinfo '" + file.string() + "' 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return false;
  char buffer[4096];
  while (size_t n = fread(buffer, 1, sizeof buffer, pipe)) output->append(buffer, n);
  return pclose(pipe) == 0;
}

// Whether this lnkinfo prints every backslash doubled (C:\\a\\b), as some
// releases do. Its report of a link whose target is known tells:
// scripts/lnkinfo-reference.lnk points at C:\Veldramona\Loader.exe (the
// tests are told the source folder in BRANTVELL_SOURCE_DIR).
inline bool LnkinfoEscapesBackslashes() {
  static const bool escapes = [] {
    const char* source = std::getenv("BRANTVELL_SOURCE_DIR");
    std::string report;
    if (source != nullptr) {
      RunLnkinfo(std::filesystem::path(source) / "scripts" / "lnkinfo-reference.lnk", &report);
    }
    return report.find("C:\\\\Veldramona\\\\Loader.exe") != std::string::npos;
  }();
  return escapes;
}

// Whether an escaping lnkinfo doubles the backslashes of this field: it
// does in paths and arguments, and prints the description as it is.
inline bool LnkinfoDoublesBackslashes(const std::string& name) { return name != "Description"; }

// A value of an escaping lnkinfo as the link holds it: "\\U" with eight
// hexadecimal digits (or "\\u" with four) is a character it does not print
// as it is, such as a Unicode noncharacter, and where backslashes are
// doubled (`doubled`) "\\\\" is one backslash.
inline std::string LnkinfoUnescape(const std::string& value, bool doubled) {
  std::string out;
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\' || i + 1 >= value.size()) {
      out += value[i];
      continue;
    }
    char kind = value[i + 1];
    size_t digits = kind == 'U' ? 8 : kind == 'u' ? 4 : 0;
    if (digits != 0 && i + 2 + digits <= value.size()) {
      uint32_t code = static_cast<uint32_t>(std::stoul(value.substr(i + 2, digits), nullptr, 16));
      AppendUtf8(code, &out);
      i += 1 + digits;
      continue;
    }
    if (doubled && kind == '\\') ++i;  // "\\\\": the backslash itself
    out += value[i];
  }
  return out;
}

// The fields lnkinfo prints ("<tab>Name<tabs>: value"), by name, with paths
// as the link holds them. A name printed again further down keeps its first
// value: the link's own fields come first, in the "Link information" block.
inline std::map<std::string, std::string> LnkinfoFields(const std::string& output) {
  const bool escaped = LnkinfoEscapesBackslashes();
  std::map<std::string, std::string> fields;
  std::istringstream lines(output);
  std::string line;
  while (std::getline(lines, line)) {
    size_t colon = line.find(": ");
    if (colon == std::string::npos) continue;
    size_t begin = line.find_first_not_of('\t');
    size_t end = line.find_last_not_of("\t ", colon - 1);
    if (begin == std::string::npos || end == std::string::npos || end < begin) continue;
    std::string value = line.substr(colon + 2);
    std::string name = line.substr(begin, end - begin + 1);
    if (escaped) value = LnkinfoUnescape(value, LnkinfoDoublesBackslashes(name));
    fields.emplace(name, value);
  }
  return fields;
}

}  // namespace brantvell

#endif  // BRANTVELL_TESTS_SUPPORT_LNKINFO_FIELDS_H_
