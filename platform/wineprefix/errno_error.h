// The error a script object raises for a POSIX call that failed, as the
// Windows component raises it for the same failure. Deleting and saving
// differ: the file object's delete gives "Permission denied" for anything
// but a missing path, the shortcut's save tells a full disk and any other
// failure apart and names a missing folder with the system's code.
#ifndef BRANTVELL_PLATFORM_WINEPREFIX_ERRNO_ERROR_H_
#define BRANTVELL_PLATFORM_WINEPREFIX_ERRNO_ERROR_H_

#include "platform/error.h"

namespace brantvell {

enum class FailedCall { kDelete, kSave };

Error ErrorForErrno(int error, FailedCall call);

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_WINEPREFIX_ERRNO_ERROR_H_
