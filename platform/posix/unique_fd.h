// A file descriptor that is closed when its owner goes out of scope.
#ifndef BRANTVELL_PLATFORM_POSIX_UNIQUE_FD_H_
#define BRANTVELL_PLATFORM_POSIX_UNIQUE_FD_H_

#include <unistd.h>

namespace brantvell {

class UniqueFd {
 public:
  explicit UniqueFd(int fd = -1) : fd_(fd) {}
  ~UniqueFd() { reset(); }
  UniqueFd(UniqueFd&& other) noexcept : fd_(other.release()) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  // Gives up ownership without closing.
  int release() {
    int fd = fd_;
    fd_ = -1;
    return fd;
  }
  void reset(int fd = -1) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
  }
  // Closes now and reports whether the close succeeded (it can report a
  // failed delayed write).
  bool Close() { return ::close(release()) == 0; }

 private:
  int fd_;
};

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_POSIX_UNIQUE_FD_H_
