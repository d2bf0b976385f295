// One owner for every Windows resource that is given back by a single call:
// file and search handles, GDI objects, icons, device contexts, safe arrays
// and memory the system allocated for the caller. The owner holds the handle
// and calls its close function when it goes; a handle equal to the invalid
// value is never closed.
//
// The owners here and in com_support.h share one vocabulary, that of the
// standard library's smart pointers: get() the handle, put() the slot a
// creating call fills, reset() to close now (and optionally take another),
// release() to hand the handle on without closing it.
#ifndef BRANTVELL_PLATFORM_WIN32_UNIQUE_HANDLE_H_
#define BRANTVELL_PLATFORM_WIN32_UNIQUE_HANDLE_H_

#include <cstdint>
#include <utility>

#include "platform/win32/win32.h"

#include <oleauto.h>

namespace brantvell {

// `Close` is called with the handle; its result is not looked at (call
// release() and close it yourself where the result matters). `Invalid` is
// the value that means "no handle", as a number, since the system's
// INVALID_HANDLE_VALUE is not a constant a template can take.
template <typename Handle, auto Close, std::intptr_t Invalid = 0>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : handle_(handle) {}
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { reset(); }

  static Handle InvalidValue() { return reinterpret_cast<Handle>(Invalid); }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != InvalidValue(); }

  // Closes the handle held, if any, and holds `handle` instead.
  void reset(Handle handle = InvalidValue()) {
    Handle old = std::exchange(handle_, handle);
    if (old != InvalidValue()) Close(old);
  }

  // Hands the handle to the caller, who closes it.
  Handle release() { return std::exchange(handle_, InvalidValue()); }

  // The slot a creating call fills; the handle held is closed first.
  Handle* put() {
    reset();
    return &handle_;
  }

 private:
  Handle handle_ = InvalidValue();
};

// The value CreateFileW and FindFirstFileW give on failure.
inline constexpr std::intptr_t kInvalidHandleValue = -1;

using UniqueFile = UniqueHandle<HANDLE, CloseHandle, kInvalidHandleValue>;
// Handles that are null when there is none (mutexes, events).
using UniqueKernelHandle = UniqueHandle<HANDLE, CloseHandle>;
using UniqueFind = UniqueHandle<HANDLE, FindClose, kInvalidHandleValue>;
// A bitmap, font or other object this code created and must delete.
template <typename Object>
using UniqueGdiObject = UniqueHandle<Object, DeleteObject>;
using UniqueIcon = UniqueHandle<HICON, DestroyIcon>;
// A device context of CreateCompatibleDC (not one of GetDC).
using UniqueMemoryDc = UniqueHandle<HDC, DeleteDC>;
using UniqueSafeArray = UniqueHandle<SAFEARRAY*, SafeArrayDestroy>;
// Memory a call allocated with CoTaskMemAlloc or LocalAlloc for the caller.
template <typename T>
using UniqueCoTaskMem = UniqueHandle<T*, CoTaskMemFree>;
template <typename T>
using UniqueLocalMem = UniqueHandle<T*, LocalFree>;

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_WIN32_UNIQUE_HANDLE_H_
