#include "platform/file_system.h"

#include "platform/wineprefix/wineprefix.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/host_path.h"
#include "platform/linux/dir_entries.h"
#include "platform/posix/input_file.h"
#include "platform/posix/unique_fd.h"
#include "platform/posix/write_all.h"
#include "platform/service_instance.h"
#include "platform/wineprefix/host_folder.h"

namespace brantvell {

namespace {

bool StatHost(const std::string& path, struct stat* info) {
  std::string host;
  return ToHostPath(path, &host) && stat(host.c_str(), info) == 0;
}

bool Deletable(const struct stat& info) {
  if (S_ISDIR(info.st_mode)) return false;
  return S_ISLNK(info.st_mode) || (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
}

class PosixFileSystem : public FileSystem {
 public:
  bool FileExists(const std::string& path) override {
    struct stat info;
    return StatHost(path, &info) && !S_ISDIR(info.st_mode);
  }

  bool IsFolder(const std::string& path) override {
    struct stat info;
    return StatHost(path, &info) && S_ISDIR(info.st_mode);
  }

  // POSIX has no hidden or system attribute, so every entry is listed.
  bool ListFolder(const std::string& folder, std::vector<std::string>* names) override {
    names->clear();
    std::string host;
    if (!ToHostPath(folder, &host)) return false;
    if (host.empty()) host = ".";
    UniqueFd dir(open(host.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir.valid()) return false;
    return ForEachEntry(dir.get(), [&](const char* name) {
      if (std::strcmp(name, ".") != 0 && std::strcmp(name, "..") != 0) names->push_back(name);
    });
  }

  // A file without any write permission counts as read-only and stays, as
  // it would on Windows. On a drive the file is removed from its folder
  // opened once, and only when that folder lies on the prefix's drives.
  bool DeleteFile(const std::string& path) override {
    if (!IsDrivePath(path)) {
      std::string host;
      struct stat info;
      if (!ToHostPath(path, &host) || lstat(host.c_str(), &info) != 0 || !Deletable(info))
        return false;
      return unlink(host.c_str()) == 0;
    }
    HostFolder folder;
    std::string name;
    struct stat info;
    if (!OpenHostEntry(path, &folder, &name) ||
        fstatat(folder.fd.get(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 || !Deletable(info))
      return false;
    return folder.on_drive && unlinkat(folder.fd.get(), name.c_str(), 0) == 0;
  }

  // The file is opened without following a link at its last component, so
  // a link planted in a shared folder cannot redirect the log elsewhere, and
  // only a regular file is appended to (a FIFO or device in its place must
  // not stall the run); on a drive it is opened in its folder, which must
  // lie on the prefix's drives.
  bool AppendText(const std::string& path, const std::string& text) override {
    UniqueFd file;
    if (!IsDrivePath(path)) {
      std::string host;
      if (!ToHostPath(path, &host)) return false;
      file = OpenAppend(host);
    } else {
      HostFolder folder;
      std::string name;
      if (!OpenHostEntry(path, &folder, &name) || !folder.on_drive) return false;
      file = OpenAppend(name, folder.fd.get());
    }
    if (!file.valid()) return false;
    // A text that does not fit whole (a full disk, a file size limit) is cut
    // back to where it began, so the file always ends at a line's end and
    // the next record does not continue a torn one. The file is appended
    // to, so its part of the text is its last bytes: where it began is
    // asked only when a write fails, not for every record.
    size_t part = 0;
    bool written = WriteAll(file.get(), text, &part);
    struct stat after;
    if (!written && part > 0 && fstat(file.get(), &after) == 0 &&
        after.st_size >= static_cast<off_t>(part)) {
      (void)ftruncate(file.get(), after.st_size - static_cast<off_t>(part));
    }
    return file.Close() && written;
  }
};

}  // namespace

FileSystem& FileSystem::Real() { return ServiceInstance<PosixFileSystem>(); }

}  // namespace brantvell
