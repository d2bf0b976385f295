// platform/win32/: the services on a real Windows machine, and the only
// folder whose files include Windows headers. Everything that needs the
// Windows API lives here and nowhere else; the rest of the program sees it
// only through the interfaces at the top of platform/.
//
// This header is the Windows API for those files, with the macros that would
// rename the program's own members (DeleteFile, MessageBox, GetObject)
// removed again.
#ifndef BRANTVELL_PLATFORM_WIN32_WIN32_H_
#define BRANTVELL_PLATFORM_WIN32_WIN32_H_

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

#endif  // BRANTVELL_PLATFORM_WIN32_WIN32_H_
