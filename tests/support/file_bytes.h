// Whole files as bytes, for tests that lay out files before a call and read
// what it left behind.
#ifndef BRANTVELL_TESTS_SUPPORT_FILE_BYTES_H_
#define BRANTVELL_TESTS_SUPPORT_FILE_BYTES_H_

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace brantvell {

// The bytes of a file, "" when it cannot be read.
inline std::string ReadFileBytes(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Writes `bytes` as the whole file, creating the folders above it first.
inline void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace brantvell

#endif  // BRANTVELL_TESTS_SUPPORT_FILE_BYTES_H_
