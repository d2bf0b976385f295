// Reads the choice window as a screen reader reads it: finds the shown
// window "Brantvell" (waiting up to 20 s) and prints, for each of its child
// windows, the name and state its accessible object (oleacc) reports:
//   CONTROL <control id> <state in hex> <name in UTF-8>
// then "CHILDREN <accessible children of the window>". Exit status 1 when no
// window came or oleacc gave no object.
// clang-format off
#include <windows.h>
#include <oleacc.h>
// clang-format on

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string Utf8(const wchar_t* text) {
  if (!text || !*text) return std::string();
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, &out[0], size, nullptr, nullptr);
  out.resize(static_cast<size_t>(size) - 1);
  return out;
}

HWND FindShownWindow() {
  for (int tries = 0; tries < 200; ++tries) {
    HWND window = FindWindowW(nullptr, L"Brantvell");
    if (window && IsWindowVisible(window)) return window;
    Sleep(100);
  }
  return nullptr;
}

IAccessible* ObjectOf(HWND window) {
  IAccessible* object = nullptr;
  const HRESULT result =
      AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                 reinterpret_cast<void**>(&object));
  if (FAILED(result)) {
    std::printf("OLEACC ERROR %lx\n", static_cast<unsigned long>(result));
    return nullptr;
  }
  return object;
}

BOOL CALLBACK AddChild(HWND child, LPARAM children) {
  reinterpret_cast<std::vector<HWND>*>(children)->push_back(child);
  return TRUE;
}

}  // namespace

int main() {
  CoInitialize(nullptr);
  HWND window = FindShownWindow();
  if (!window) {
    std::printf("NO WINDOW\n");
    return 1;
  }
  std::vector<HWND> children;
  EnumChildWindows(window, &AddChild, reinterpret_cast<LPARAM>(&children));
  VARIANT self;
  VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  int status = 0;
  for (HWND child : children) {
    IAccessible* object = ObjectOf(child);
    if (!object) {
      std::printf("CONTROL %d none\n", GetDlgCtrlID(child));
      status = 1;
      continue;
    }
    BSTR name = nullptr;
    if (FAILED(object->get_accName(self, &name))) name = nullptr;
    VARIANT state;
    VariantInit(&state);
    const long state_bits =
        SUCCEEDED(object->get_accState(self, &state)) && state.vt == VT_I4 ? state.lVal : -1;
    std::printf("CONTROL %d %lx %s\n", GetDlgCtrlID(child), static_cast<unsigned long>(state_bits),
                Utf8(name).c_str());
    SysFreeString(name);
    object->Release();
  }
  if (IAccessible* object = ObjectOf(window)) {
    long count = 0;
    if (SUCCEEDED(object->get_accChildCount(&count))) std::printf("CHILDREN %ld\n", count);
    object->Release();
  } else {
    status = 1;
  }
  std::fflush(stdout);
  CoUninitialize();
  return status;
}
