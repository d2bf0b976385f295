#include "platform/message_box.h"

#include "platform/service_instance.h"
#include "platform/win32/win32.h"
#include "platform/win32/win32_text.h"

namespace brantvell {

namespace {

class Win32MessageBox : public MessageBox {
 public:
  bool AskOkCancel(const std::string& text, const std::string& title) override {
    return MessageBoxW(nullptr, Widen(text).c_str(), Widen(title).c_str(), MB_OKCANCEL) == IDOK;
  }

  void ShowWarning(const std::string& text, const std::string& title) override {
    MessageBoxW(nullptr, Widen(text).c_str(), Widen(title).c_str(), MB_ICONEXCLAMATION | MB_OK);
  }
};

}  // namespace

MessageBox& MessageBox::Real() { return ServiceInstance<Win32MessageBox>(); }

}  // namespace brantvell
