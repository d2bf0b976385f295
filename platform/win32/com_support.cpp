#include "platform/win32/com_support.h"

#include "platform/win32/unique_handle.h"

namespace brantvell {

Bstr::Bstr(const std::string& utf8) {
  std::wstring wide = Widen(utf8);
  str_ = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

std::string Bstr::ToUtf8(BSTR str) {
  // A BSTR carries its length and may hold NUL characters.
  return str ? Narrow(str, SysStringLen(str)) : std::string();
}

ComApartment::ComApartment() {
  // S_FALSE: the thread was already in an apartment of this kind, which
  // still needs its matching CoUninitialize. RPC_E_CHANGED_MODE: the thread
  // lives in another kind, usable as it is.
  HRESULT hr = CoInitialize(nullptr);
  joined_ = SUCCEEDED(hr);
}

ComApartment::~ComApartment() {
  if (joined_) CoUninitialize();
}

int32_t ComErrorNumber(HRESULT hr) {
  uint32_t code = static_cast<uint32_t>(hr);
  if ((code & 0xFFFF0000u) == 0x800A0000u) return static_cast<int32_t>(code & 0xFFFFu);
  return static_cast<int32_t>(code);
}

std::string SystemMessage(HRESULT hr) {
  UniqueLocalMem<wchar_t> owned;
  DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t*>(owned.put()), 0, nullptr);
  const wchar_t* buffer = owned.get();
  if (length == 0 || buffer == nullptr) return std::string();
  while (length > 0 && (buffer[length - 1] == L'\r' || buffer[length - 1] == L'\n' ||
                        buffer[length - 1] == L' ')) {
    --length;
  }
  return Narrow(buffer, length);
}

Error ComError(HRESULT hr, std::string source, std::string description) {
  if (hr == DISP_E_MEMBERNOTFOUND || hr == DISP_E_UNKNOWNNAME) {
    if (description.empty()) description = StandardErrorText(kErrMemberNotSupported);
    return Error(kErrMemberNotSupported, std::move(source), std::move(description));
  }
  return Error(ComErrorNumber(hr), std::move(source), std::move(description));
}

}  // namespace brantvell
