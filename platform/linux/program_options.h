// The Linux program's own switches: leading arguments that start with "--"
// (--help, --version, --no-desktop-entries; "--" ends them). They are not
// part of the command text the program parses and logs.
#ifndef BRANTVELL_PLATFORM_LINUX_PROGRAM_OPTIONS_H_
#define BRANTVELL_PLATFORM_LINUX_PROGRAM_OPTIONS_H_

#include <ostream>

namespace brantvell {

// What the leading switches ask for.
struct ProgramOptions {
  int first_argument = 1;  // the first argument of the command text
  bool help = false;
  bool version = false;
  bool no_desktop_entries = false;
  const char* unknown = nullptr;  // a switch the program does not know
};

ProgramOptions ReadProgramOptions(int argc, char** argv);

void PrintHelp(std::ostream& out);
void PrintVersion(std::ostream& out);

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_LINUX_PROGRAM_OPTIONS_H_
