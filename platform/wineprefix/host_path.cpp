#include "platform/host_path.h"

#include "platform/wineprefix/wineprefix.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/openat2.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/linux/dir_entries.h"
#include "platform/posix/unique_fd.h"
#include "platform/text.h"
#include "platform/wineprefix/host_folder.h"
#include "platform/wineprefix/prefix_drive.h"

namespace brantvell {

namespace {

constexpr int kFolderFlags = O_PATH | O_DIRECTORY | O_CLOEXEC;
// As many links as the kernel follows in one path before it gives up.
constexpr int kMaxLinks = 40;

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Network paths (and the \\?\ forms) have no place on this machine.
bool IsNetworkPath(const std::string& path) {
  return path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]) &&
         (path[0] == '\\' || path[1] == '\\');
}

bool Exists(const std::string& path) {
  struct stat info;
  return lstat(path.c_str(), &info) == 0;
}

// The entry that `name` means (see NameMatch) in the folder open for
// reading as `dir`; the exact spelling is looked for by the caller first.
std::string ListForMatch(UniqueFd dir, const std::string& name) {
  NameMatch match(name);
  if (dir.valid()) ForEachEntry(dir.get(), [&](const char* entry) { match.Offer(entry); });
  return match.Result();
}

constexpr int kListFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

// The entry of host folder `folder` that `name` means: the exact spelling
// when it exists, else as NameMatch picks.
std::string MatchEntry(const std::string& folder, const std::string& name) {
  if (Exists(folder + "/" + name)) return name;
  return ListForMatch(UniqueFd(open(folder.c_str(), kListFlags)), name);
}

// The real path of the open folder `fd`, without a trailing "/" except
// for the root itself.
bool RealPathOf(int fd, std::string* path) {
  char link[32];
  std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
  char buffer[PATH_MAX];
  ssize_t length = readlink(link, buffer, sizeof buffer);
  if (length > 0 && buffer[0] == '/' && static_cast<size_t>(length) < sizeof buffer) {
    path->assign(buffer, static_cast<size_t>(length));
    return true;
  }
  // Without /proc: the folder's path by the kernel's own resolution.
  char* resolved = realpath(link, nullptr);
  if (!resolved) return false;
  *path = resolved;
  free(resolved);
  return true;
}

// The host folder of drive `letter` (either case), opened; -1 when the
// prefix has no such drive. The drive's link in dosdevices is the prefix's
// own setting and is followed as it stands.
int OpenDriveRoot(char letter) {
  char lower = static_cast<char>(letter | 0x20);
  std::string prefix = WinePrefixFolder();
  std::string device = prefix + "/dosdevices/" + lower + ":";
  int fd = open(device.c_str(), kFolderFlags);
  // A prefix that was never booted has no drive links yet; its system drive
  // still lives in drive_c.
  if (fd < 0 && errno == ENOENT && lower == 'c' && !Exists(device))
    fd = open((prefix + "/drive_c").c_str(), kFolderFlags);
  return fd;
}

// Control characters and <>:"|?* are not allowed in Windows file names.
bool IsWindowsName(const std::string& name) {
  for (char c : name) {
    if ((static_cast<unsigned char>(c) < 0x20) || std::strchr("<>:\"|?*", c) != nullptr)
      return false;
  }
  return true;
}

// A drive path split into its drive letter and its components, "." and
// ".." resolved by name as Windows does, never climbing above the drive's
// root. False for any other path, and for a name Windows cannot hold.
bool SplitDrivePath(const std::string& path, char* letter, std::vector<std::string>* parts) {
  // The system ends a path at a NUL: a component "..", NUL, "x" would pass
  // the '..' check below as a name and then be opened as "..".
  if (path.find('\0') != std::string::npos) return false;
  if (!IsDrivePath(path)) return false;
  *letter = path[0];
  parts->clear();
  size_t begin = 2;
  while (begin < path.size()) {
    size_t end = begin;
    while (end < path.size() && !IsSeparator(path[end])) ++end;
    std::string name = path.substr(begin, end - begin);
    // The prefix is a Windows file system: a name Windows cannot hold is
    // found nowhere, whatever the host's file system would allow.
    if (!IsWindowsName(name)) return false;
    if (name == "..") {
      if (!parts->empty()) parts->pop_back();
    } else if (!name.empty() && name != ".") {
      parts->push_back(name);
    }
    begin = end + 1;
  }
  return true;
}

