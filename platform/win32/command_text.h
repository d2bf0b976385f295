// The command text of a process: the command line without the program's
// own path.
#ifndef BRANTVELL_PLATFORM_WIN32_COMMAND_TEXT_H_
#define BRANTVELL_PLATFORM_WIN32_COMMAND_TEXT_H_

#include <string>

namespace brantvell {

// `command_line` as the system hands it over, with the program's path (in
// quotes or up to the first blank) and the blanks after it removed. The rest
// stays as typed, quotes included.
std::string CommandTextAfterProgram(const std::string& command_line);

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_WIN32_COMMAND_TEXT_H_
