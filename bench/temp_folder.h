// A fresh folder under the system's temporary folder for one benchmark, where
// the log writer puts its file; removed with its contents afterwards.
#ifndef BRANTVELL_BENCH_TEMP_FOLDER_H_
#define BRANTVELL_BENCH_TEMP_FOLDER_H_

#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>

namespace brantvell {

class TempFolder {
 public:
  TempFolder() {
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() /
            ("brantvell_bench_" + std::to_string(random()) + std::to_string(random()));
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  std::string path() const { return path_.string(); }
  // The log file the writer makes here with the program's settings.
  std::string LogPath() const { return (path_ / "Brantvell.TXT").string(); }
  // Its size; 0 when it is not there.
  uintmax_t LogSize() const {
    std::error_code ignored;
    return std::filesystem::file_size(path_ / "Brantvell.TXT", ignored);
  }

 private:
  std::filesystem::path path_;
};

}  // namespace brantvell

#endif  // BRANTVELL_BENCH_TEMP_FOLDER_H_