std::string JoinNames(const std::vector<std::string>& names) {
  std::string path;
  for (const std::string& name : names) path += "/" + name;
  return path.empty() ? "/" : path;
}

// The real path `path` lies on one of the prefix's drives.
bool OnPrefixDrive(const std::string& path) {
  for (char letter = 'a'; letter <= 'z'; ++letter) {
    std::string root;
    if (!PrefixDriveRoot(letter, &root)) continue;
    // A drive of the whole machine ("/" resolves to "") holds every folder.
    if (root.empty() || path == root || path.compare(0, root.size() + 1, root + "/") == 0)
      return true;
  }
  return false;
}

// openat2 beneath `root` without magic links (the /proc ones); -1 with
// errno ENOSYS where the kernel does not have it.
int OpenBeneath(int root, const std::string& relative) {
#ifdef SYS_openat2
  static bool missing = false;
  if (!missing) {
    open_how how{};
    how.flags = kFolderFlags;
    how.resolve = RESOLVE_BENEATH | RESOLVE_NO_MAGICLINKS;
    long fd = syscall(SYS_openat2, root, relative.c_str(), &how, sizeof how);
    if (fd >= 0 || errno != ENOSYS) return static_cast<int>(fd);
    missing = true;
  }
#else
  (void)root;
  (void)relative;
#endif
  errno = ENOSYS;
  return -1;
}

// Walks from the drive's root `root` through `parts` one folder at a time,
// never letting the kernel follow a link: a link is read and its target
// walked in its place (an absolute one from "/"). Names of the path are
// matched without regard to case and, with `create`, made when missing;
// names out of a link's target are taken as they are.
bool WalkFolders(UniqueFd root, const std::vector<std::string>& parts, bool create,
                 HostFolder* folder) {
  struct Step {
    std::string name;
    bool from_link;
  };
  std::vector<Step> todo;  // the next step last
  for (auto it = parts.rbegin(); it != parts.rend(); ++it) todo.push_back({*it, false});
  UniqueFd current = std::move(root);
  // Once the walk has left the drive's root (an absolute link, or ".." of a
  // link above the root), `names` is the real path from "/"; before, the
  // walk is beneath the root by construction.
  bool left_root = false;
  std::vector<std::string> names;
  int links = 0;
  while (!todo.empty()) {
    Step step = todo.back();
    todo.pop_back();
    if (step.name.empty() || step.name == ".") continue;
    if (step.name == "..") {
      if (names.empty() && !left_root) {
        std::string real;
        if (!RealPathOf(current.get(), &real)) return false;
        names.clear();
        for (size_t begin = 1; begin < real.size();) {
          size_t end = real.find('/', begin);
          if (end == std::string::npos) end = real.size();
          names.push_back(real.substr(begin, end - begin));
          begin = end + 1;
        }
        left_root = true;
      }
      if (!names.empty()) names.pop_back();
      int up = openat(current.get(), "..", kFolderFlags);
      if (up < 0) return false;
      current.reset(up);
      continue;
    }
    std::string name = step.name;
    int fd = openat(current.get(), name.c_str(), kFolderFlags | O_NOFOLLOW);
    if (fd < 0 && errno == ENOENT && !step.from_link) {
      std::string match = ListForMatch(UniqueFd(openat(current.get(), ".", kListFlags)), name);
      if (match != name) {
        name = match;
        fd = openat(current.get(), name.c_str(), kFolderFlags | O_NOFOLLOW);
      } else if (create) {
        if (left_root && !OnPrefixDrive(JoinNames(names))) {
          errno = EACCES;
          return false;
        }
        if (mkdirat(current.get(), name.c_str(), 0755) != 0 && errno != EEXIST) return false;
        fd = openat(current.get(), name.c_str(), kFolderFlags | O_NOFOLLOW);
      } else {
        errno = ENOENT;
      }
    }
    if (fd < 0 && (errno == ELOOP || errno == ENOTDIR)) {
      char buffer[PATH_MAX];
      ssize_t length = readlinkat(current.get(), name.c_str(), buffer, sizeof buffer);
      if (length <= 0 || static_cast<size_t>(length) >= sizeof buffer) {
        errno = ENOTDIR;
        return false;
      }
      if (++links > kMaxLinks) {
        errno = ELOOP;
        return false;
      }
      std::string target(buffer, static_cast<size_t>(length));
      std::vector<Step> inner;
      for (size_t begin = 0; begin <= target.size();) {
        size_t end = target.find('/', begin);
        if (end == std::string::npos) end = target.size();
        inner.push_back({target.substr(begin, end - begin), true});
        begin = end + 1;
      }
      todo.insert(todo.end(), inner.rbegin(), inner.rend());
      if (target[0] == '/') {
        int top = open("/", kFolderFlags);
        if (top < 0) return false;
        current.reset(top);
        names.clear();
        left_root = true;
      }
      continue;
    }
    if (fd < 0) return false;
    current.reset(fd);
    names.push_back(name);
  }
  folder->on_drive = !left_root || OnPrefixDrive(JoinNames(names));
  folder->fd = std::move(current);
  return true;
}

