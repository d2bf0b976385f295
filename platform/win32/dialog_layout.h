// The choice window's layout: where its controls sit at 96 DPI, which of
// its pictures fits a DPI, and the DPI the window is shown at.
#ifndef BRANTVELL_PLATFORM_WIN32_DIALOG_LAYOUT_H_
#define BRANTVELL_PLATFORM_WIN32_DIALOG_LAYOUT_H_

#include "platform/dialog_window.h"
#include "platform/win32/win32.h"

namespace brantvell {

// The control id of the option button of row `index` (1 to 3).
int OptionId(int index);

// The 96 DPI place of the control `id`.
ControlRect ControlPlace(int id);

// The artwork drawn for the smallest DPI at or above `dpi` (0 for 1x, 1 for
// 1.5x, 2 for 2x), or the largest: a picture is only ever scaled down,
// except above 2x.
int ArtworkStep(int dpi);

// The layout is given in pixels at 96 DPI and scaled to the window's DPI.
// The artwork is drawn for exactly this client area, at 1x, 1.5x and 2x.
constexpr int kBaseDpi = 96;
constexpr int kClientWidth = 500;
constexpr int kClientHeight = 422;

// Windows 10 (1607 and later) tells a frame's size for a DPI; looked up at
// run time.
using AdjustWindowRectExForDpiFunction = BOOL WINAPI(RECT*, DWORD, BOOL, DWORD, UINT);

// The DPI of `window`, or of the screen when Windows cannot tell a window's.
int WindowDpi(HWND window);

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_WIN32_DIALOG_LAYOUT_H_
