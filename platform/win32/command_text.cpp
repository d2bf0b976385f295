#include "platform/win32/command_text.h"

namespace brantvell {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::string CommandTextAfterProgram(const std::string& command_line) {
  size_t pos = 0;
  if (!command_line.empty() && command_line[0] == '"') {
    size_t close = command_line.find('"', 1);
    pos = close == std::string::npos ? command_line.size() : close + 1;
  } else {
    while (pos < command_line.size() && !IsBlank(command_line[pos])) ++pos;
  }
  while (pos < command_line.size() && IsBlank(command_line[pos])) ++pos;
  return command_line.substr(pos);
}

}  // namespace brantvell