// The folder at `parts` below the root of drive `letter`.
bool OpenDriveFolder(char letter, const std::vector<std::string>& parts, bool create,
                     HostFolder* folder) {
  UniqueFd root(OpenDriveRoot(letter));
  if (!root.valid()) return false;
  if (parts.empty()) {
    folder->fd = std::move(root);
    folder->on_drive = true;
    return true;
  }
  std::string relative = parts.front();
  for (size_t i = 1; i < parts.size(); ++i) relative += "/" + parts[i];
  // The names as spelled, links only beneath the root: one step. Anything
  // else (another spelling, a missing folder, a link that leaves the root)
  // takes the walk.
  int fd = OpenBeneath(root.get(), relative);
  if (fd >= 0) {
    folder->fd.reset(fd);
    folder->on_drive = true;
    return true;
  }
  return WalkFolders(std::move(root), parts, create, folder);
}

// A host path (no drive): made level by level with `create`, then opened
// as it stands, links followed.
bool OpenPlainFolder(const std::string& path, bool create, HostFolder* folder) {
  if (IsNetworkPath(path) || path.find('\0') != std::string::npos) {
    errno = ENOENT;
    return false;
  }
  std::string host = path;
  std::replace(host.begin(), host.end(), '\\', '/');
  if (host.empty()) host = ".";
  if (create) {
    // Every level from the top, so the missing ones are made in order; a
    // level that cannot be made fails the open below.
    for (size_t slash = host.find('/', 1); slash != std::string::npos;
         slash = host.find('/', slash + 1))
      mkdir(host.substr(0, slash).c_str(), 0755);
    mkdir(host.c_str(), 0755);
  }
  int fd = open(host.c_str(), kFolderFlags);
  if (fd < 0) return false;
  folder->fd.reset(fd);
  folder->on_drive = true;
  return true;
}

}  // namespace

bool PrefixDriveRoot(char letter, std::string* root) {
  UniqueFd fd(OpenDriveRoot(letter));
  if (!fd.valid() || !RealPathOf(fd.get(), root)) return false;
  if (!root->empty() && root->back() == '/') root->pop_back();
  return true;
}

