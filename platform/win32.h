// The Windows API for the platform's Win32 files, with the macros that would
// rename the program's own members (DeleteFile, MessageBox, GetObject)
// removed again.
#ifndef BRANTVELL_PLATFORM_WIN32_H_
#define BRANTVELL_PLATFORM_WIN32_H_

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#undef DeleteFile
#undef MessageBox
#undef GetObject

#endif  // BRANTVELL_PLATFORM_WIN32_H_
