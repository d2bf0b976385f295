#include "app/command_line.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "log/cls_log.h"
#include "log/ignoring_error.h"
#include "log/mdl_log.h"
#include "platform/error.h"
#include "platform/text.h"

namespace brantvell {

namespace {

const char kTagGetParamInfoDat[] = "[mdlMain] (GetParamInfoDat)";
const char kTagGetParamInfo[] = "[mdlMain] (GetParamInfo)";
const char kTagArgParse[] = "[mdlMain] (ArgParse)";

// Positions and lengths count characters, never bytes: the text is walked
// character by character in place (a command line may be long, so no
// character is copied on its own), and every cut falls between characters.
using Chars = std::vector<std::string>;
constexpr size_t kNotFound = std::string::npos;

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Whether the character text[at, end) is `wanted`, after lowering when
// `fold` (then `wanted` is lowered already).
bool CharIs(const std::string& text, size_t at, size_t end, const std::string& wanted, bool fold) {
  if (end - at == 1 && wanted.size() == 1)
    return (fold ? LowerAscii(text[at]) : text[at]) == wanted[0];
  std::string c = text.substr(at, end - at);
  return (fold ? ToLower(c) : c) == wanted;
}

// Offset of the first occurrence of the characters `needle` in `text` at
// or after offset `from`, matched after lowering when `fold`; *end receives
// where the occurrence ends. An ASCII byte always stands for a character of
// its own, so an ASCII first character is looked for byte by byte.
size_t FindChars(const std::string& text, const Chars& needle, size_t from, bool fold,
                 size_t* end) {
  if (needle.empty()) {
    *end = from;
    return from <= text.size() ? from : kNotFound;
  }
  const std::string& first = needle.front();
  const bool ascii_first = first.size() == 1 && static_cast<unsigned char>(first[0]) < 0x80;
  for (size_t i = from; i < text.size();) {
    if (ascii_first && (!fold || first[0] < 'a' || first[0] > 'z')) {
      // Only this very byte can start a match (a switch's "/").
      const void* hit = std::memchr(text.data() + i, first[0], text.size() - i);
      if (hit == nullptr) return kNotFound;
      i = static_cast<size_t>(static_cast<const char*>(hit) - text.data());
    } else if (ascii_first) {
      while (i < text.size() && LowerAscii(text[i]) != first[0]) ++i;
      if (i >= text.size()) return kNotFound;
    }
    size_t at = i;
    bool match = true;
    for (size_t k = 0; k < needle.size() && match; ++k) {
      if (at >= text.size()) return kNotFound;  // no later start can fit either
      size_t next = CharEnd(text, at);
      match = CharIs(text, at, next, needle[k], fold);
      at = next;
    }
    if (match) {
      *end = at;
      return i;
    }
    i = CharEnd(text, i);
  }
  return kNotFound;
}

Chars LoweredChars(const std::string& text) {
  Chars chars = SplitChars(text);
  for (std::string& c : chars) c = ToLower(c);
  return chars;
}

const char* Word(bool value) { return value ? "True" : "False"; }

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// text[begin, end) without its leading and trailing spaces, as TrimSpaces
// gives it, in one copy.
std::string TrimmedRange(const std::string& text, size_t begin, size_t end) {
  while (begin < end && text[begin] == ' ') ++begin;
  while (end > begin && text[end - 1] == ' ') --end;
  return text.substr(begin, end - begin);
}

// text[0, cut) followed by text[resume, end), without the leading and
// trailing spaces of the whole, as TrimSpaces gives it: one copy of a
// command text that may be long.
std::string JoinTrimmed(const std::string& text, size_t cut, size_t resume) {
  size_t head_begin = 0, head_end = cut, tail_begin = resume, tail_end = text.size();
  while (head_begin < head_end && text[head_begin] == ' ') ++head_begin;
  if (head_begin == head_end)
    while (tail_begin < tail_end && text[tail_begin] == ' ') ++tail_begin;
  while (tail_end > tail_begin && text[tail_end - 1] == ' ') --tail_end;
  if (tail_begin == tail_end)
    while (head_end > head_begin && text[head_end - 1] == ' ') --head_end;
  std::string out;
  out.reserve(head_end - head_begin + tail_end - tail_begin);
  out.append(text, head_begin, head_end - head_begin);
  out.append(text, tail_begin, tail_end - tail_begin);
  return out;
}

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
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    // Only a quote can start a change: what comes before it is kept whole.
    const size_t quote = text.find('"', i);
    if (quote == std::string::npos) {
      out.append(text, i, std::string::npos);
      break;
    }
    out.append(text, i, quote - i);
    i = quote;
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

bool ArgParse(const std::string& command_text, const std::string& name, std::string* value,
              std::string* rest, const std::string& separator) {
  LogEvent(kTagArgParse, "START: ", kDebugLog);
  bool result = false;
  try {
    const std::string delimiter = separator.empty() ? "/" : separator;
    size_t after_name = 0;
    const size_t pos = FindChars(command_text, LoweredChars(name), 0, true, &after_name);
    if (pos == kNotFound) {
      value->clear();
      *rest = command_text;  // nothing to copy when `rest` is the text itself
      result = false;
    } else {
      // The text before the switch, then what follows its value (nothing
      // when the value runs to the end or no "=" follows).
      size_t resume = command_text.size();
      if (after_name < command_text.size() && command_text[after_name] == '=') {
        const size_t value_start = after_name + 1;
        // The search starts inside the switch name, right after its first
        // character.
        size_t unused = 0;
        const size_t next = FindChars(command_text, SplitChars(delimiter),
                                      CharEnd(command_text, pos), false, &unused);
        if (next != kNotFound) {
          // A delimiter inside the name would make a negative length: an
          // invalid call, as for the runtime's own string cutting.
          if (next < value_start) throw OwnError(kErrInvalidProcedureCall);
          *value = TrimmedRange(command_text, value_start, next);
          resume = next;
        } else {
          *value = TrimmedRange(command_text, value_start, command_text.size());
        }
        if (!value->empty() && value->front() == '"' && value->back() == '"') {
          if (value->size() == 1) throw OwnError(kErrInvalidProcedureCall);
          *value = value->substr(1, value->size() - 2);
        }
      }
      // Made before `rest` changes: it may be the text itself.
      std::string before = JoinTrimmed(command_text, pos, resume);
      *rest = std::move(before);
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
  IgnoringError(kTagGetParamInfo, [&] {
    info->Present = 1;
    info->Value.clear();
  });
  IgnoringError(kTagGetParamInfo, [&] {
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
  IgnoringError(kTagGetParamInfoDat, [&] { dat->CommandLine = command_text; });
  if (command_text.find_first_not_of(' ') == std::string::npos) {
    LogEvent(kTagGetParamInfoDat, "INFO: \tnejsou zadne parametry v prikazove radce", kDebugLog);
    result = true;
  } else {
    // Read with switches quoted whole unquoted; CommandLine keeps the text
    // as received.
    std::string working = UnquoteWholeSwitches(command_text);
    IgnoringError(kTagGetParamInfoDat, [&] { GetParamInfo(&working, "/action", &dat->Action); });
    IgnoringError(kTagGetParamInfoDat, [&] { GetParamInfo(&working, "/mode", &dat->Mode); });
    IgnoringError(kTagGetParamInfoDat, [&] { GetParamInfo(&working, "/target", &dat->Target); });
    IgnoringError(kTagGetParamInfoDat, [&] {
      if (!working.empty()) {
        dat->HasRest = 1;
        // `working` is not read again: trimmed where it is, then taken.
        const size_t end = working.find_last_not_of(' ');
        working.resize(end == std::string::npos ? 0 : end + 1);
        working.erase(0, std::min(working.find_first_not_of(' '), working.size()));
        dat->Rest = std::move(working);
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
