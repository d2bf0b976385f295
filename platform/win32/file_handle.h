// An open Win32 file handle, closed when its owner goes.
#ifndef BRANTVELL_PLATFORM_WIN32_FILE_HANDLE_H_
#define BRANTVELL_PLATFORM_WIN32_FILE_HANDLE_H_

#include <utility>

#include "platform/win32/win32.h"

namespace brantvell {

class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  HANDLE get() const { return handle_; }
  // Closes now and tells whether the data reached the file.
  bool Close() { return CloseHandle(std::exchange(handle_, INVALID_HANDLE_VALUE)) != 0; }

 private:
  HANDLE handle_;
};

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_WIN32_FILE_HANDLE_H_
