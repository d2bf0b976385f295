#include "platform/host_path.h"

#include "platform/wineprefix/wineprefix.h"

#include <dirent.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/text.h"
#include "platform/wineprefix/prefix_drive.h"

namespace brantvell {

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool Exists(const std::string& path) {
  struct stat info;
  return lstat(path.c_str(), &info) == 0;
}

bool IsDirectory(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

struct DirCloser {
  void operator()(DIR* dir) const { closedir(dir); }
};

// The entry of `folder` whose name equals `name` without regard to case:
// the exact spelling when it exists, else the first of the others in byte
// order, so the choice does not depend on the order of the listing. `name`
// itself when there is none, so missing components keep the case given.
std::string MatchEntry(const std::string& folder, const std::string& name) {
  if (Exists(folder + "/" + name)) return name;
  std::unique_ptr<DIR, DirCloser> dir(opendir(folder.c_str()));
  if (!dir) return name;
  std::vector<std::string> matches;
  while (dirent* entry = readdir(dir.get())) {
    if (EqualsNoCase(entry->d_name, name)) matches.push_back(entry->d_name);
  }
  if (matches.empty()) return name;
  return *std::min_element(matches.begin(), matches.end());
}

}  // namespace

bool PrefixDriveRoot(char letter, std::string* root) {
  char lower = static_cast<char>(letter | 0x20);
  std::string prefix = WinePrefixFolder();
  std::string device = prefix + "/dosdevices/" + lower + ":";
  if (!Exists(device)) {
    // A prefix that was never booted has no drive links yet; its system
    // drive still lives in drive_c.
    if (lower != 'c' || !IsDirectory(prefix + "/drive_c")) return false;
    device = prefix + "/drive_c";
  }
  char* resolved = realpath(device.c_str(), nullptr);
  if (!resolved) return false;
  *root = resolved;
  free(resolved);
  if (!root->empty() && root->back() == '/') root->pop_back();
  return true;
}

bool ResolveOnPrefixDrive(const std::string& folder, std::string* resolved) {
  char* real = realpath(folder.c_str(), nullptr);
  if (!real) return false;
  std::string path = real;
  free(real);
  for (char letter = 'a'; letter <= 'z'; ++letter) {
    std::string root;
    if (!PrefixDriveRoot(letter, &root)) continue;
    // A drive of the whole machine ("/" resolves to "") holds every folder.
    if (root.empty() || path == root || path.compare(0, root.size() + 1, root + "/") == 0) {
      *resolved = path;
      return true;
    }
  }
  return false;
}

std::string WinePrefixFolder() {
  const char* prefix = getenv("WINEPREFIX");
  if (prefix && *prefix) return prefix;
  const char* home = getenv("HOME");
  if (home && *home) return std::string(home) + "/.wine";
  if (passwd* user = getpwuid(getuid())) return std::string(user->pw_dir) + "/.wine";
  return ".wine";
}

bool ToHostPath(const std::string& path, std::string* host) {
  // The system ends a path at a NUL: a component "..", NUL, "x" would pass
  // the '..' check below as a name and then be opened as "..".
  if (path.find('\0') != std::string::npos) return false;

  // Network paths (and the \\?\ forms) have no place on this machine.
  if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]) &&
      (path[0] == '\\' || path[1] == '\\')) {
    return false;
  }

  if (path.size() < 2 || path[1] != ':' || !IsDriveLetter(path[0])) {
    std::string result = path;
    std::replace(result.begin(), result.end(), '\\', '/');
    *host = result;
    return true;
  }

  std::string root;
  if (!PrefixDriveRoot(path[0], &root)) return false;
  // "." and ".." are resolved by name, as Windows does, and never climb
  // above the drive's root.
  std::vector<std::string> parts;
  size_t begin = 2;
  while (begin < path.size()) {
    size_t end = begin;
    while (end < path.size() && !IsSeparator(path[end])) ++end;
    std::string name = path.substr(begin, end - begin);
    if (name == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!name.empty() && name != ".") {
      parts.push_back(name);
    }
    begin = end + 1;
  }
  std::string result = root;
  for (const std::string& name : parts) {
    std::string folder = result.empty() ? "/" : result;
    result += "/" + MatchEntry(folder, name);
  }
  if (IsSeparator(path.back()) || result.empty()) result += "/";
  *host = result;
  return true;
}

}  // namespace brantvell
