/* A planted DLL: when a process loads it, it leaves a file named like
   itself in the folder $BRANTVELL_PLANT_MARKERS (a Windows path). Copied
   beside the program under the names of the DLLs it loads, it tells which of
   them were taken from the program's folder. */
#include <windows.h>
BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID reserved) {
  (void)reserved;
  if (reason == DLL_PROCESS_ATTACH) {
    wchar_t folder[MAX_PATH], module[MAX_PATH], marker[2 * MAX_PATH];
    DWORD n = GetEnvironmentVariableW(L"BRANTVELL_PLANT_MARKERS", folder, MAX_PATH);
    DWORD m = GetModuleFileNameW(self, module, MAX_PATH);
    if (n > 0 && n < MAX_PATH && m > 0 && m < MAX_PATH) {
      const wchar_t* name = module;
      for (const wchar_t* p = module; *p; ++p) if (*p == L'\\' || *p == L'/') name = p + 1;
      lstrcpyW(marker, folder); lstrcatW(marker, L"\\"); lstrcatW(marker, name);
      HANDLE h = CreateFileW(marker, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
      if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
  }
  return TRUE;
}
