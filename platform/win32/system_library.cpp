#include "platform/win32/system_library.h"

#include <string>

#include "platform/process.h"

namespace brantvell {

namespace {

// SetDefaultDllDirectories and the LOAD_LIBRARY_SEARCH_* flags came with
// the 2011 update KB2533623; Windows Vista and 7 without it lack them, and
// a static import would keep the program from starting there at all.
using SetDefaultDllDirectoriesFunction = BOOL WINAPI(DWORD);

SetDefaultDllDirectoriesFunction* DefaultDllDirectoriesCall() {
  HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
  if (!kernel32) return nullptr;
  return reinterpret_cast<SetDefaultDllDirectoriesFunction*>(
      reinterpret_cast<void (*)()>(GetProcAddress(kernel32, "SetDefaultDllDirectories")));
}

// `library` by its full System32 path, for systems without the search
// flags.
HMODULE LoadFromSystemFolder(const wchar_t* library) {
  wchar_t folder[MAX_PATH];
  UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  std::wstring path = std::wstring(folder, length) + L"\\" + library;
  return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace

FARPROC SystemFunction(const wchar_t* library, const char* name) {
  HMODULE module = DefaultDllDirectoriesCall()
                       ? LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)
                       : LoadFromSystemFolder(library);
  if (!module) return nullptr;
  return GetProcAddress(module, name);
}

// Every later load (COM servers, the shell's helpers, the dialog's common
// controls, the crypto provider behind the stack protector's random guard,
// and their own imports) searches System32 and never the program's folder.
// Where the call is missing, the older safe search: the current folder
// leaves the search order, and the program's folder is searched after the
// system folders (SafeDllSearchMode, on by default).
void LoadLibrariesFromSystemOnly() {
  if (SetDefaultDllDirectoriesFunction* set_default = DefaultDllDirectoriesCall()) {
    set_default(LOAD_LIBRARY_SEARCH_SYSTEM32);
    return;
  }
  SetDllDirectoryW(L"");
}

namespace {
// Run by the C runtime before every constructor of a lower priority (the
// stack protector's guard set-up among them) and before main, which calls
// it once more.
__attribute__((constructor(101))) void LoadLibrariesFromSystemOnlyAtStart() {
  LoadLibrariesFromSystemOnly();
}
}  // namespace

}  // namespace brantvell
