#include "platform/run_lock.h"

#include "platform/wineprefix/wineprefix.h"

#include <fcntl.h>
#include <sys/file.h>
#include <time.h>

#include <cerrno>
#include <chrono>

#include "platform/host_path.h"
#include "platform/posix/unique_fd.h"
#include "platform/service_instance.h"

namespace brantvell {

namespace {

// The prefix's folder itself is locked (flock works on a folder), so the
// lock leaves no file behind and goes with the folder if it is moved. A
// prefix that cannot be opened has nothing to protect: the run then finds
// no machine and says so.
class PrefixRunLock : public RunLock {
 public:
  bool Acquire(int32_t wait_ms) override {
    if (folder_.valid()) return true;
    UniqueFd folder(open(WinePrefixFolder().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.valid()) return true;
    // Kept to the nanosecond: a deadline in whole milliseconds gave up to
    // a millisecond early.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(wait_ms);
    while (flock(folder.get(), LOCK_EX | LOCK_NB) != 0) {
      if (errno != EWOULDBLOCK && errno != EINTR) return true;
      if (std::chrono::steady_clock::now() >= deadline) return false;
      timespec pause{0, 10 * 1000 * 1000};
      nanosleep(&pause, nullptr);
    }
    folder_ = std::move(folder);
    return true;
  }

  void Release() override { folder_.reset(); }

 private:
  UniqueFd folder_;
};

}  // namespace

RunLock& RunLock::Real() { return ServiceInstance<PrefixRunLock>(); }

}  // namespace brantvell
