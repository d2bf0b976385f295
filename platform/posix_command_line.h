// POSIX hands a program its arguments one by one, not as one typed text; the
// entry point passes them here so the process can give its command text.
#ifndef BRANTVELL_PLATFORM_POSIX_COMMAND_LINE_H_
#define BRANTVELL_PLATFORM_POSIX_COMMAND_LINE_H_

namespace brantvell {

// The command text becomes argv[1] to argv[argc - 1] joined by single
// spaces.
void SetPosixCommandLine(int argc, char** argv);

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_POSIX_COMMAND_LINE_H_
