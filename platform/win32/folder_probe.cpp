#include "platform/folder_probe.h"

#include "platform/error.h"
#include "platform/win32/win32.h"
#include "platform/win32/win32_text.h"

namespace brantvell {

namespace {

bool IsFolder(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Makes and at once drops a new file in `folder`; the system's error code
// when it cannot.
DWORD TryNewFile(const std::wstring& folder) {
  std::wstring path = folder + L"\\~brantvell-" + std::to_wstring(GetCurrentProcessId()) + L".tmp";
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) return GetLastError();
  CloseHandle(file);
  return ERROR_SUCCESS;
}

}  // namespace

void CheckFolderTakesFiles(const std::string& folder) {
  std::wstring path = Widen(folder);
  while (!path.empty() && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
  if (IsFolder(path)) {
    DWORD error = TryNewFile(path);
    if (error != ERROR_SUCCESS)
      throw ComponentError(static_cast<int32_t>(HRESULT_FROM_WIN32(error)));
    return;
  }
  // Not there yet: it is made in the nearest folder above it that exists,
  // and a save into it fails with "path not found" when that cannot be.
  std::wstring above = path;
  do {
    size_t slash = above.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return;
    above.resize(slash);
  } while (!above.empty() && !IsFolder(above));
  if (above.empty()) return;
  if (TryNewFile(above) != ERROR_SUCCESS) {
    throw ComponentError(kErrSystemPathNotFound);
  }
}

}  // namespace brantvell
