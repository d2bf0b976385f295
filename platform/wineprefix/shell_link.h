// The binary shell link (".lnk") file: a shortcut to a local file, written
// with a LinkInfo structure (the target's local path, ANSI and Unicode) and
// Unicode string data, so the shell resolves it without an item ID list.
// Reading it back serves tests and checks of written files.
#ifndef BRANTVELL_PLATFORM_WINEPREFIX_SHELL_LINK_H_
#define BRANTVELL_PLATFORM_WINEPREFIX_SHELL_LINK_H_

#include <cstdint>
#include <string>

namespace brantvell {

struct ShellLinkData {
  std::string target_path;  // Windows path of the target, "C:\..."
  std::string arguments;
  std::string working_directory;
  std::string description;
  std::string icon_path;
  int32_t icon_index = 0;
  // The window state the target starts in (1 normal, 3 maximised, 7
  // minimised without activation).
  uint32_t show_command = 1;
  // Virtual key code in the low byte, modifier bits in the high byte.
  uint16_t hotkey = 0;
};

// The file's bytes. Raises Error 5 when a text is longer than a shell link
// can hold (32767 UTF-16 units), when the target path is empty or holds a
// NUL character.
std::string WriteShellLink(const ShellLinkData& link);

// Parses a file's bytes; false when they are not a shell link this reader
// understands (wrong header, truncated or inconsistent structures). The
// target comes from the LinkInfo's Unicode local path when present, else
// from its ANSI path.
bool ReadShellLink(const std::string& bytes, ShellLinkData* link);

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_WINEPREFIX_SHELL_LINK_H_
