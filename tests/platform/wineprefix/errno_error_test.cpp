#include "platform/wineprefix/errno_error.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <vector>

namespace brantvell {
namespace {

// What a failed delete or save of the prefix's script objects raises: the
// numbers the Windows components raise for the same failures, which the
// log's error records carry.
TEST(ErrnoErrorTest, DeleteAndSaveRaiseTheirComponentsNumbers) {
  struct Case {
    std::vector<int> errors;
    int32_t on_delete;
    int32_t on_save;
  };
  const Case cases[] = {
      {{ENOENT, ENOTDIR}, kErrPathNotFound, kErrSystemPathNotFound},
      {{EACCES, EPERM, EROFS, EISDIR, ETXTBSY}, kErrPermissionDenied, kErrPermissionDenied},
      {{ENOSPC, EDQUOT}, kErrPermissionDenied, kErrDiskFull},
      {{EIO, EEXIST, EBUSY}, kErrPermissionDenied, kErrPathFileAccess},
  };
  for (const Case& c : cases) {
    for (int error : c.errors) {
      EXPECT_EQ(ErrorForErrno(error, FailedCall::kDelete).number(), c.on_delete) << error;
      EXPECT_EQ(ErrorForErrno(error, FailedCall::kSave).number(), c.on_save) << error;
    }
  }
}

}  // namespace
}  // namespace brantvell
