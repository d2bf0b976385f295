// Reads shell links (".lnk" files) the way the shell itself does, through the
// system's ShellLink object, so a script can compare what either program
// wrote with what Windows sees in it. For each file named on the command line
// it prints, UTF-8, one field a line:
//   link=<the argument>
//   path=<target path, as stored>
//   arguments=<command-line arguments>
//   workdir=<working folder>
//   icon=<icon file>,<icon index>
//   show=<show command>
// A file that cannot be loaded prints "error=0x<HRESULT>" after its link line
// and makes the exit status 1.
#include <cstdio>
#include <string>

#include "platform/win32/com_support.h"

#include <shlobj.h>
#include <shobjidl.h>

namespace {

using brantvell::ComPtr;
using brantvell::Narrow;

void PrintField(const char* label, const std::wstring& value) {
  std::string line = std::string(label) + "=" + Narrow(value.data(), value.size()) + "\n";
  std::fwrite(line.data(), 1, line.size(), stdout);
}

HRESULT ProbeLink(const wchar_t* file) {
  ComPtr<IShellLinkW> link;
  HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(link.put()));
  if (FAILED(hr)) return hr;
  ComPtr<IPersistFile> persist;
  hr = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(persist.put()));
  if (FAILED(hr)) return hr;
  hr = persist->Load(file, STGM_READ);
  if (FAILED(hr)) return hr;

  // Room for the longest text a link holds.
  const int kSize = 32768;
  std::wstring buffer(kSize, L'\0');
  if (FAILED(hr = link->GetPath(&buffer[0], kSize, nullptr, SLGP_RAWPATH))) return hr;
  PrintField("path", std::wstring(buffer.c_str()));
  buffer[0] = L'\0';
  if (FAILED(hr = link->GetArguments(&buffer[0], kSize))) return hr;
  PrintField("arguments", std::wstring(buffer.c_str()));
  buffer[0] = L'\0';
  if (FAILED(hr = link->GetWorkingDirectory(&buffer[0], kSize))) return hr;
  PrintField("workdir", std::wstring(buffer.c_str()));
  buffer[0] = L'\0';
  int icon_index = -1;
  if (FAILED(hr = link->GetIconLocation(&buffer[0], kSize, &icon_index))) return hr;
  PrintField("icon", std::wstring(buffer.c_str()) + L"," + std::to_wstring(icon_index));
  int show = -1;
  if (FAILED(hr = link->GetShowCmd(&show))) return hr;
  PrintField("show", std::to_wstring(show));
  return S_OK;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  brantvell::ComApartment apartment;
  int status = 0;
  for (int i = 1; i < argc; ++i) {
    PrintField("link", argv[i]);
    HRESULT hr = ProbeLink(argv[i]);
    if (FAILED(hr)) {
      char line[32];
      std::snprintf(line, sizeof line, "error=0x%08lX\n", static_cast<unsigned long>(hr));
      std::fputs(line, stdout);
      status = 1;
    }
  }
  std::fflush(stdout);
  return status;
}
