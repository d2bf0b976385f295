// One run at a time per machine: two runs that change the same shortcuts
// at once would each remove what the other just made. An interface so the
// run flow can be tested with a lock that is busy.
#ifndef BRANTVELL_PLATFORM_RUN_LOCK_H_
#define BRANTVELL_PLATFORM_RUN_LOCK_H_

#include <cstdint>

namespace brantvell {

struct RunLock {
  virtual ~RunLock() = default;

  // Waits up to `wait_ms` milliseconds for the machine; true when this run
  // now holds it (until Release or the end of the process).
  virtual bool Acquire(int32_t wait_ms) = 0;

  // Lets the next run go on; nothing when the lock is not held.
  virtual void Release() = 0;

  // On Windows a named mutex of the machine; on Linux an exclusive lock on
  // the Wine prefix's folder.
  static RunLock& Real();
};

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_RUN_LOCK_H_
