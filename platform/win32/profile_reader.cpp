#include "platform/profile_reader.h"

#include "platform/service_instance.h"
#include "platform/win32/win32.h"
#include "platform/win32/win32_text.h"

namespace brantvell {

namespace {

// The system's own ANSI profile reader, so INI files written with the
// system's text tools read as they always have.
class Win32ProfileReader : public ProfileReader {
 public:
  std::string Read(const std::string& path, const std::string& section,
                   const std::string& key) override {
    char buffer[1024];
    DWORD count =
        GetPrivateProfileStringA(Utf8ToSystemAnsi(section).c_str(), Utf8ToSystemAnsi(key).c_str(),
                                 "", buffer, sizeof(buffer), Utf8ToSystemAnsi(path).c_str());
    return SystemAnsiToUtf8(std::string(buffer, count));
  }
};

}  // namespace

ProfileReader& ProfileReader::Real() { return ServiceInstance<Win32ProfileReader>(); }

}  // namespace brantvell
