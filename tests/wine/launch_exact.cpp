// Starts a Windows program with an exact command text, as an installer or a
// deployment tool does through CreateProcessW: `wine prog.exe ARGS` would
// build the text from the arguments with quoting of its own.
//
// Usage: launch_exact.exe PROGRAM TEXT-FILE
// The program gets "PROGRAM" (quoted), a space and the UTF-8 text of
// TEXT-FILE as its command text. Exit status: the program's own, or 120
// when it cannot be started.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::wstring FromUtf8(const std::string& text) {
  if (text.empty()) return std::wstring();
  int length =
      MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
  return wide;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    std::fputs("usage: launch_exact PROGRAM TEXT-FILE\n", stderr);
    return 120;
  }
  FILE* file = _wfopen(argv[2], L"rb");
  if (!file) return 120;
  std::string text;
  char buffer[4096];
  size_t count;
  while ((count = std::fread(buffer, 1, sizeof(buffer), file)) > 0) text.append(buffer, count);
  std::fclose(file);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();

  std::wstring command = L"\"" + std::wstring(argv[1]) + L"\" " + FromUtf8(text);
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(argv[1], &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    std::fprintf(stderr, "launch_exact: CreateProcessW failed: %lu\n", GetLastError());
    return 120;
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD status = 120;
  GetExitCodeProcess(process.hProcess, &status);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<int>(status);
}
