#include "platform/wineprefix/errno_error.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace brantvell {
namespace {

// What a failed delete or save of the prefix's script objects raises: the
// numbers the Windows components raise for the same failures, which the
// log's error records carry.
TEST(ErrnoErrorTest, DeleteAndSaveRaiseTheirComponentsNumbers) {
  struct Case {
    int error;
    int32_t on_delete;
    int32_t on_save;
  };
  const Case cases[] = {
      {ENOENT, kErrPathNotFound, kErrSystemPathNotFound},
      {ENOTDIR, kErrPathNotFound, kErrSystemPathNotFound},
      {EACCES, kErrPermissionDenied, kErrPermissionDenied},
      {EPERM, kErrPermissionDenied, kErrPermissionDenied},
      {EROFS, kErrPermissionDenied, kErrPermissionDenied},
      {EISDIR, kErrPermissionDenied, kErrPermissionDenied},
      {ETXTBSY, kErrPermissionDenied, kErrPermissionDenied},
      {ENOSPC, kErrPermissionDenied, kErrDiskFull},
      {EDQUOT, kErrPermissionDenied, kErrDiskFull},
      {EIO, kErrPermissionDenied, kErrPathFileAccess},
      {EEXIST, kErrPermissionDenied, kErrPathFileAccess},
      {EBUSY, kErrPermissionDenied, kErrPathFileAccess},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ErrorForErrno(c.error, FailedCall::kDelete).number(), c.on_delete) << c.error;
    EXPECT_EQ(ErrorForErrno(c.error, FailedCall::kSave).number(), c.on_save) << c.error;
  }
}

}  // namespace
}  // namespace brantvell
