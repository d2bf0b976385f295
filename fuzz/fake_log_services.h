// Platform services for a log writer under a fuzz target: the INI file and
// the appended log text live in memory, the clock stands still and message
// boxes answer OK at once.
#ifndef BRANTVELL_FUZZ_FAKE_LOG_SERVICES_H_
#define BRANTVELL_FUZZ_FAKE_LOG_SERVICES_H_

#include <set>
#include <string>
#include <vector>

#include "log/log_services.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "platform/profile_reader.h"
#include "platform/profile_text.h"

namespace brantvell {

// Answers every INI question of the file `path` from `text` by the profile
// rules; any other file is missing.
struct TextProfileReader : ProfileReader {
  std::string path;
  std::string text;
  std::string Read(const std::string& file, const std::string& section,
                   const std::string& key) override {
    return file == path ? ProfileValue(text, section, key) : std::string();
  }
};

// Files that exist (by exact path) and the texts appended, in order.
struct MemoryFileSystem : FileSystem {
  std::set<std::string> existing;
  std::vector<std::string> appended;
  bool FileExists(const std::string& path) override { return existing.count(path) != 0; }
  bool IsFolder(const std::string&) override { return false; }
  bool ListFolder(const std::string&, std::vector<std::string>*) override { return false; }
  bool DeleteFile(const std::string&) override { return false; }
  bool AppendText(const std::string&, const std::string& text) override {
    appended.push_back(text);
    return true;
  }
};

struct FixedClock : Clock {
  LocalDateTime Now() override { return LocalDateTime{2025, 3, 14, 9, 26, 53}; }
  LocaleSeparators Separators() override { return LocaleSeparators(); }
};

struct OkMessageBox : MessageBox {
  int shown = 0;
  bool AskOkCancel(const std::string&, const std::string&) override {
    ++shown;
    return true;
  }
  void ShowWarning(const std::string&, const std::string&) override { ++shown; }
};

struct FakeLogServices {
  TextProfileReader profile;
  MemoryFileSystem files;
  FixedClock clock;
  OkMessageBox message_box;

  LogServices services() { return LogServices{&files, &clock, &message_box, &profile}; }
};

}  // namespace brantvell

#endif  // BRANTVELL_FUZZ_FAKE_LOG_SERVICES_H_
