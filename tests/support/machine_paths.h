// The places of the Windows machine that the tests' fakes stand for: the
// registry value that names the application's folder, the all-users
// Start-menu group and the public desktop.
#ifndef BRANTVELL_TESTS_SUPPORT_MACHINE_PATHS_H_
#define BRANTVELL_TESTS_SUPPORT_MACHINE_PATHS_H_

#include <string>

namespace brantvell {

constexpr char kRegistryAppPath[] =
    "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\VR_CLT.exe\\Path";
constexpr char kPrograms[] = "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs";
constexpr char kGroup[] = "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Halvorna";
constexpr char kDesktop[] = "C:\\Users\\Public\\Desktop";

inline std::string InGroup(const std::string& file) { return std::string(kGroup) + "\\" + file; }
inline std::string OnDesktop(const std::string& file) {
  return std::string(kDesktop) + "\\" + file;
}

}  // namespace brantvell

#endif  // BRANTVELL_TESTS_SUPPORT_MACHINE_PATHS_H_
