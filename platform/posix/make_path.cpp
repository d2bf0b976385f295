#include "platform/make_path.h"

#include "platform/posix/posix.h"

#include <sys/stat.h>

#include <cerrno>

#include "platform/host_path.h"

namespace brantvell {

namespace {

bool IsDirectory(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

bool MakeSureDirectoryPathExists(const std::string& path) {
  size_t last = path.find_last_of("\\/");
  if (last == std::string::npos) return true;
  std::string host;
  if (!ToHostPath(path.substr(0, last + 1), &host)) return false;
  // Every level from the top, so the missing ones are made in order.
  for (size_t slash = host.find('/', 1); slash != std::string::npos;
       slash = host.find('/', slash + 1)) {
    std::string level = host.substr(0, slash);
    if (mkdir(level.c_str(), 0755) != 0 && errno != EEXIST && !IsDirectory(level)) return false;
  }
  return host.empty() || IsDirectory(host);
}

}  // namespace brantvell
