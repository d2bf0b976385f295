// Facts about the running process. An interface so it can be mocked out for
// tests.
#ifndef BRANTVELL_PLATFORM_PROCESS_H_
#define BRANTVELL_PLATFORM_PROCESS_H_

#include <string>

namespace brantvell {

struct VersionInfo {
  int major = 0;
  int minor = 0;
  int revision = 0;
  std::string comments;
};

struct Process {
  virtual ~Process() = default;

  // The value of an environment variable, "" when it is not set. On POSIX
  // "TEMP" falls back to TMPDIR and then to /tmp, since Linux users rarely
  // set TEMP.
  virtual std::string Environment(const std::string& name) = 0;

  // The folder of the running executable, without a trailing backslash.
  virtual std::string ProgramFolder() = 0;

  // The command line without the program's own path, as typed.
  virtual std::string CommandText() = 0;

  // The program's own version numbers.
  virtual VersionInfo Version() = 0;

  static Process& Real();
};

// The version the program was built with, from resources/version.h: what
// Version gives where no version resource can be read.
VersionInfo BuiltInVersion();

// Not a fact about the process but a policy set on it at start: makes the
// process load libraries from the system's own folder only, never from the
// program's folder or the current one (Windows); nothing elsewhere.
void LoadLibrariesFromSystemOnly();

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_PROCESS_H_
