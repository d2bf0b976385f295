#include "platform/make_path.h"

#include "platform/win32/system_library.h"
#include "platform/win32/win32.h"
#include "platform/win32/win32_text.h"

#include <imagehlp.h>

namespace brantvell {

namespace {

// Creates the levels one by one through the Unicode API.
bool MakeLevelsWide(const std::wstring& path) {
  size_t last = path.find_last_of(L"\\/");
  if (last == std::wstring::npos) return true;
  // Skip the root ("C:\" or "\\server\share\") which cannot be created.
  size_t start = 0;
  if (path.size() >= 2 && path[1] == L':') {
    start = 3;
  } else if (path.compare(0, 2, L"\\\\") == 0) {
    size_t server = path.find(L'\\', 2);
    start = server == std::wstring::npos ? path.size() : path.find(L'\\', server + 1);
    if (start == std::wstring::npos) start = path.size();
  }
  for (size_t slash = path.find_first_of(L"\\/", start);
       slash != std::wstring::npos && slash <= last;
       slash = path.find_first_of(L"\\/", slash + 1)) {
    if (slash == 0) continue;
    std::wstring level = path.substr(0, slash);
    if (!CreateDirectoryW(level.c_str(), nullptr)) {
      DWORD attributes = GetFileAttributesW(level.c_str());
      if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return false;
      }
    }
  }
  return true;
}

}  // namespace

bool MakeSureDirectoryPathExists(const std::string& path) {
  // The system call takes ANSI text only; a path with characters the code
  // page lacks would name other folders than the ones asked for.
  std::string ansi = Utf8ToSystemAnsi(path);
  if (SystemAnsiToUtf8(ansi) != path) return MakeLevelsWide(Widen(path));
  // imagehlp from System32, with its own imports (dbghelp) found there too.
  static auto* make_sure = SystemFunction<decltype(::MakeSureDirectoryPathExists)>(
      L"imagehlp.dll", "MakeSureDirectoryPathExists");
  if (!make_sure) return MakeLevelsWide(Widen(path));
  return make_sure(ansi.c_str()) != FALSE;
}

}  // namespace brantvell
