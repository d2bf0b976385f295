// In-memory stand-ins for the platform services the log writer uses.
#ifndef BRANTVELL_TESTS_SUPPORT_FAKE_SERVICES_H_
#define BRANTVELL_TESTS_SUPPORT_FAKE_SERVICES_H_

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "log/log_services.h"
#include "platform/clock.h"
#include "platform/counter.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "platform/profile_reader.h"
#include "platform/text.h"

namespace brantvell {

// Files and folders held in maps. Paths are taken literally (no case
// folding); a folder is a path without trailing backslash.
struct FakeFileSystem : FileSystem {
  std::map<std::string, std::string> files;  // path -> content
  std::set<std::string> folders;
  std::set<std::string> locked;  // files that can neither be opened nor deleted
  std::vector<std::string> deleted;
  int append_calls = 0;
  int exists_calls = 0;

  static std::string FolderOf(const std::string& path) {
    size_t slash = path.rfind('\\');
    return slash == std::string::npos ? "" : path.substr(0, slash);
  }

  void AddFolder(const std::string& folder) { folders.insert(folder); }
  void AddFile(const std::string& path, const std::string& content = "") {
    folders.insert(FolderOf(path));
    files[path] = content;
  }

  bool FileExists(const std::string& path) override {
    ++exists_calls;
    return files.count(path) != 0;
  }
  // A folder added, or one holding an added folder (C:\ holds C:\App).
  bool IsFolder(const std::string& path) override {
    std::string base = path;
    if (!base.empty() && base.back() == '\\') base.pop_back();
    if (folders.count(base)) return true;
    auto below = folders.lower_bound(base + '\\');
    return below != folders.end() && below->compare(0, base.size() + 1, base + '\\') == 0;
  }
  bool ListFolder(const std::string& folder, std::vector<std::string>* names) override {
    std::string base = folder;
    if (!base.empty() && base.back() == '\\') base.pop_back();
    if (folders.count(base) == 0) return false;
    names->clear();
    for (const auto& [path, content] : files)
      if (FolderOf(path) == base) names->push_back(path.substr(base.size() + 1));
    for (const std::string& path : folders)
      if (!path.empty() && path != base && FolderOf(path) == base)
        names->push_back(path.substr(base.size() + 1));
    return true;
  }
  bool DeleteFile(const std::string& path) override {
    if (locked.count(path) || files.erase(path) == 0) return false;
    deleted.push_back(path);
    return true;
  }
  bool AppendText(const std::string& path, const std::string& text) override {
    ++append_calls;
    if (locked.count(path) || folders.count(path) || folders.count(FolderOf(path)) == 0)
      return false;
    files[path] += text;
    return true;
  }
};

struct FakeClock : Clock {
  LocalDateTime now{2026, 12, 7, 16, 58, 12};
  LocaleSeparators separators;

  LocalDateTime Now() override { return now; }
  LocaleSeparators Separators() override { return separators; }
};

// Answers OK or Cancel from `answers` in turn (OK once they run out) and
// keeps what was shown.
struct FakeMessageBox : MessageBox {
  std::vector<bool> answers;
  std::vector<std::pair<std::string, std::string>> shown;  // text, title

  bool AskOkCancel(const std::string& text, const std::string& title) override {
    shown.emplace_back(text, title);
    if (answers.empty()) return true;
    bool ok = answers.front();
    answers.erase(answers.begin());
    return ok;
  }
  void ShowWarning(const std::string& text, const std::string& title) override {
    shown.emplace_back(text, title);
  }
  std::vector<std::string> nothing_chosen;  // each NoteNothingChosen's text
  void NoteNothingChosen(const std::string& why) override { nothing_chosen.push_back(why); }
};

// INI values by file, section and key; section and key match without
// regard to case, like the platform's reader. Values are stored as the
// platform returns them (already trimmed).
struct FakeProfileReader : ProfileReader {
  std::map<std::string, std::string> values;  // "path|section|key" (lower case) -> value
  int reads = 0;

  static std::string Key(const std::string& path, const std::string& section,
                         const std::string& key) {
    return path + "|" + ToLower(section) + "|" + ToLower(key);
  }
  void Set(const std::string& path, const std::string& section, const std::string& key,
           const std::string& value) {
    values[Key(path, section, key)] = value;
  }
  std::string Read(const std::string& path, const std::string& section,
                   const std::string& key) override {
    ++reads;
    auto it = values.find(Key(path, section, key));
    return it == values.end() ? "" : it->second;
  }
};

struct FakeCounter : Counter {
  bool high_resolution = true;
  int64_t frequency = 1000000;
  int64_t now = 0;
  uint32_t milliseconds = 0;

  bool Frequency(int64_t* units_per_second) override {
    *units_per_second = frequency;
    return high_resolution;
  }
  int64_t Now() override { return now; }
  uint32_t Milliseconds() override { return milliseconds; }
};

// All four fakes in one bundle, ready to hand to a writer.
struct FakeLogServices {
  FakeFileSystem files;
  FakeClock clock;
  FakeMessageBox message_box;
  FakeProfileReader profile;

  LogServices Services() { return LogServices{&files, &clock, &message_box, &profile}; }
};

}  // namespace brantvell

#endif  // BRANTVELL_TESTS_SUPPORT_FAKE_SERVICES_H_
