#include "platform/profile_reader.h"

#include "platform/service_instance.h"
#include "platform/win32/win32.h"
#include "platform/win32/win32_text.h"

namespace brantvell {

namespace {

// The system's own profile reader, so INI files written with the system's
// text tools read as they always have. The wide call: the ANSI one cannot
// name a file in a folder whose name the code page lacks ("Dvořák" in code
// page 1252), and would read no log.ini there at all.
class Win32ProfileReader : public ProfileReader {
 public:
  std::string Read(const std::string& path, const std::string& section,
                   const std::string& key) override {
    wchar_t buffer[1024];
    DWORD count = GetPrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), L"", buffer,
                                           sizeof(buffer) / sizeof(buffer[0]), Widen(path).c_str());
    return Narrow(buffer, count);
  }
};

}  // namespace

ProfileReader& ProfileReader::Real() { return ServiceInstance<Win32ProfileReader>(); }

}  // namespace brantvell
