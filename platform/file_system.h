// Files by path: whether one is there, a folder's names, deleting one and
// appending text to it. The log keeps its files with it, the tests and
// benchmarks make theirs. Paths are Windows paths on every platform; the
// Linux implementation maps them into the Wine prefix.
// An interface so it can be mocked out for tests.
#ifndef BRANTVELL_PLATFORM_FILE_SYSTEM_H_
#define BRANTVELL_PLATFORM_FILE_SYSTEM_H_

#include <string>
#include <vector>

namespace brantvell {

struct FileSystem {
  virtual ~FileSystem() = default;

  // True when `path` names an existing file; hidden, read-only and system
  // files count, a folder does not.
  virtual bool FileExists(const std::string& path) = 0;

  // True when `path` names an existing folder.
  virtual bool IsFolder(const std::string& path) = 0;

  // The names of the entries of `folder` (files and sub-folders, without
  // "." and "..", without hidden and system files), in the order the file
  // system returns them. False when the folder cannot be listed.
  virtual bool ListFolder(const std::string& folder, std::vector<std::string>* names) = 0;

  // Deletes one file. False when it cannot be deleted (read-only, in use,
  // missing, a folder).
  virtual bool DeleteFile(const std::string& path) = 0;

  // Appends `text` (UTF-8) to the file, creating it when missing, never
  // creating folders. Windows writes the text in the ANSI code page, POSIX
  // in UTF-8 (new files mode 0600, a symbolic link at the last component is
  // refused). No byte-order mark. False when the file cannot be opened.
  virtual bool AppendText(const std::string& path, const std::string& text) = 0;

  // The real file system of this platform.
  static FileSystem& Real();
};

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_FILE_SYSTEM_H_
