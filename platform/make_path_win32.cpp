#include "platform/make_path.h"

#include "platform/win32.h"
#include "platform/win32_text.h"

#include <imagehlp.h>

namespace brantvell {

bool MakeSureDirectoryPathExists(const std::string& path) {
  return ::MakeSureDirectoryPathExists(Utf8ToAnsi(path).c_str()) != FALSE;
}

}  // namespace brantvell
