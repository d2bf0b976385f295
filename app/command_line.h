// The command line: three switches, "/action", "/mode" and "/target", each
// followed by "=" and its value, written anywhere in the command text. The
// parser never rejects a command line; whatever it cannot use is kept as the
// left-over text.
#ifndef BRANTVELL_APP_COMMAND_LINE_H_
#define BRANTVELL_APP_COMMAND_LINE_H_

#include <cstdint>
#include <string>

namespace brantvell {

// One switch as found on the command line.
struct ParamInfo {
  // 0 = not given (or its value could not be cut out), 1 = given once,
  // 2 = given more than once.
  uint8_t Present = 0;
  // The value of the first occurrence; empty when the name is not followed
  // by "=".
  std::string Value;
};

// The parsed command line.
struct ParamInfoDat {
  ParamInfo Action;
  ParamInfo Mode;
  ParamInfo Target;
  // 1 when text is left over after the three switches were cut out.
  uint8_t HasRest = 0;
  std::string Rest;
  // The command text exactly as received.
  std::string CommandLine;
};

// `command_text` with every switch that the Windows argument convention
// quoted whole ("/target=C:\A B", as wrappers quote an argument holding a
// space) written as the same switch with its value quoted
// (/target="C:\A B"). Only "/action=", "/mode=" and "/target=" are read so,
// and only when the opening quote starts a word and the closing one ends it;
// backslashes doubled before the closing quote count once. Any other text is
// returned as it is.
std::string UnquoteWholeSwitches(const std::string& command_text);

// Fills `dat` (a fresh record) from `command_text`. Always true.
bool GetParamInfoDat(const std::string& command_text, ParamInfoDat* dat);

// Cuts the switch `name` (and a second occurrence of it) out of `text` into
// `info`. Always true.
bool GetParamInfo(std::string* text, const std::string& name, ParamInfo* info);

// Finds the switch `name` in `command_text` without regard to case. When it
// is followed by "=", `value` receives the text up to the next `separator`
// ("/" when empty), blanks trimmed and one pair of enclosing double quotes
// removed; `rest` receives the command text without the switch and its
// value. When no "=" follows, `value` is left alone and the switch and all
// text after it are dropped from `rest`. True when the switch was found.
// `rest` may be `command_text` itself.
bool ArgParse(const std::string& command_text, const std::string& name, std::string* value,
              std::string* rest, const std::string& separator);

}  // namespace brantvell

#endif  // BRANTVELL_APP_COMMAND_LINE_H_
