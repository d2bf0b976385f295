#include "platform/linux/program_options.h"

#include "platform/linux/linux.h"

#include <cstring>

#include "resources/version.h"

namespace brantvell {

ProgramOptions ReadProgramOptions(int argc, char** argv) {
  ProgramOptions options;
  for (; options.first_argument < argc; ++options.first_argument) {
    const char* arg = argv[options.first_argument];
    if (std::strncmp(arg, "--", 2) != 0) break;
    if (std::strcmp(arg, "--") == 0) {
      ++options.first_argument;
      break;
    }
    if (std::strcmp(arg, "--help") == 0) {
      options.help = true;
    } else if (std::strcmp(arg, "--version") == 0) {
      options.version = true;
    } else if (std::strcmp(arg, "--no-desktop-entries") == 0) {
      options.no_desktop_entries = true;
    } else if (options.unknown == nullptr) {
      options.unknown = arg;
    }
  }
  return options;
}

void PrintVersion(std::ostream& out) {
  out << "brantvell " << BRANTVELL_VERSION_MAJOR << "." << BRANTVELL_VERSION_MINOR << "."
      << BRANTVELL_VERSION_REVISION << "\n";
}

void PrintHelp(std::ostream& out) {
  out << "Usage: brantvell [--no-desktop-entries] [/action=WORD] [/mode=q] [/target=FOLDER]\n"
         "       brantvell --help | --version\n"
         "\n"
         "Sets up, checks and removes the Start-menu group \"Halvorna\" and the desktop\n"
         "shortcuts of the Veldramona banking client in a Wine prefix, and a Linux menu\n"
         "and desktop entry for each of them.\n"
         "\n"
         "Switches (before the other arguments):\n"
         "  --help                show this text and exit\n"
         "  --version             show the version and exit\n"
         "  --no-desktop-entries  make or remove no Linux menu and desktop entries\n"
         "                        (also: BRANTVELL_NO_DESKTOP_ENTRIES=1)\n"
         "\n"
         "Action words (/action=, any case):\n"
         "  cz      the Czech shortcuts\n"
         "  sk      the Slovak shortcuts\n"
         "  czsk    both sets\n"
         "  clear   remove the shortcuts\n"
         "  (none)  ask in a choice dialog on the terminal\n"
         "/mode=q shows no message when the run fails; /target= names the client's folder\n"
         "(default: its App Paths entry in the prefix's registry).\n"
         "\n"
         "Prefix: WINEPREFIX, default ~/.wine; it needs system.reg and drive C and\n"
         "must be yours (another user's prefix is refused, as Wine refuses it).\n"
         "Log: Brantvell.TXT in $TEMP (else $TMPDIR, else /tmp); log.ini beside the\n"
         "program can change what it records.\n"
         "Entries: $XDG_DATA_HOME/applications/wine/Programs/Halvorna/ (default\n"
         "~/.local/share), the menu files in $XDG_CONFIG_HOME/menus/ (default ~/.config)\n"
         "and the desktop folder (XDG_DESKTOP_DIR, else ~/Desktop, when it exists).\n"
         "\n"
         "Exit status: 0 done, 1 failed (the shortcuts could not be set up or removed),\n"
         "2 nothing chosen (the choice was cancelled, or there was no terminal to ask\n"
         "on and no action word it understood) or an argument that is not valid UTF-8,\n"
         "64 a wrong switch of its own.\n";
}

}  // namespace brantvell