bool ResolveOnPrefixDrive(const std::string& folder, std::string* resolved) {
  char* real = realpath(folder.c_str(), nullptr);
  if (!real) return false;
  std::string path = real;
  free(real);
  if (!OnPrefixDrive(path)) return false;
  *resolved = path;
  return true;
}

std::string MatchEntryAt(int folder, const std::string& name) {
  struct stat info;
  if (fstatat(folder, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 || errno != ENOENT)
    return name;
  return ListForMatch(UniqueFd(openat(folder, ".", kListFlags)), name);
}

bool OpenHostEntry(const std::string& path, HostFolder* folder, std::string* name) {
  if (!OpenHostParent(path, folder, name)) return false;
  *name = MatchEntryAt(folder->fd.get(), *name);
  return true;
}

bool IsDrivePath(const std::string& path) {
  return path.size() >= 2 && path[1] == ':' && IsDriveLetter(path[0]);
}

bool StartsWithDrive(const std::string& path) {
  return IsDrivePath(path) && path.size() >= 3 && IsSeparator(path[2]);
}

bool DrivePathToHost(const std::string& path, std::string* host) {
  return StartsWithDrive(path) && ToHostPath(path, host);
}

bool OpenHostFolder(const std::string& path, bool create, HostFolder* folder) {
  if (!IsDrivePath(path)) return OpenPlainFolder(path, create, folder);
  char letter;
  std::vector<std::string> parts;
  if (!SplitDrivePath(path, &letter, &parts)) {
    errno = ENOENT;
    return false;
  }
  return OpenDriveFolder(letter, parts, create, folder);
}

bool OpenHostParent(const std::string& path, HostFolder* folder, std::string* name) {
  std::string last;
  if (!IsDrivePath(path)) {
    std::string host = path;
    std::replace(host.begin(), host.end(), '\\', '/');
    size_t slash = host.rfind('/');
    last = slash == std::string::npos ? host : host.substr(slash + 1);
    if (last.empty() || last == "." || last == ".." || IsNetworkPath(path)) {
      errno = ENOENT;
      return false;
    }
    std::string parent = slash == std::string::npos ? "."
                         : slash == 0               ? "/"
                                                    : host.substr(0, slash);
    if (!OpenPlainFolder(parent, false, folder)) return false;
    *name = last;
    return true;
  }
  char letter;
  std::vector<std::string> parts;
  if (!SplitDrivePath(path, &letter, &parts) || parts.empty()) {
    errno = ENOENT;
    return false;
  }
  last = parts.back();
  parts.pop_back();
  if (!OpenDriveFolder(letter, parts, false, folder)) return false;
  *name = last;
  return true;
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
  // the '..' check of the drive path as a name and then be opened as "..".
  if (path.find('\0') != std::string::npos) return false;

  if (IsNetworkPath(path)) return false;

  char letter;
  std::vector<std::string> parts;
  if (!SplitDrivePath(path, &letter, &parts)) {
    if (IsDrivePath(path)) return false;
    std::string result = path;
    std::replace(result.begin(), result.end(), '\\', '/');
    *host = result;
    return true;
  }

  std::string root;
  if (!PrefixDriveRoot(letter, &root)) return false;
  std::string result = root;
  for (const std::string& name : parts) result += "/" + name;
  // Spelled as they exist: every component matches itself, one look.
  // Else the folder as spelled leaves only the last name to match; else
  // each component in turn.
  if (!parts.empty() && !Exists(result)) {
    std::string folder = result.substr(0, result.size() - parts.back().size() - 1);
    if (parts.size() > 1 && Exists(folder)) {
      result =
          folder + "/" + ListForMatch(UniqueFd(open(folder.c_str(), kListFlags)), parts.back());
    } else {
      result = root;
      for (const std::string& name : parts) {
        std::string parent = result.empty() ? "/" : result;
        result += "/" + MatchEntry(parent, name);
      }
    }
  }
  if (IsSeparator(path.back()) || result.empty()) result += "/";
  *host = result;
  return true;
}

}  // namespace brantvell
