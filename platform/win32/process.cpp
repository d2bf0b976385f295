#include "platform/process.h"

#include <cstdio>
#include <vector>

#include "platform/program_arguments.h"
#include "platform/service_instance.h"
#include "platform/win32/command_text.h"
#include "platform/win32/system_library.h"
#include "platform/win32/win32.h"
#include "platform/win32/win32_text.h"

#include <winver.h>

namespace brantvell {

namespace {

std::wstring ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
    if (length == 0) return std::wstring();
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

// The functions of version.dll (not a KnownDLL, so taken from System32).
struct VersionFunctions {
  decltype(::GetFileVersionInfoSizeW)* info_size =
      SystemFunction<decltype(::GetFileVersionInfoSizeW)>(L"version.dll",
                                                          "GetFileVersionInfoSizeW");
  decltype(::GetFileVersionInfoW)* info =
      SystemFunction<decltype(::GetFileVersionInfoW)>(L"version.dll", "GetFileVersionInfoW");
  decltype(::VerQueryValueW)* query =
      SystemFunction<decltype(::VerQueryValueW)>(L"version.dll", "VerQueryValueW");
  bool Complete() const { return info_size && info && query; }
};

const VersionFunctions& Versions() {
  static const VersionFunctions functions;
  return functions;
}

// The Comments text of the resource's first translation, "" when absent.
std::string VersionComments(const std::vector<char>& data) {
  struct Translation {
    WORD language;
    WORD code_page;
  };
  Translation* translations = nullptr;
  UINT size = 0;
  if (!Versions().query(data.data(), L"\\VarFileInfo\\Translation",
                        reinterpret_cast<void**>(&translations), &size) ||
      size < sizeof(Translation)) {
    return std::string();
  }
  char key[64];
  snprintf(key, sizeof(key), "\\StringFileInfo\\%04x%04x\\Comments",
           static_cast<unsigned>(translations[0].language),
           static_cast<unsigned>(translations[0].code_page));
  wchar_t* comments = nullptr;
  if (!Versions().query(data.data(), Widen(key).c_str(), reinterpret_cast<void**>(&comments),
                        &size) ||
      !comments || size == 0) {
    return std::string();
  }
  return Narrow(std::wstring(comments));
}

class Win32Process : public Process {
 public:
  std::string Environment(const std::string& name) override {
    std::wstring wide_name = Widen(name);
    DWORD size = GetEnvironmentVariableW(wide_name.c_str(), nullptr, 0);
    if (size == 0) return std::string();
    std::wstring value(size, L'\0');
    DWORD length = GetEnvironmentVariableW(wide_name.c_str(), &value[0], size);
    if (length == 0 || length >= size) return std::string();
    value.resize(length);
    return Narrow(value);
  }

  std::string ProgramFolder() override {
    std::wstring path = ModulePath();
    size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return std::string();
    return Narrow(path.substr(0, slash));
  }

  std::string CommandText() override {
    return CommandTextAfterProgram(Narrow(std::wstring(GetCommandLineW())));
  }

  // The numbers of the executable's version resource, which the resource
  // script fills from the same header; the header when there is none.
  VersionInfo Version() override {
    if (!Versions().Complete()) return BuiltInVersion();
    std::wstring path = ModulePath();
    DWORD handle = 0;
    DWORD size = Versions().info_size(path.c_str(), &handle);
    if (size == 0) return BuiltInVersion();
    std::vector<char> data(size);
    if (!Versions().info(path.c_str(), 0, size, data.data())) return BuiltInVersion();
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixed_size = 0;
    if (!Versions().query(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixed_size) ||
        !fixed || fixed_size < sizeof(VS_FIXEDFILEINFO)) {
      return BuiltInVersion();
    }
    VersionInfo version;
    version.major = HIWORD(fixed->dwFileVersionMS);
    version.minor = LOWORD(fixed->dwFileVersionMS);
    version.revision = LOWORD(fixed->dwFileVersionLS);
    version.comments = VersionComments(data);
    return version;
  }
};

}  // namespace

Process& Process::Real() { return ServiceInstance<Win32Process>(); }

// The command text comes from GetCommandLineW, quotes kept as typed.
void SetProgramArguments(int, char**) {}

}  // namespace brantvell
