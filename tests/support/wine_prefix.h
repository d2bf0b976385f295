// A throw-away Wine prefix for one test: a temporary folder with drive_c and
// the dosdevices link of drive C:, made the current prefix through
// WINEPREFIX until the test ends.
#ifndef BRANTVELL_TESTS_SUPPORT_WINE_PREFIX_H_
#define BRANTVELL_TESTS_SUPPORT_WINE_PREFIX_H_

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "tests/support/temp_folder.h"

namespace brantvell {

// Sets an environment variable for a scope and restores it afterwards.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const char* value) : name_(name) {
    if (const char* old = getenv(name)) old_ = std::string(old);
    if (value) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedVariable() {
    if (old_) {
      setenv(name_.c_str(), old_->c_str(), 1);
    } else {
      unsetenv(name_.c_str());
    }
  }
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;

 private:
  std::string name_;
  std::optional<std::string> old_;
};

class WinePrefix {
 public:
  explicit WinePrefix(bool with_dosdevices = true)
      : root_(TempFolder::HostOf(folder_.path())), variable_("WINEPREFIX", root_.c_str()) {
    std::filesystem::create_directories(root_ / "drive_c");
    if (with_dosdevices) {
      std::filesystem::create_directories(root_ / "dosdevices");
      std::filesystem::create_directory_symlink("../drive_c", root_ / "dosdevices" / "c:");
    }
  }

  // The prefix folder itself, with links resolved.
  std::filesystem::path root() const { return std::filesystem::canonical(root_); }
  std::filesystem::path drive_c() const { return root() / "drive_c"; }

  // Makes drive `letter` (lower case) a link to `target`.
  void AddDrive(char letter, const std::filesystem::path& target) const {
    std::filesystem::create_directory_symlink(
        target, root_ / "dosdevices" / (std::string(1, letter) + ":"));
  }

 private:
  TempFolder folder_;
  std::filesystem::path root_;
  ScopedVariable variable_;
};

}  // namespace brantvell

#endif  // BRANTVELL_TESTS_SUPPORT_WINE_PREFIX_H_
