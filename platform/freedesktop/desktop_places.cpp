#include "platform/freedesktop/desktop_places.h"

#include "platform/freedesktop/freedesktop.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>

#include "platform/posix/input_file.h"

namespace brantvell {

namespace {

// user-dirs.dirs holds a dozen lines of a few hundred bytes.
constexpr off_t kMaxUserDirsBytes = 64 << 10;

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

bool IsFolder(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// An XDG base folder: the variable when it holds an absolute path, else
// the default below the home.
std::string BaseFolder(const char* variable, const std::string& home, const char* fallback) {
  std::string value = Variable(variable);
  if (!value.empty() && value[0] == '/') return value;
  return home.empty() ? std::string() : home + fallback;
}

}  // namespace

std::string DesktopDirFromUserDirs(const std::string& text, const std::string& home) {
  std::istringstream lines(text);
  std::string line, found;
  const std::string key = "XDG_DESKTOP_DIR=";
  while (std::getline(lines, line)) {
    size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line.compare(start, key.size(), key) != 0) continue;
    std::string value = line.substr(start + key.size());
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t' || value.back() == '\r'))
      value.pop_back();
    if (value.size() < 2 || value.front() != '"' || value.back() != '"') continue;
    value = value.substr(1, value.size() - 2);
    if (value.compare(0, 5, "$HOME") == 0 && (value.size() == 5 || value[5] == '/'))
      found = home + value.substr(5);
    else if (!value.empty() && value[0] == '/')
      found = value;
  }
  return found;
}

bool DesktopPlaces::FromEnvironment(DesktopPlaces* places, std::string* why) {
  std::string home = Variable("HOME");
  places->data_home = BaseFolder("XDG_DATA_HOME", home, "/.local/share");
  places->config_home = BaseFolder("XDG_CONFIG_HOME", home, "/.config");
  if (places->data_home.empty() || places->config_home.empty()) {
    *why = "HOME is not set";
    return false;
  }
  places->desktop.clear();
  // user-dirs.dirs is a dozen lines; anything else in its place, or a file
  // far larger, names no desktop.
  std::string text;
  if (!ReadInput(places->config_home + "/user-dirs.dirs", kMaxUserDirsBytes, &text)) text.clear();
  std::string desktop = DesktopDirFromUserDirs(text, home);
  // A desktop that is the home itself means the user has none.
  if (desktop.empty() && !home.empty()) desktop = home + "/Desktop";
  while (desktop.size() > 1 && desktop.back() == '/') desktop.pop_back();
  if (desktop != home && IsFolder(desktop)) places->desktop = desktop;
  return true;
}

bool FindProgram(const std::string& name, std::string* path) {
  std::string search = Variable("PATH");
  size_t start = 0;
  while (start <= search.size()) {
    size_t end = search.find(':', start);
    if (end == std::string::npos) end = search.size();
    std::string folder = search.substr(start, end - start);
    start = end + 1;
    if (folder.empty() || folder[0] != '/') continue;
    std::string candidate = folder + "/" + name;
    if (::access(candidate.c_str(), X_OK) == 0) {
      *path = candidate;
      return true;
    }
  }
  return false;
}

}  // namespace brantvell
