#include "platform/win32/system_library.h"

#include "platform/process.h"

namespace brantvell {

FARPROC SystemFunction(const wchar_t* library, const char* name) {
  HMODULE module = LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (!module) return nullptr;
  return GetProcAddress(module, name);
}

// Every later load (COM servers, the shell's helpers, the dialog's common
// controls, the crypto provider behind the stack protector's random guard,
// and their own imports) searches System32 and never the program's folder.
void LoadLibrariesFromSystemOnly() { SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32); }

namespace {
// Run by the C runtime before every constructor of a lower priority (the
// stack protector's guard set-up among them) and before main, which calls
// it once more.
__attribute__((constructor(101))) void LoadLibrariesFromSystemOnlyAtStart() {
  LoadLibrariesFromSystemOnly();
}
}  // namespace

}  // namespace brantvell
