// The entries of the shortcuts saved into the prefix, where Wine's own menu
// builder puts them, so running the Windows program on the same prefix
// replaces entries instead of doubling them:
//   $XDG_DATA_HOME/applications/wine/Programs/<folders>/<name>.desktop
//   $XDG_CONFIG_HOME/menus/applications-merged/wine-Programs-<folders>-<name>.menu
//   $XDG_DATA_HOME/desktop-directories/wine-wine.directory, wine-Programs...
//   $XDG_DATA_HOME/icons/hicolor/<size>x<size>/apps/<icon>.png
//   <XDG desktop folder>/<name>.desktop
// Each entry carries the prefix it was made for; only such entries are
// removed again.
#include "platform/freedesktop/desktop_entries.h"

#include "platform/freedesktop/freedesktop.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/freedesktop/desktop_file.h"
#include "platform/freedesktop/desktop_places.h"
#include "platform/freedesktop/entry_sweep.h"
#include "platform/freedesktop/pe_icon.h"
#include "platform/freedesktop/png_library.h"
#include "platform/host_path.h"
#include "platform/linux/dir_entries.h"
#include "platform/posix/input_file.h"
#include "platform/posix/unique_fd.h"
#include "platform/posix/write_all.h"
#include "platform/text.h"

extern char** environ;

namespace brantvell {

namespace {

// Icon files larger than this are not read for their icon.
constexpr off_t kMaxIconSource = 64 << 20;

struct RunState {
  bool disabled = false;
  bool changed = false;
  bool reported = false;
  bool swept = false;
};

RunState& State() {
  static RunState state;
  return state;
}

bool Enabled() {
  const char* off = std::getenv("BRANTVELL_NO_DESKTOP_ENTRIES");
  return !State().disabled && !(off != nullptr && *off != '\0' && std::strcmp(off, "0") != 0);
}

// The first failure of a run, on one line; the run goes on as before.
void Report(const std::string& what) {
  if (State().reported) return;
  State().reported = true;
  std::fprintf(stderr, "brantvell: desktop entries: %s\n", what.c_str());
}

struct Failure {
  std::string what;
};

[[noreturn]] void Fail(const std::string& path) {
  throw Failure{path + ": " + std::strerror(errno)};
}

// A file of ours or a shortcut's target, never through a link at its last
// component and never waiting on a FIFO or device.
bool ReadText(const std::string& path, std::string* text, off_t limit = 1 << 20) {
  return ReadInput(path, limit, text, O_NOFOLLOW);
}

void MakeFolders(const std::string& path) {
  for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
    std::string part = path.substr(0, slash);
    if (::mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) Fail(part);
    if (slash == std::string::npos) return;
  }
}

const char kTempTail[] = ".brantvell-new";

// Removes the temporary files that runs killed in the middle of a write
// left in `folder`: only names this writer makes, and only while this run
// holds the machine, so no other run is writing one.
void RemoveLeftovers(const std::string& folder) {
  UniqueFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!dir.valid()) return;
  std::vector<std::string> left;
  ForEachEntry(dir.get(), [&](const char* name) {
    const size_t length = std::strlen(name);
    const size_t tail = sizeof(kTempTail) - 1;
    if (length > tail && std::strcmp(name + length - tail, kTempTail) == 0) left.push_back(name);
  });
  for (const std::string& name : left) ::unlinkat(dir.get(), name.c_str(), 0);
}

// Writes a file in one step: a temporary file of a name of its own beside
// it, renamed over it.
void WriteFile(const std::string& path, const std::string& bytes, mode_t mode) {
  const std::string folder = path.substr(0, path.rfind('/'));
  MakeFolders(folder);
  RemoveLeftovers(folder);
  std::string temp = folder + "/." + path.substr(folder.size() + 1) + ".XXXXXX" + kTempTail;
  UniqueFd fd(::mkostemps(&temp[0], sizeof(kTempTail) - 1, O_CLOEXEC));
  if (!fd.valid()) Fail(temp);
  if (!WriteAll(fd.get(), bytes) || ::fchmod(fd.get(), mode) != 0 || !fd.Close() ||
      ::rename(temp.c_str(), path.c_str()) != 0) {
    int error = errno;
    ::unlink(temp.c_str());
    errno = error;
    Fail(path);
  }
  State().changed = true;
}

void RemoveFile(const std::string& path) {
  if (::unlink(path.c_str()) != 0 && errno != ENOENT) Fail(path);
  RemoveLeftovers(path.substr(0, path.rfind('/')));
  State().changed = true;
}

