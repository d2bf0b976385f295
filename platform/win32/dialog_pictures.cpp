#include "platform/win32/dialog_pictures.h"

#include <cstddef>

#include "platform/win32/system_library.h"
#include "resources/resource_ids.h"

namespace brantvell {

namespace {

using SystemParametersInfoForDpiFunction = BOOL WINAPI(UINT, UINT, void*, UINT, UINT);

}  // namespace

int GreyedPictureId(int index) {
  return index == 2 ? IDB_CHOICE_OFF_2 : index == 3 ? IDB_CHOICE_OFF_3 : IDB_CHOICE_OFF_1;
}

void DrawPicture(HDC target, HDC source, HBITMAP bitmap, int left, int top, int width, int height) {
  if (!source || !bitmap || width <= 0 || height <= 0) return;
  BITMAP info{};
  if (!GetObjectW(bitmap, sizeof(info), &info)) return;
  SelectObject(source, bitmap);
  if (info.bmWidth == width && info.bmHeight == height) {
    BitBlt(target, left, top, width, height, source, 0, 0, SRCCOPY);
    return;
  }
  const int mode = SetStretchBltMode(target, HALFTONE);
  POINT origin;
  SetBrushOrgEx(target, 0, 0, &origin);
  StretchBlt(target, left, top, width, height, source, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
  SetBrushOrgEx(target, origin.x, origin.y, nullptr);
  SetStretchBltMode(target, mode);
}

HBITMAP LoadPicture(HINSTANCE module, int id) {
  return static_cast<HBITMAP>(
      LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
}

HICON LoadProgramIcon(HINSTANCE module, int width_metric, int height_metric) {
  return static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(IDI_BRANTVELL), IMAGE_ICON,
                                       GetSystemMetrics(width_metric),
                                       GetSystemMetrics(height_metric), LR_DEFAULTCOLOR));
}

HFONT CreateMessageFont(int dpi) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  static auto* for_dpi = SystemFunction<SystemParametersInfoForDpiFunction>(
      L"user32.dll", "SystemParametersInfoForDpi");
  if (for_dpi &&
      for_dpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, static_cast<UINT>(dpi))) {
    return CreateFontIndirectW(&metrics.lfMessageFont);
  }
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
    // Systems older than the headers want the structure without its last field.
    metrics.cbSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) {
      return nullptr;
    }
  }
  return CreateFontIndirectW(&metrics.lfMessageFont);
}

}  // namespace brantvell
