// A fresh folder in the temporary folder for one test or benchmark, removed with all its
// contents afterwards. Its path is a program path (what the services take);
// host() is where it lives on this machine.
#ifndef BRANTVELL_TESTS_SUPPORT_TEMP_FOLDER_H_
#define BRANTVELL_TESTS_SUPPORT_TEMP_FOLDER_H_

#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>

#include "platform/host_path.h"
#include "platform/make_path.h"
#include "platform/process.h"
#include "tests/support/file_bytes.h"

namespace brantvell {

class TempFolder {
 public:
  TempFolder() {
    std::random_device device;
    path_ = Process::Real().Environment("TEMP") + "\\brantvell-test-" + std::to_string(device()) +
            std::to_string(device());
    MakeSureDirectoryPathExists(path_ + "\\");
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(HostOf(path_), ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& path() const { return path_; }
  // The program path of `name` inside the folder.
  std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

  // Where a program path lives, as a path the standard library opens.
  static std::filesystem::path HostOf(const std::string& path) {
    std::string host;
    if (!ToHostPath(path, &host)) return std::filesystem::path();
    return std::filesystem::u8path(host);
  }

  // The size of file `name` inside the folder; 0 when it is not there.
  uintmax_t SizeOf(const std::string& name) const {
    std::error_code ignored;
    return std::filesystem::file_size(HostOf(*this / name), ignored);
  }

  // The bytes of a file, "" when it cannot be read.
  static std::string ReadBytes(const std::string& path) { return ReadFileBytes(HostOf(path)); }

 private:
  std::string path_;
};

}  // namespace brantvell

#endif  // BRANTVELL_TESTS_SUPPORT_TEMP_FOLDER_H_