std::vector<std::string> List(const std::string& folder) {
  std::vector<std::string> names;
  UniqueFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.valid()) {
    ForEachEntry(dir.get(), [&](const char* name) {
      if (std::strcmp(name, ".") != 0 && std::strcmp(name, "..") != 0) names.push_back(name);
    });
  }
  return names;
}

bool IsFolder(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

std::string Prefix() { return PrefixAsRecorded(WinePrefixFolder()); }

// True when the entry file at `path` was made by this program for `prefix`.
bool IsOurs(const std::string& path, const std::string& prefix, std::string* icon = nullptr) {
  std::string text, value;
  if (!ReadText(path, &text) || !EntryValue(text, kPrefixKey, &value) ||
      EscapeEntryValue(value) != EscapeEntryValue(prefix))
    return false;
  if (icon != nullptr && !EntryValue(text, "Icon", icon)) icon->clear();
  return true;
}

std::string IconName(const std::string& prefix, const std::string& source) {
  uint64_t hash = 1469598103934665603ull;
  for (char c : prefix + "|" + ToLower(source))
    hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  std::string file = source.substr(source.find_last_of("\\/") + 1);
  file = ToLower(file.substr(0, file.rfind('.')));
  std::string safe;
  for (char c : file) safe += (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ? c : '_';
  char digits[17];
  std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(hash));
  return "brantvell-" + safe + "-" + digits;
}

// The icon of a shortcut: the first icon of its executable when it has one
// (written into the icon theme), else a standard icon for its kind.
std::string ShortcutIcon(const DesktopPlaces& places, const std::string& prefix,
                         const SavedShortcut& shortcut) {
  std::string source = shortcut.icon_path.empty() ? shortcut.target : shortcut.icon_path;
  std::string host, bytes;
  if (ToHostPath(source, &host) && ReadText(host, &bytes, kMaxIconSource)) {
    std::vector<IconImage> images = ReadPeIcon(bytes);
    // Bitmap icons need libpng; without it they are left out, named once.
    if (!PngLibraryProblem().empty())
      Report("icons: " + PngLibraryProblem() + "; bitmap icons are left out");
    if (!images.empty()) {
      std::string name = IconName(prefix, source);
      for (const IconImage& image : images) {
        std::string size = std::to_string(image.width) + "x" + std::to_string(image.height);
        WriteFile(places.Icons() + "/" + size + "/apps/" + name + ".png", image.png, 0644);
      }
      return name;
    }
  }
  std::string target = ToLower(shortcut.target);
  if (EndsWith(target, ".exe") || EndsWith(target, ".com") || EndsWith(target, ".bat"))
    return "application-x-executable";
  if (EndsWith(target, ".htm") || EndsWith(target, ".html")) return "text-html";
  return "help-browser";
}

// Whether any entry below `folder` (the menu tree or the desktop) names `icon`.
bool IconInUse(const std::string& folder, const std::string& icon, int depth = 0) {
  for (const std::string& name : List(folder)) {
    std::string path = folder + "/" + name;
    std::string text, value;
    if (depth < 8 && IsFolder(path)) {
      if (IconInUse(path, icon, depth + 1)) return true;
    } else if (EndsWith(name, ".desktop") && ReadText(path, &text) &&
               EntryValue(text, "Icon", &value) && value == icon) {
      return true;
    }
  }
  return false;
}

void RemoveIconUnlessUsed(const DesktopPlaces& places, const std::string& icon) {
  if (icon.compare(0, 10, "brantvell-") != 0 || icon.find('/') != std::string::npos) return;
  if (IconInUse(places.Applications() + "/wine", icon) ||
      (!places.desktop.empty() && IconInUse(places.desktop, icon, 8)))
    return;
  for (const std::string& size : List(places.Icons())) {
    std::string png = places.Icons() + "/" + size + "/apps/" + icon + ".png";
    if (::access(png.c_str(), F_OK) == 0) RemoveFile(png);
  }
}

std::string MenuFolder(const DesktopPlaces& places, const std::vector<std::string>& folders) {
  std::string folder = places.Applications() + "/wine/Programs";
  for (const std::string& name : folders) folder += "/" + name;
  return folder;
}

std::string MenuFile(const DesktopPlaces& places, const std::vector<std::string>& folders,
                     const std::string& name) {
  return places.Menus() + "/" + MenuId(folders) + "-" + name + ".menu";
}

// Removes the folder description at `path` when this program made it.
void RemoveIfMade(const std::string& path) {
  std::string text, made;
  if (ReadText(path, &text) && EntryValue(text, kMadeKey, &made)) RemoveFile(path);
}

// The .directory files of the menu folders wine > Programs > `folders`.
void WriteDirectories(const DesktopPlaces& places, const std::vector<std::string>& folders) {
  std::vector<std::pair<std::string, std::string>> levels = {{"wine-wine", "Wine"},
                                                             {"wine-Programs", "Programs"}};
  for (size_t i = 0; i < folders.size(); ++i) {
    levels.emplace_back(MenuId(std::vector<std::string>(
                            folders.begin(), folders.begin() + static_cast<std::ptrdiff_t>(i) + 1)),
                        folders[i]);
  }
  for (const auto& level : levels) {
    std::string path = places.Directories() + "/" + level.first + ".directory";
    std::string text, made;
    // One made by Wine (or anyone else) is left as it is.
    if (ReadText(path, &text) && !EntryValue(text, kMadeKey, &made)) continue;
    std::string wanted =
        DirectoryText(level.second, level.first == "wine-wine" ? "wine" : "folder");
    if (text != wanted) WriteFile(path, wanted, 0644);
  }
}

// Folders of the menu tree that hold nothing any more go, with the
// .directory files this program made for them, from the deepest up.
void RemoveEmptyMenuFolders(const DesktopPlaces& places, std::vector<std::string> folders) {
  for (;;) {
    std::string sub = MenuFolder(places, folders);
    if (IsFolder(sub) && !List(sub).empty()) return;
    if (IsFolder(sub) && ::rmdir(sub.c_str()) != 0) Fail(sub);
    std::string id = folders.empty() ? "wine-Programs" : MenuId(folders);
    RemoveIfMade(places.Directories() + "/" + id + ".directory");
    if (folders.empty()) break;
    folders.pop_back();
  }
  std::string wine = places.Applications() + "/wine";
  if (IsFolder(wine) && List(wine).empty() && ::rmdir(wine.c_str()) == 0)
    RemoveIfMade(places.Directories() + "/wine-wine.directory");
}

// Removes the entry of the shortcut `name` in a menu folder or on the
// desktop when it is this program's for `prefix`.
void RemoveEntry(const DesktopPlaces& places, EntryPlace place,
                 const std::vector<std::string>& folders, const std::string& name,
                 const std::string& prefix) {
  std::string path = (place == EntryPlace::kMenu ? MenuFolder(places, folders) : places.desktop) +
                     "/" + name + ".desktop";
  std::string icon;
  if (place == EntryPlace::kDesktop && places.desktop.empty()) return;
  if (!IsOurs(path, prefix, &icon)) return;
  RemoveFile(path);
  if (place == EntryPlace::kMenu) {
    std::string menu = MenuFile(places, folders, name), text;
    if (ReadText(menu, &text) &&
        text.find(std::string("<!-- ") + kMadeKey + " -->") != std::string::npos)
      RemoveFile(menu);
    RemoveEmptyMenuFolders(places, folders);
  }
  RemoveIconUnlessUsed(places, icon);
}

// Every entry of this program's for `prefix` in the menu folder `folders`
// and below it.
void RemoveMenuFolder(const DesktopPlaces& places, const std::vector<std::string>& folders,
                      const std::string& prefix, int depth = 0) {
  std::string folder = MenuFolder(places, folders);
  for (const std::string& name : List(folder)) {
    if (depth < 8 && IsFolder(folder + "/" + name)) {
      std::vector<std::string> sub = folders;
      sub.push_back(name);
      RemoveMenuFolder(places, sub, prefix, depth + 1);
    } else if (EndsWith(name, ".desktop")) {
      RemoveEntry(places, EntryPlace::kMenu, folders, name.substr(0, name.size() - 8), prefix);
    }
  }
  RemoveEmptyMenuFolders(places, folders);
}

// Once a run, the first time it makes or removes an entry: the temporary
// files of killed runs go from every folder the entries are written into,
// whether or not this run writes there again.
void SweepLeftovers(const DesktopPlaces& places) {
  if (State().swept) return;
  State().swept = true;
  std::vector<std::string> folders = {places.Directories(), places.Menus()};
  if (!places.desktop.empty()) folders.push_back(places.desktop);
  for (const std::string& size : List(places.Icons()))
    folders.push_back(places.Icons() + "/" + size + "/apps");
  // The menu folders below wine/Programs, a few levels deep.
  std::vector<std::string> menus = {places.Applications() + "/wine"};
  for (size_t i = 0; i < menus.size() && i < 64; ++i) {
    folders.push_back(menus[i]);
    for (const std::string& name : List(menus[i])) {
      if (IsFolder(menus[i] + "/" + name)) menus.push_back(menus[i] + "/" + name);
    }
  }
  for (const std::string& folder : folders) RemoveLeftovers(folder);
}

void MakeEntry(const SavedShortcut& shortcut) {
  std::vector<std::string> folders;
  std::string name;
  EntryPlace place = PlaceOf(shortcut.path, &folders, &name);
  if (place == EntryPlace::kNone || name.empty()) return;
  DesktopPlaces places;
  std::string why;
  if (!DesktopPlaces::FromEnvironment(&places, &why)) throw Failure{why};
  SweepLeftovers(places);
  if (place == EntryPlace::kDesktop && places.desktop.empty()) return;
  std::string prefix = Prefix();
  bool url = EndsWith(ToLower(shortcut.path), ".url");

  EntryFields fields;
  fields.name = name;
  fields.comment = shortcut.description;
  fields.prefix = prefix;
  fields.shortcut = shortcut.path;
  if (url) {
    // The browser it opens announces no start-up of its own.
    fields.exec = WebCommand(shortcut.target);
    fields.startup_notify = false;
    fields.icon = "text-html";
  } else {
    fields.exec = {"env", "WINEPREFIX=" + prefix, "wine", shortcut.path};
    std::string host;
    if (!shortcut.working_directory.empty() && ToHostPath(shortcut.working_directory, &host))
      fields.working_folder = RealPathOr(host);
    std::string file = ToLower(shortcut.target.substr(shortcut.target.find_last_of("\\/") + 1));
    if (EndsWith(file, ".exe")) fields.wm_class = file;
    fields.icon = ShortcutIcon(places, prefix, shortcut);
  }

  if (place == EntryPlace::kDesktop) {
    WriteFile(places.desktop + "/" + name + ".desktop", EntryText(fields), 0755);
    return;
  }
  std::string entry_id = MenuId(folders) + "-" + name + ".desktop";
  WriteFile(MenuFolder(places, folders) + "/" + name + ".desktop", EntryText(fields), 0644);
  WriteDirectories(places, folders);
  WriteFile(MenuFile(places, folders, name), MenuText(folders, entry_id), 0644);
}

void RemoveEntries(const std::string& path) {
  std::vector<std::string> folders;
  std::string name;
  EntryPlace place = PlaceOf(path, &folders, &name);
  std::vector<std::string> all_folders = folders;
  std::string lower = ToLower(path);
  bool shortcut = EndsWith(lower, ".lnk") || EndsWith(lower, ".url");
  // A deleted folder below Programs: every entry below it.
  if (place == EntryPlace::kMenu && !shortcut) all_folders.push_back(name);
  if (place == EntryPlace::kNone) return;
  DesktopPlaces places;
  std::string why;
  if (!DesktopPlaces::FromEnvironment(&places, &why)) throw Failure{why};
  SweepLeftovers(places);
  std::string prefix = Prefix();
  if (shortcut)
    RemoveEntry(places, place, folders, name, prefix);
  else if (place == EntryPlace::kMenu)
    RemoveMenuFolder(places, all_folders, prefix);
}

template <typename Step>
void Guarded(Step step) {
  if (!Enabled()) return;
  try {
    step();
  } catch (const Failure& failure) {
    Report(failure.what);
  } catch (const std::exception& error) {
    Report(error.what());
  }
}

}  // namespace

