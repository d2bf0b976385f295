#include "app/command_line.h"

#include <vector>

#include "log/cls_log.h"
#include "log/mdl_log.h"
#include "platform/error.h"
#include "platform/text.h"

namespace brantvell {

namespace {

const char kTagGetParamInfoDat[] = "[mdlMain] (GetParamInfoDat)";
const char kTagGetParamInfo[] = "[mdlMain] (GetParamInfo)";
const char kTagArgParse[] = "[mdlMain] (ArgParse)";

// Texts are handled as lists of characters so that positions and lengths
// count characters, never bytes.
using Chars = std::vector<std::string>;
constexpr size_t kNotFound = static_cast<size_t>(-1);

Chars Lowered(const Chars& chars) {
  Chars lower;
  lower.reserve(chars.size());
  for (const std::string& c : chars) lower.push_back(ToLower(c));
  return lower;
}

std::string Join(const Chars& chars, size_t first, size_t end) {
  std::string text;
  for (size_t i = first; i < end && i < chars.size(); ++i) text += chars[i];
  return text;
}

// `count` characters from index `first`. A negative count is an invalid
// call, as it is for the runtime's own string cutting.
std::string Cut(const Chars& chars, size_t first, long count) {
  if (count < 0) throw OwnError(kErrInvalidProcedureCall);
  return Join(chars, first, first + static_cast<size_t>(count));
}

// Index of the first occurrence of `needle` in `hay` at or after `from`.
size_t Find(const Chars& hay, const Chars& needle, size_t from) {
  if (needle.size() > hay.size()) return kNotFound;
  for (size_t i = from; i + needle.size() <= hay.size(); ++i) {
    bool match = true;
    for (size_t k = 0; k < needle.size() && match; ++k) match = hay[i + k] == needle[k];
    if (match) return i;
  }
  return kNotFound;
}

const char* Word(bool value) { return value ? "True" : "False"; }

// Runs one statement of a procedure whose failures are recorded and skipped.
template <typename Statement>
void RunStatement(const char* tag, Statement statement) {
  try {
    statement();
  } catch (...) {
    LogError(tag, "", "");
  }
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The length of the switch name with its "=" that starts `text` at `at`
// (any letter case); 0 when none does.
size_t SwitchNameAt(const std::string& text, size_t at) {
  for (const char* name : {"/action=", "/mode=", "/target="}) {
    const std::string word(name);
    if (text.size() - at >= word.size() && ToLower(text.substr(at, word.size())) == word) {
      return word.size();
    }
  }
  return 0;
}

}  // namespace

std::string UnquoteWholeSwitches(const std::string& command_text) {
  const std::string& text = command_text;
  std::string out;
  size_t i = 0;
  while (i < text.size()) {
    const size_t name =
        text[i] == '"' && (i == 0 || IsBlank(text[i - 1])) ? SwitchNameAt(text, i + 1) : 0;
    const size_t value_start = i + 1 + name;
    const size_t close = name ? text.find('"', value_start) : std::string::npos;
    size_t backslashes = 0;
    while (close != std::string::npos && close - backslashes > value_start &&
           text[close - backslashes - 1] == '\\') {
      ++backslashes;
    }
    // An odd run of backslashes makes the quote a literal one, and a quote
    // inside a word does not close the argument: both are left as they are.
    if (close == std::string::npos || backslashes % 2 != 0 ||
        (close + 1 < text.size() && !IsBlank(text[close + 1]))) {
      out += text[i++];
      continue;
    }
    out += text.substr(i + 1, name) + '"' +
           text.substr(value_start, close - backslashes - value_start) +
           std::string(backslashes / 2, '\\') + '"';
    i = close + 1;
  }
  return out;
}

bool ArgParse(std::string command_text, const std::string& name, std::string* value,
              std::string* rest, const std::string& separator) {
  LogEvent(kTagArgParse, "START: ", kDebugLog);
  bool result = false;
  try {
    const std::string delimiter = separator.empty() ? "/" : separator;
    const Chars text = SplitChars(command_text);
    const Chars switch_name = Lowered(SplitChars(name));
    const size_t pos = Find(Lowered(text), switch_name, 0);
    if (pos == kNotFound) {
      value->clear();
      *rest = command_text;
      result = false;
    } else {
      std::string before = Join(text, 0, pos);
      const size_t after_name = pos + switch_name.size();
      if (after_name < text.size() && text[after_name] == "=") {
        const size_t value_start = after_name + 1;
        // The search starts inside the switch name, right after its first
        // character.
        const size_t next = Find(text, SplitChars(delimiter), pos + 1);
        if (next != kNotFound) {
          *value = TrimSpaces(
              Cut(text, value_start, static_cast<long>(next) - static_cast<long>(value_start)));
          before += Join(text, next, text.size());
        } else {
          *value = TrimSpaces(Join(text, value_start, text.size()));
        }
        const Chars value_chars = SplitChars(*value);
        if (!value_chars.empty() && value_chars.front() == "\"" && value_chars.back() == "\"") {
          *value = Cut(value_chars, 1, static_cast<long>(value_chars.size()) - 2);
        }
      }
      *rest = TrimSpaces(before);
      result = true;
    }
  } catch (...) {
    result = false;
    LogError(kTagArgParse, "",
             std::to_string(CharCount(command_text)) + "\t" + name + "\t" +
                 std::to_string(CharCount(*value)) + "\t" + std::to_string(CharCount(*rest)) +
                 "\t" + separator);
  }
  LogEvent(kTagArgParse, std::string("RETURN=") + Word(result), kDebugLog);
  return result;
}

bool GetParamInfo(std::string* text, const std::string& name, ParamInfo* info) {
  RunStatement(kTagGetParamInfo, [&] {
    info->Present = 1;
    info->Value.clear();
  });
  RunStatement(kTagGetParamInfo, [&] {
    if (!ArgParse(*text, name, &info->Value, text, "")) {
      info->Present = 0;
      return;
    }
    // A second occurrence is cut out too; its value is dropped. A third one
    // stays in the text.
    std::string scratch;
    if (ArgParse(*text, name, &scratch, text, "")) info->Present = 2;
  });
  const bool result = true;
  try {
    LogEvent(kTagGetParamInfo,
             std::string("RETURN=") + Word(result) + "\t" + name + "\t" +
                 std::to_string(info->Present) + "\t" + info->Value,
             kDebugLog);
  } catch (...) {
  }
  return result;
}

bool GetParamInfoDat(const std::string& command_text, ParamInfoDat* dat) {
  bool result = false;
  RunStatement(kTagGetParamInfoDat, [&] { dat->CommandLine = command_text; });
  if (TrimSpaces(command_text).empty()) {
    LogEvent(kTagGetParamInfoDat, "INFO: \tnejsou zadne parametry v prikazove radce", kDebugLog);
    result = true;
  } else {
    // Read with switches quoted whole unquoted; CommandLine keeps the text
    // as received.
    std::string working = UnquoteWholeSwitches(command_text);
    RunStatement(kTagGetParamInfoDat, [&] { GetParamInfo(&working, "/action", &dat->Action); });
    RunStatement(kTagGetParamInfoDat, [&] { GetParamInfo(&working, "/mode", &dat->Mode); });
    RunStatement(kTagGetParamInfoDat, [&] { GetParamInfo(&working, "/target", &dat->Target); });
    RunStatement(kTagGetParamInfoDat, [&] {
      if (!working.empty()) {
        dat->HasRest = 1;
        dat->Rest = TrimSpaces(working);
      }
    });
    result = true;
  }
  try {
    LogDebugText(kTagGetParamInfoDat, std::string("RETURN=") + Word(result));
  } catch (...) {
  }
  return result;
}

}  // namespace brantvell
