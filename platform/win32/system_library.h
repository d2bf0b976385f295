// Functions of DLLs that are not KnownDLLs, taken from System32 only: a
// program run from a download folder must never load a DLL planted beside
// it. The program imports only KnownDLLs; everything else comes through
// here.
#ifndef BRANTVELL_PLATFORM_WIN32_SYSTEM_LIBRARY_H_
#define BRANTVELL_PLATFORM_WIN32_SYSTEM_LIBRARY_H_

#include "platform/win32/win32.h"

namespace brantvell {

// The function `name` of the System32 DLL `library` (loaded once and kept),
// nullptr when the DLL or the function is missing.
FARPROC SystemFunction(const wchar_t* library, const char* name);

// The same, cast to the function's type.
template <typename Function>
Function* SystemFunction(const wchar_t* library, const char* name) {
  return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(SystemFunction(library, name)));
}

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_WIN32_SYSTEM_LIBRARY_H_
