#include "platform/posix/input_file.h"

#include "platform/posix/posix.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace brantvell {

namespace {

// A regular file (fstat after the open, so a link is judged by what it
// leads to) of at most `cap` bytes; errno tells why not.
bool AcceptRegular(int fd, off_t cap, struct stat* info) {
  struct stat own;
  if (info == nullptr) info = &own;
  if (::fstat(fd, info) != 0) return false;
  if (!S_ISREG(info->st_mode)) {
    errno = S_ISDIR(info->st_mode) ? EISDIR : EINVAL;
    return false;
  }
  if (info->st_size > cap) {
    errno = EFBIG;
    return false;
  }
  return true;
}

}  // namespace

UniqueFd OpenInput(const std::string& path, off_t cap, int extra_flags, struct stat* info, int at) {
  UniqueFd fd(::openat(at, path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | extra_flags));
  if (fd.valid() && !AcceptRegular(fd.get(), cap, info)) fd.reset();
  return fd;
}

bool ReadAll(int fd, off_t cap, std::string* text) {
  text->clear();
  char buffer[65536];
  for (;;) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return n == 0;
    if (static_cast<off_t>(text->size() + static_cast<size_t>(n)) > cap) {
      errno = EFBIG;
      return false;
    }
    text->append(buffer, static_cast<size_t>(n));
  }
}

bool ReadInput(const std::string& path, off_t cap, std::string* text, int extra_flags,
               struct stat* info) {
  struct stat own;
  if (info == nullptr) info = &own;
  UniqueFd fd = OpenInput(path, cap, extra_flags, info);
  if (!fd.valid()) return false;
  text->reserve(static_cast<size_t>(info->st_size));
  return ReadAll(fd.get(), cap, text);
}

UniqueFd OpenAppend(const std::string& name, int at) {
  // No fstat: a FIFO without a reader fails this open (ENXIO), one with a
  // reader takes writes without waiting, a link is refused and a folder
  // cannot be opened for writing; a device node takes root to plant.
  constexpr int kFlags = O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
  return UniqueFd(::openat(at, name.c_str(), kFlags, 0600));
}

}  // namespace brantvell
