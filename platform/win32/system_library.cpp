#include "platform/win32/system_library.h"

#include "platform/process.h"

namespace brantvell {

FARPROC SystemFunction(const wchar_t* library, const char* name) {
  HMODULE module = LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (!module) return nullptr;
  return GetProcAddress(module, name);
}

// Every later load (COM servers, the shell's helpers, the dialog's common
// controls and their own imports) searches System32 and never the program's
// folder. Done while the C++ runtime starts the program, before main and
// before anything can load a library; main calls it once more.
void LoadLibrariesFromSystemOnly() { SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32); }

namespace {
const bool kLibrarySearchSet = (LoadLibrariesFromSystemOnly(), true);
}  // namespace

}  // namespace brantvell
