// The entry point hands the process its arguments here. POSIX gives a
// program its arguments one by one, not as one typed text, so the POSIX
// command text is rebuilt from them; Windows reads the command line as typed
// (GetCommandLineW) and ignores them.
#ifndef BRANTVELL_PLATFORM_PROGRAM_ARGUMENTS_H_
#define BRANTVELL_PLATFORM_PROGRAM_ARGUMENTS_H_

namespace brantvell {

// On POSIX the command text becomes argv[1] to argv[argc - 1] joined by
// single spaces.
void SetProgramArguments(int argc, char** argv);

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_PROGRAM_ARGUMENTS_H_
