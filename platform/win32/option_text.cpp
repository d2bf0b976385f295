#include "platform/win32/option_text.h"

#include <algorithm>

namespace brantvell {

namespace {

LRESULT CALLBACK OptionProc(HWND option, UINT message, WPARAM wparam, LPARAM lparam) {
  OptionText& row = *reinterpret_cast<OptionText*>(GetWindowLongPtrW(option, GWLP_USERDATA));
  if (message == WM_GETTEXTLENGTH && row.busy == 0) return static_cast<LRESULT>(row.name.size());
  if (message == WM_GETTEXT && row.busy == 0) {
    if (wparam == 0) return 0;
    wchar_t* text = reinterpret_cast<wchar_t*>(lparam);
    const size_t count = std::min<size_t>(wparam - 1, row.name.size());
    std::copy_n(row.name.data(), count, text);
    text[count] = L'\0';
    return static_cast<LRESULT>(count);
  }
  const WNDPROC button_proc = row.button_proc;
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(option, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(button_proc));
    return CallWindowProcW(button_proc, option, message, wparam, lparam);
  }
  ++row.busy;
  const LRESULT result = CallWindowProcW(button_proc, option, message, wparam, lparam);
  --row.busy;
  return result;
}

}  // namespace

void AnswerWithText(HWND option, OptionText* text) {
  SetWindowLongPtrW(option, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(text));
  text->button_proc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(option, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OptionProc)));
}

}  // namespace brantvell
