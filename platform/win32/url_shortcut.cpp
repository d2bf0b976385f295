#include "platform/win32/url_shortcut.h"

#include <algorithm>
#include <utility>

#include "platform/text.h"
#include "platform/win32/com_support.h"
#include "platform/win32/dispatch_object.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_text.h"

namespace brantvell {

namespace {

Error NoSuchMember() { return ComError(DISP_E_MEMBERNOTFOUND); }

Error WrongArgumentCount() { return ComponentError(kErrWrongArgumentCount); }

Error LastSystemError() { return ComError(HRESULT_FROM_WIN32(GetLastError())); }

// A value as the text a string property receives, converted the way the
// automation runtime converts it.
std::string PropertyText(const Value& value) {
  Variant given;
  ValueToVariant(value, given.get());
  Variant text;
  HRESULT hr = VariantChangeType(text.get(), given.get(), 0, VT_BSTR);
  if (FAILED(hr)) throw ComponentError(kErrTypeMismatch);
  return Bstr::ToUtf8(text.get()->bstrVal);
}

// A temporary file that is removed again unless it was put in place.
class TemporaryFile {
 public:
  explicit TemporaryFile(std::wstring path) : path_(std::move(path)) {}
  ~TemporaryFile() {
    if (!path_.empty()) DeleteFileW(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  const std::wstring& path() const { return path_; }
  void Kept() { path_.clear(); }

 private:
  std::wstring path_;
};

void WriteAll(HANDLE file, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
    DWORD count = 0;
    if (!WriteFile(file, bytes.data() + done, chunk, &count, nullptr)) throw LastSystemError();
    done += count;
  }
}

}  // namespace

void ReplaceFileContent(const std::string& path, const std::string& bytes) {
  std::wstring target = Widen(path);
  TemporaryFile temporary(target + L".~tmp");
  UniqueFile file(CreateFileW(temporary.path().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    Error failure = LastSystemError();
    temporary.Kept();  // nothing was created
    throw failure;
  }
  WriteAll(file.get(), bytes);
  // Closed here, to tell whether the data reached the file.
  if (!CloseHandle(file.release())) throw LastSystemError();
  if (!MoveFileExW(temporary.path().c_str(), target.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    throw LastSystemError();
  }
  temporary.Kept();
}

UrlShortcutObject::UrlShortcutObject(std::string full_path) : path_(std::move(full_path)) {}

std::string UrlShortcutObject::TypeName() { return "IWshURLShortcut"; }

Value UrlShortcutObject::Get(const std::string& member, const std::vector<Value>& args) {
  bool full_name = EqualsNoCase(member, "FullName");
  bool target_path = EqualsNoCase(member, "TargetPath");
  bool save = EqualsNoCase(member, "Save");
  if (!full_name && !target_path && !save) throw NoSuchMember();
  if (!args.empty()) throw WrongArgumentCount();
  if (full_name) return Value::String(path_);
  if (target_path) return Value::String(target_);
  // The address is one line of the INI text: a line break would end it and
  // start lines of its own.
  if (target_.find_first_of(std::string("\r\n\0", 3)) != std::string::npos) {
    throw ComponentError(kErrInvalidProcedureCall);
  }
  ReplaceFileContent(path_, Utf8ToSystemAnsi("[InternetShortcut]\r\nURL=" + target_ + "\r\n"));
  return Value();
}

std::shared_ptr<ScriptObject> UrlShortcutObject::GetObject(const std::string& member,
                                                           const std::vector<Value>&) {
  if (EqualsNoCase(member, "FullName") || EqualsNoCase(member, "TargetPath")) {
    throw ComponentError(kErrObjectRequired);
  }
  throw NoSuchMember();
}

void UrlShortcutObject::Put(const std::string& member, const Value& value) {
  if (!EqualsNoCase(member, "TargetPath")) throw NoSuchMember();
  target_ = PropertyText(value);
}

}  // namespace brantvell
