#include "platform/run_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>

#include "tests/support/wine_prefix.h"

namespace brantvell {
namespace {

// Another run's hold on the prefix: its own open of the folder, locked.
class OtherRun {
 public:
  explicit OtherRun(const std::filesystem::path& prefix)
      : fd_(open(prefix.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {}
  ~OtherRun() { close(fd_); }
  bool TryLock() { return flock(fd_, LOCK_EX | LOCK_NB) == 0; }
  void Unlock() { flock(fd_, LOCK_UN); }

 private:
  int fd_;
};

TEST(PrefixRunLockTest, WaitsForAnotherRunAndHoldsThePrefix) {
  WinePrefix prefix;
  RunLock& lock = RunLock::Real();
  OtherRun other(prefix.root());
  ASSERT_TRUE(other.TryLock());

  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(lock.Acquire(150));
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(150));

  other.Unlock();
  ASSERT_TRUE(lock.Acquire(150));
  EXPECT_FALSE(other.TryLock());
  // No file of the lock's own is left in the prefix.
  EXPECT_FALSE(std::filesystem::exists(prefix.root() / ".brantvell.lock"));
  size_t entries = 0;
  for (auto it = std::filesystem::directory_iterator(prefix.root());
       it != std::filesystem::directory_iterator(); ++it)
    ++entries;
  EXPECT_EQ(2u, entries);  // drive_c and dosdevices

  lock.Release();
  EXPECT_TRUE(other.TryLock());
}

TEST(PrefixRunLockTest, MissingPrefixHasNothingToWaitFor) {
  WinePrefix prefix;
  ScopedVariable missing("WINEPREFIX", (prefix.root() / "missing").c_str());
  RunLock& lock = RunLock::Real();
  EXPECT_TRUE(lock.Acquire(0));
  lock.Release();
}

}  // namespace
}  // namespace brantvell
