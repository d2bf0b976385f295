// Writing a whole buffer to a file descriptor: write() may take less than
// it is given, or be interrupted by a signal before it takes anything.
#ifndef BRANTVELL_PLATFORM_POSIX_WRITE_ALL_H_
#define BRANTVELL_PLATFORM_POSIX_WRITE_ALL_H_

#include <unistd.h>

#include <cerrno>
#include <string>

namespace brantvell {

// Writes all of `bytes` to `fd`; false, with errno set, when a write fails.
// `written`, when given, tells how many bytes went in all the same.
inline bool WriteAll(int fd, const std::string& bytes, size_t* written = nullptr) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      if (written != nullptr) *written = done;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  if (written != nullptr) *written = done;
  return true;
}

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_POSIX_WRITE_ALL_H_
