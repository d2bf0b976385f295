#include "platform/profile_reader.h"

#include "platform/posix/posix.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/host_path.h"
#include "platform/profile_text.h"
#include "platform/service_instance.h"

namespace brantvell {

namespace {

// The whole content of a regular file; false for folders and anything that
// cannot be read.
bool ReadWholeFile(const std::string& host, std::string* text) {
  int fd = open(host.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info;
  bool ok = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  char buffer[8192];
  while (ok) {
    ssize_t n = read(fd, buffer, sizeof(buffer));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = n == 0;
      break;
    }
    text->append(buffer, static_cast<size_t>(n));
  }
  close(fd);
  return ok;
}

// INI files are read as UTF-8 text, whole, for every question: the log
// configuration must see edits at once and the files are small.
class PosixProfileReader : public ProfileReader {
 public:
  std::string Read(const std::string& path, const std::string& section,
                   const std::string& key) override {
    std::string host;
    std::string text;
    if (!ToHostPath(path, &host) || !ReadWholeFile(host, &text)) return std::string();
    return ProfileValue(text, section, key);
  }
};

}  // namespace

ProfileReader& ProfileReader::Real() { return ServiceInstance<PosixProfileReader>(); }

}  // namespace brantvell
