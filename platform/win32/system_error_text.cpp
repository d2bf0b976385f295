#include "platform/error.h"
#include "platform/win32/com_support.h"

namespace brantvell {

std::string SystemErrorText(int32_t number) {
  // Numbers of the scripting runtime (0..65535) are its own; the system
  // knows HRESULTs.
  if (number < 0) {
    std::string text = SystemMessage(static_cast<HRESULT>(number));
    if (!text.empty()) return text;
  }
  return StandardErrorText(number);
}

}  // namespace brantvell
