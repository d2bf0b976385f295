#include "platform/run_lock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/win32/win32.h"

namespace brantvell {
namespace {

// Another run is another owner of the machine's mutex: here a thread that
// holds it until told to let go.
TEST(MutexRunLockTest, WaitsForAnotherOwnerAndHoldsTheMachine) {
  std::atomic<int> step{0};
  std::atomic<bool> taken_by_other{false};
  std::thread other([&] {
    HANDLE mutex = CreateMutexW(nullptr, FALSE, L"Global\\Brantvell.Shortcuts");
    if (!mutex) mutex = CreateMutexW(nullptr, FALSE, L"Local\\Brantvell.Shortcuts");
    WaitForSingleObject(mutex, INFINITE);
    step = 1;
    while (step != 2) Sleep(1);
    ReleaseMutex(mutex);
    while (step != 3) Sleep(1);
    // The run holds it now.
    taken_by_other = WaitForSingleObject(mutex, 0) != WAIT_TIMEOUT;
    step = 4;
    while (step != 5) Sleep(1);
    // And has let it go.
    if (WaitForSingleObject(mutex, 1000) == WAIT_OBJECT_0) {
      step = 6;
      ReleaseMutex(mutex);
    }
    CloseHandle(mutex);
  });
  while (step != 1) Sleep(1);
  RunLock& lock = RunLock::Real();
  EXPECT_FALSE(lock.Acquire(100));
  step = 2;
  EXPECT_TRUE(lock.Acquire(5000));
  step = 3;
  while (step != 4) Sleep(1);
  EXPECT_FALSE(taken_by_other.load());
  lock.Release();
  step = 5;
  other.join();
  EXPECT_EQ(6, step.load());
}

}  // namespace
}  // namespace brantvell
