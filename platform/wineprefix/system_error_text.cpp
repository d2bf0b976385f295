#include "platform/error.h"

#include "platform/wineprefix/wineprefix.h"

#include <cerrno>
#include <cstring>

namespace brantvell {

namespace {

// The errno that stands for a Windows error code the prefix's components
// raise as an HRESULT (0x8007xxxx); 0 for the others.
int ErrnoFor(uint32_t win32_code) {
  switch (win32_code) {
    case 2:  // ERROR_FILE_NOT_FOUND
    case 3:  // ERROR_PATH_NOT_FOUND
      return ENOENT;
    case 5:  // ERROR_ACCESS_DENIED
      return EACCES;
    case 32:  // ERROR_SHARING_VIOLATION
      return EBUSY;
    case 112:  // ERROR_DISK_FULL
      return ENOSPC;
    case 206:  // ERROR_FILENAME_EXCED_RANGE
      return ENAMETOOLONG;
    default:
      return 0;
  }
}

}  // namespace

std::string SystemErrorText(int32_t number) {
  const uint32_t code = static_cast<uint32_t>(number);
  if ((code & 0xFFFF0000u) == 0x80070000u) {
    int error = ErrnoFor(code & 0xFFFFu);
    if (error != 0) return std::strerror(error);
  }
  return StandardErrorText(number);
}

}  // namespace brantvell
