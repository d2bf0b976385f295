// Where the user's desktop keeps its entries: the XDG data and config
// folders ($XDG_DATA_HOME, default ~/.local/share; $XDG_CONFIG_HOME, default
// ~/.config) and the desktop folder (XDG_DESKTOP_DIR of user-dirs.dirs, else
// ~/Desktop, and only when it exists).
#ifndef BRANTVELL_PLATFORM_FREEDESKTOP_DESKTOP_PLACES_H_
#define BRANTVELL_PLATFORM_FREEDESKTOP_DESKTOP_PLACES_H_

#include <string>

namespace brantvell {

struct DesktopPlaces {
  std::string data_home;
  std::string config_home;
  std::string desktop;  // "" when the user has no desktop folder

  std::string Applications() const { return data_home + "/applications"; }
  std::string Directories() const { return data_home + "/desktop-directories"; }
  std::string Icons() const { return data_home + "/icons/hicolor"; }
  std::string Menus() const { return config_home + "/menus/applications-merged"; }

  // The places of the user running the program; false (and why) when
  // there is no home to find them in.
  static bool FromEnvironment(DesktopPlaces* places, std::string* why);
};

// The desktop folder named by the text of a user-dirs.dirs file, with
// "$HOME" expanded; "" when it names none.
std::string DesktopDirFromUserDirs(const std::string& text, const std::string& home);

// The full path of program `name` on $PATH; false when it is not there.
bool FindProgram(const std::string& name, std::string* path);

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_FREEDESKTOP_DESKTOP_PLACES_H_
