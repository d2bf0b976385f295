#include "platform/wineprefix/errno_error.h"

#include "platform/wineprefix/wineprefix.h"

#include <cerrno>

namespace brantvell {

Error ErrorForErrno(int error, FailedCall call) {
  const bool save = call == FailedCall::kSave;
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return ComponentError(save ? kErrSystemPathNotFound : kErrPathNotFound);
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
      return ComponentError(kErrPermissionDenied);
    case ENOSPC:
    case EDQUOT:
      if (save) return ComponentError(kErrDiskFull);
      break;
    default:
      break;
  }
  return ComponentError(save ? kErrPathFileAccess : kErrPermissionDenied);
}

}  // namespace brantvell
