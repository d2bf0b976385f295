#include "platform/freedesktop/entry_sweep.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <set>

#include "platform/freedesktop/desktop_file.h"
#include "platform/host_path.h"
#include "platform/linux/dir_entries.h"
#include "platform/posix/input_file.h"
#include "platform/posix/unique_fd.h"
#include "platform/text.h"

namespace brantvell {

namespace {

// The names the catalogue's shortcuts are saved under (the name rows of the
// string table, with and without the language suffix): Wine's entries for
// other links are never touched.
const std::set<std::string>& CatalogueNames() {
  static const std::set<std::string> names = [] {
    std::set<std::string> rows;
#define BRANTVELL_STRING(id, text) \
  if ((id) >= 100 && ((id) % 10 == 1 || (id) % 10 == 2)) rows.insert(ToLower(text));
#include "resources/string_table.inc"
#undef BRANTVELL_STRING
    return rows;
  }();
  return names;
}

bool EndsWithNoCase(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() &&
         ToLower(text.substr(text.size() - tail.size())) == ToLower(tail);
}

std::string WithoutTrailingSlash(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

// The real path of `path`; false when it cannot be had.
bool RealPath(const std::string& path, std::string* real) {
  char* resolved = ::realpath(path.c_str(), nullptr);
  if (resolved == nullptr) return false;
  *real = resolved;
  std::free(resolved);
  return true;
}

bool SamePrefix(const std::string& named, const std::string& prefix,
                const std::string& raw_prefix) {
  std::string plain = WithoutTrailingSlash(named), real;
  return plain == WithoutTrailingSlash(prefix) || plain == WithoutTrailingSlash(raw_prefix) ||
         (RealPath(plain, &real) && real == prefix);
}

// Whether the shortcut still is where the entry says: a Windows path of the
// prefix, or a host path as older menu builders wrote it.
bool ShortcutExists(const std::string& path) {
  std::string host = path;
  if (path.empty() || (path[0] != '/' && !ToHostPath(path, &host))) return false;
  struct stat st;
  return ::stat(host.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool ReadEntry(const std::string& path, std::string* text) {
  return ReadInput(path, 1 << 20, text, O_NOFOLLOW);
}

// Every ".desktop" file below the menu tree (a few levels deep) and on
// the desktop.
std::vector<std::string> EntryFiles(const DesktopPlaces& places) {
  std::vector<std::string> files;
  std::vector<std::pair<std::string, int>> folders = {{places.Applications() + "/wine", 0}};
  if (!places.desktop.empty()) folders.emplace_back(places.desktop, 8);
  for (size_t i = 0; i < folders.size() && i < 256; ++i) {
    const std::string folder = folders[i].first;
    const int depth = folders[i].second;
    UniqueFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir.valid()) continue;
    ForEachEntry(dir.get(), [&](const char* name) {
      if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) return;
      std::string path = folder + "/" + name;
      struct stat st;
      if (::lstat(path.c_str(), &st) != 0) return;
      if (S_ISDIR(st.st_mode) && depth < 8) folders.emplace_back(path, depth + 1);
      if (S_ISREG(st.st_mode) && EndsWithNoCase(name, ".desktop")) files.push_back(path);
    });
  }
  return files;
}

// Wine's menu file that puts only the entry `entry_id` into the menu.
void RemoveWineMenuFile(const DesktopPlaces& places, const std::string& entry_id) {
  const std::string wanted = "<Filename>" + EscapeXml(entry_id) + "</Filename>";
  UniqueFd dir(::open(places.Menus().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!dir.valid()) return;
  std::vector<std::string> gone;
  ForEachEntry(dir.get(), [&](const char* name) {
    std::string text;
    if (!EndsWithNoCase(name, ".menu") || !ReadEntry(places.Menus() + "/" + name, &text)) return;
    size_t at = text.find(wanted);
    if (at != std::string::npos && text.find("<Filename>") == at &&
        text.find("<Filename>", at + 1) == std::string::npos &&
        text.find(std::string("<!-- ") + kMadeKey + " -->") == std::string::npos)
      gone.push_back(name);
  });
  for (const std::string& name : gone) ::unlinkat(dir.get(), name.c_str(), 0);
}

// "brantvell-<file>-<16 hex digits>.png", as the entry writer names icons.
bool IsOurIconName(const std::string& name) {
  const size_t digits = 16, tail = digits + 4;
  if (name.size() < 10 + 1 + 1 + tail || name.compare(0, 10, "brantvell-") != 0 ||
      name.compare(name.size() - 4, 4, ".png") != 0 || name[name.size() - tail - 1] != '-')
    return false;
  for (size_t i = name.size() - tail; i < name.size() - 4; ++i) {
    if (!((name[i] >= '0' && name[i] <= '9') || (name[i] >= 'a' && name[i] <= 'f'))) return false;
  }
  return true;
}

// The icons this program wrote that no entry names any more: those of an
// entry removed by other means, or of a run killed before its entry.
bool RemoveOrphanIcons(const DesktopPlaces& places) {
  std::set<std::string> named;
  for (const std::string& file : EntryFiles(places)) {
    std::string text, icon;
    if (ReadEntry(file, &text) && EntryValue(text, "Icon", &icon)) named.insert(icon);
  }
  bool removed = false;
  UniqueFd sizes(::open(places.Icons().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!sizes.valid()) return false;
  std::vector<std::string> folders;
  ForEachEntry(sizes.get(), [&](const char* size) {
    if (size[0] != '.') folders.push_back(places.Icons() + "/" + size + "/apps");
  });
  for (const std::string& folder : folders) {
    UniqueFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!dir.valid()) continue;
    std::vector<std::string> orphans;
    ForEachEntry(dir.get(), [&](const char* name) {
      std::string file = name;
      if (!IsOurIconName(file)) return;
      if (named.count(file.substr(0, file.size() - 4)) == 0) orphans.push_back(file);
    });
    for (const std::string& file : orphans) removed |= ::unlinkat(dir.get(), file.c_str(), 0) == 0;
  }
  return removed;
}

}  // namespace

std::string RealPathOr(const std::string& path) {
  std::string real;
  return RealPath(path, &real) ? real : path;
}

std::string PrefixAsRecorded(const std::string& folder) {
  std::string path = WithoutTrailingSlash(folder), real;
  if (RealPath(path, &real)) return real;
  const size_t slash = path.rfind('/');
  std::string parent = slash == std::string::npos ? "." : path.substr(0, slash);
  if (parent.empty()) return path;
  parent = RealPathOr(parent);
  return (parent == "/" ? "" : parent) + "/" + path.substr(slash + 1);
}

std::vector<std::string> ExecWords(const std::string& exec) {
  std::vector<std::string> words;
  std::string word;
  bool in_word = false, quoted = false;
  for (size_t i = 0; i < exec.size(); ++i) {
    char c = exec[i];
    if (c == '\\' && i + 1 < exec.size()) {
      word += exec[++i];
      in_word = true;
    } else if (c == '"') {
      quoted = !quoted;
      in_word = true;
    } else if (c == ' ' && !quoted) {
      if (in_word) words.push_back(word);
      word.clear();
      in_word = false;
    } else {
      word += c;
      in_word = true;
    }
  }
  if (in_word) words.push_back(word);
  return words;
}

std::string EntryShortcut(const std::string& text, const std::string& prefix,
                          const std::string& raw_prefix, bool* ours) {
  std::string value, exec;
  *ours = EntryValue(text, kPrefixKey, &value);
  if (*ours && EscapeEntryValue(value) != EscapeEntryValue(prefix)) return std::string();
  if (*ours && EntryValue(text, kShortcutKey, &value)) return value;
  if (!EntryValue(text, "Exec", &exec)) return std::string();
  std::vector<std::string> words = ExecWords(exec);
  bool this_prefix = *ours;
  std::string link;
  for (const std::string& word : words) {
    if (word.compare(0, 11, "WINEPREFIX=") == 0)
      this_prefix = this_prefix || SamePrefix(word.substr(11), prefix, raw_prefix);
    if (EndsWithNoCase(word, ".lnk")) link = word;
  }
  if (!this_prefix || link.empty()) return std::string();
  if (*ours) return link;
  std::string name = link.substr(link.find_last_of("\\/") + 1);
  return CatalogueNames().count(ToLower(name.substr(0, name.size() - 4))) != 0 ? link
                                                                               : std::string();
}

bool MatchEntriesToShortcuts(const DesktopPlaces& places, const std::string& prefix,
                             const std::string& raw_prefix,
                             void (*remove_ours)(const std::string& shortcut)) {
  bool removed = false;
  std::vector<std::string> dead;
  const std::string menu_root = places.Applications() + "/wine/";
  for (const std::string& file : EntryFiles(places)) {
    std::string text;
    bool ours = false;
    if (!ReadEntry(file, &text)) continue;
    std::string shortcut = EntryShortcut(text, prefix, raw_prefix, &ours);
    if (shortcut.empty() || ShortcutExists(shortcut)) continue;
    if (ours) {
      dead.push_back(shortcut);
    } else if (::unlink(file.c_str()) == 0) {
      removed = true;
      // Wine names a menu entry by its folders below the menu tree.
      if (file.compare(0, menu_root.size(), menu_root) == 0) {
        std::string id = "wine-" + file.substr(menu_root.size());
        for (char& c : id) c = c == '/' ? '-' : c;
        RemoveWineMenuFile(places, id);
      }
    }
  }
  for (const std::string& shortcut : dead) remove_ours(shortcut);
  return RemoveOrphanIcons(places) || removed || !dead.empty();
}

}  // namespace brantvell
