#include "platform/process.h"

#include "platform/linux/linux.h"

#include <limits.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <iostream>

#include "platform/freedesktop/desktop_entries.h"
#include "platform/linux/program_options.h"
#include "platform/program_arguments.h"
#include "platform/service_instance.h"
#include "platform/text.h"
#include "platform/wineprefix/prefix_check.h"

namespace brantvell {

namespace {

std::string& CommandLineText() {
  static std::string text;
  return text;
}

std::string Variable(const std::string& name) {
  const char* value = getenv(name.c_str());
  return value ? value : "";
}

class PosixProcess : public Process {
 public:
  std::string Environment(const std::string& name) override {
    std::string value = Variable(name);
    if (value.empty() && EqualsNoCase(name, "TEMP")) {
      value = Variable("TMPDIR");
      if (value.empty()) value = "/tmp";
    }
    return value;
  }

  std::string ProgramFolder() override {
    std::string path(PATH_MAX, '\0');
    ssize_t length = readlink("/proc/self/exe", &path[0], path.size());
    if (length <= 0) return ".";
    path.resize(static_cast<size_t>(length));
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
  }

  std::string CommandText() override { return CommandLineText(); }

  VersionInfo Version() override { return BuiltInVersion(); }
};

}  // namespace

void SetProgramArguments(int argc, char** argv) {
  ProgramOptions options = ReadProgramOptions(argc, argv);
  if (options.unknown != nullptr) {
    std::cerr << "brantvell: unknown switch " << options.unknown << " (see brantvell --help)\n";
    // The usage status of sysexits.h, apart from 2 (nothing was chosen).
    std::exit(64);
  }
  if (options.help || options.version) {
    options.help ? PrintHelp(std::cout) : PrintVersion(std::cout);
    std::exit(std::cout.flush() ? 0 : 1);
  }
  // Before anything is written: not the log, not an entry, not a shortcut.
  std::string foreign = ForeignPrefixProblem();
  if (!foreign.empty()) {
    std::cerr << foreign << "\n";
    std::exit(1);
  }
  if (options.no_desktop_entries) DisableDesktopEntries();
  std::string text;
  size_t length = 0;
  for (int i = options.first_argument; i < argc; ++i) length += std::strlen(argv[i]) + 1;
  text.reserve(length);
  for (int i = options.first_argument; i < argc; ++i) {
    if (i > options.first_argument) text += ' ';
    text += argv[i];
  }
  // The program's texts are UTF-8: bytes of another encoding would name a
  // folder that no shortcut can point to. A space between two arguments
  // neither mends nor breaks a character, so the joined text is checked
  // once, and the arguments one by one only to name the bad one.
  if (!IsValidUtf8(text)) {
    for (int i = options.first_argument; i < argc; ++i) {
      if (!IsValidUtf8(argv[i])) {
        std::cerr << "brantvell: argument " << (i - options.first_argument + 1)
                  << " is not valid UTF-8; nothing was changed\n";
        std::exit(2);
      }
    }
  }
  CommandLineText() = std::move(text);
}

// Linux finds libraries by the loader's own rules, not in the program's
// folder.
void LoadLibrariesFromSystemOnly() {}

Process& Process::Real() { return ServiceInstance<PosixProcess>(); }

}  // namespace brantvell