void DesktopEntryForShortcut(const SavedShortcut& shortcut) {
  Guarded([&] { MakeEntry(shortcut); });
}

void DesktopEntriesForRemoved(const std::string& path) {
  Guarded([&] { RemoveEntries(path); });
}

void RefreshDesktopEntries() {
  // Entries whose shortcut went by other means go now, whatever this run did.
  Guarded([] {
    DesktopPlaces places;
    std::string why;
    if (!DesktopPlaces::FromEnvironment(&places, &why)) throw Failure{why};
    SweepLeftovers(places);
    if (MatchEntriesToShortcuts(places, Prefix(), WinePrefixFolder(), DesktopEntriesForRemoved))
      State().changed = true;
  });
  if (!State().changed) return;
  State().changed = false;
  Guarded([&] {
    DesktopPlaces places;
    std::string why, tool;
    if (!DesktopPlaces::FromEnvironment(&places, &why) ||
        !FindProgram("update-desktop-database", &tool))
      return;
    std::string folder = places.Applications();
    char* argv[] = {const_cast<char*>(tool.c_str()), const_cast<char*>("-q"), &folder[0], nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    int error = posix_spawn(&child, tool.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (error == 0) {
      while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
      }
    }
  });
}

void DisableDesktopEntries() { State().disabled = true; }

}  // namespace brantvell
