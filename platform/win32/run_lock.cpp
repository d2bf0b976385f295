#include "platform/run_lock.h"

#include "platform/win32/unique_handle.h"
#include "platform/win32/win32.h"

#include "platform/service_instance.h"

namespace brantvell {

namespace {

// A mutex in the global name space reaches every session of the machine, as
// the shortcuts for all users do; where a process may not create global
// objects it falls back to its own session's name space.
constexpr wchar_t kGlobalName[] = L"Global\\Brantvell.Shortcuts";
constexpr wchar_t kLocalName[] = L"Local\\Brantvell.Shortcuts";

class MutexRunLock : public RunLock {
 public:
  bool Acquire(int32_t wait_ms) override {
    if (held_) return true;
    if (!mutex_) mutex_.reset(CreateMutexW(nullptr, FALSE, kGlobalName));
    if (!mutex_) mutex_.reset(CreateMutexW(nullptr, FALSE, kLocalName));
    // Without a mutex there is nothing to wait for.
    if (!mutex_) return true;
    DWORD result = WaitForSingleObject(mutex_.get(), static_cast<DWORD>(wait_ms));
    // An abandoned mutex belonged to a run that was killed: it is this
    // run's now.
    held_ = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
    return held_ || result == WAIT_FAILED;
  }

  void Release() override {
    if (held_) ReleaseMutex(mutex_.get());
    held_ = false;
  }

 private:
  UniqueKernelHandle mutex_;
  bool held_ = false;
};

}  // namespace

RunLock& RunLock::Real() { return ServiceInstance<MutexRunLock>(); }

}  // namespace brantvell
