// The choice window's pictures, icon and font, taken from the program's
// resources and the system's settings.
#ifndef BRANTVELL_PLATFORM_WIN32_DIALOG_PICTURES_H_
#define BRANTVELL_PLATFORM_WIN32_DIALOG_PICTURES_H_

#include "platform/win32/win32.h"

namespace brantvell {

// The resource id of the greyed picture of row `index` (1 to 3).
int GreyedPictureId(int index);

// Copies `bitmap` to `target` at (left, top), width x height, through the
// memory device context `source`: pixel for pixel when it has that size,
// otherwise scaled with smoothing.
void DrawPicture(HDC target, HDC source, HBITMAP bitmap, int left, int top, int width, int height);

// Bitmap `id` of `module`; null when the program was built without it.
HBITMAP LoadPicture(HINSTANCE module, int id);

// The program's icon at the size of the given system metrics.
HICON LoadProgramIcon(HINSTANCE module, int width_metric, int height_metric);

// The font the system uses in message boxes, for the two push buttons, at
// `dpi` where the system can tell it for a DPI, else at the system's.
HFONT CreateMessageFont(int dpi);

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_WIN32_DIALOG_PICTURES_H_
