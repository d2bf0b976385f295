#include "platform/win32/dialog_layout.h"

#include "platform/win32/system_library.h"
#include "resources/resource_ids.h"

namespace brantvell {

namespace {

constexpr int kArtworkDpi[] = {96, 144, 192};

// The option buttons: a narrow column left of the labels.
constexpr int kOptionLeft = 120;
constexpr int kOptionWidth = 17;
constexpr int kOptionHeight = 41;

int OptionTop(int index) { return index == 2 ? 176 : index == 3 ? 232 : 288; }

}  // namespace

int OptionId(int index) { return index == 2 ? IDC_OPT_2 : index == 3 ? IDC_OPT_3 : IDC_OPT_1; }

ControlRect ControlPlace(int id) {
  switch (id) {
    case IDOK:
      return ControlRect{145, 365, 75, 23};
    case IDCANCEL:
      return ControlRect{240, 365, 75, 23};
    default: {
      const int index = id == IDC_OPT_2 ? 2 : id == IDC_OPT_3 ? 3 : 1;
      return ControlRect{kOptionLeft, OptionTop(index), kOptionWidth, kOptionHeight};
    }
  }
}

int ArtworkStep(int dpi) {
  for (int step = 0; step < 2; ++step) {
    if (kArtworkDpi[step] >= dpi) return step;
  }
  return 2;
}

namespace {

// The per-monitor functions of Windows 10 (1607 and later), looked up at
// run time. Without them the window takes the screen's DPI: the system DPI
// for a program that declares itself aware of it, 96 for one that Windows
// scales as a bitmap.
using GetDpiForWindowFunction = UINT WINAPI(HWND);

}  // namespace

int WindowDpi(HWND window) {
  static auto* get_dpi = SystemFunction<GetDpiForWindowFunction>(L"user32.dll", "GetDpiForWindow");
  if (get_dpi && window) {
    if (const UINT dpi = get_dpi(window)) return static_cast<int>(dpi);
  }
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kBaseDpi;
}

}  // namespace brantvell
