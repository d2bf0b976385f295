#include "platform/file_system.h"

#include <algorithm>

#include "platform/service_instance.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win32.h"
#include "platform/win32/win32_text.h"

namespace brantvell {

namespace {

bool Attributes(const std::string& path, DWORD* attributes) {
  *attributes = GetFileAttributesW(Widen(path).c_str());
  return *attributes != INVALID_FILE_ATTRIBUTES;
}

class Win32FileSystem : public FileSystem {
 public:
  bool FileExists(const std::string& path) override {
    DWORD attributes;
    return Attributes(path, &attributes) && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
  }

  bool IsFolder(const std::string& path) override {
    DWORD attributes;
    return Attributes(path, &attributes) && (attributes & FILE_ATTRIBUTE_DIRECTORY);
  }

  bool ListFolder(const std::string& folder, std::vector<std::string>* names) override {
    names->clear();
    std::string pattern = folder;
    if (!pattern.empty() && pattern.back() != '\\' && pattern.back() != '/') pattern += '\\';
    pattern += '*';
    WIN32_FIND_DATAW entry;
    UniqueFind find(FindFirstFileW(Widen(pattern).c_str(), &entry));
    if (!find) {
      // A drive's root has no "." entry, so an empty one matches nothing.
      return GetLastError() == ERROR_FILE_NOT_FOUND;
    }
    do {
      std::string name = Narrow(std::wstring(entry.cFileName));
      if (name == "." || name == "..") continue;
      if (entry.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) continue;
      names->push_back(name);
    } while (FindNextFileW(find.get(), &entry));
    return true;
  }

  bool DeleteFile(const std::string& path) override {
    return DeleteFileW(Widen(path).c_str()) != 0;
  }

  // Log files are written in the ANSI code page, as the system's own text
  // tools expect them. A text that does not fit whole (a full disk, a quota)
  // is cut back to where it began, so the file always ends at a line's end.
  bool AppendText(const std::string& path, const std::string& text) override {
    UniqueFile file(CreateFileW(Widen(path).c_str(), FILE_APPEND_DATA | FILE_WRITE_DATA,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    std::string ansi = Utf8ToSystemAnsi(text);
    LARGE_INTEGER begin{};
    if (!SetFilePointerEx(file.get(), LARGE_INTEGER{}, &begin, FILE_END)) return false;
    bool written = true;
    size_t done = 0;
    while (written && done < ansi.size()) {
      DWORD chunk = static_cast<DWORD>(std::min<size_t>(ansi.size() - done, 1u << 30));
      DWORD count = 0;
      written = WriteFile(file.get(), ansi.data() + done, chunk, &count, nullptr) && count > 0;
      done += count;
    }
    if (!written && SetFilePointerEx(file.get(), begin, nullptr, FILE_BEGIN))
      SetEndOfFile(file.get());
    // Closed here, to tell whether the data reached the file.
    return CloseHandle(file.release()) && written;
  }
};

}  // namespace

FileSystem& FileSystem::Real() { return ServiceInstance<Win32FileSystem>(); }

}  // namespace brantvell
