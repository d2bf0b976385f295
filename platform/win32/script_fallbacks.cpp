#include "platform/win32/script_fallbacks.h"

#include <utility>

#include "platform/link_limits.h"
#include "platform/text.h"
#include "platform/win32/com_support.h"
#include "platform/win32/url_shortcut.h"

namespace brantvell {

namespace {

// A member the component does not implement, as its caller sees it.
bool IsNotImplemented(const Error& error) {
  return error.number() == ComErrorNumber(E_NOTIMPL) || error.number() == kErrMemberNotSupported;
}

bool EndsWithNoCase(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && EqualsNoCase(text.substr(text.size() - tail.size()), tail);
}

// The text of a path argument; false when it holds no text.
bool PathArgument(const std::vector<Value>& args, std::string* path) {
  if (args.empty()) return false;
  const Value* v = &args[0];
  while (v->type() == Value::kVariant) v = &v->inner();
  if (v->type() != Value::kString) return false;
  *path = v->text();
  return true;
}

}  // namespace

std::string FullPathName(const std::string& path) {
  std::wstring wide = Widen(path);
  DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (size == 0) return path;
  std::wstring full(size, L'\0');
  DWORD length = GetFullPathNameW(wide.c_str(), size, &full[0], nullptr);
  if (length == 0 || length >= size) return path;
  return Narrow(full.data(), length);
}

FallbackScriptObject::FallbackScriptObject(std::shared_ptr<ScriptObject> inner,
                                           std::string shortcut_path)
    : inner_(std::move(inner)), shortcut_path_(std::move(shortcut_path)) {}

std::string FallbackScriptObject::TypeName() { return inner_->TypeName(); }

Value FallbackScriptObject::Get(const std::string& member, const std::vector<Value>& args) {
  // The system's link object cuts a long text and saves a link that points
  // nowhere; refuse the save instead, as the Linux link writer does.
  if (!shortcut_path_.empty() && EqualsNoCase(member, "Save")) {
    CheckLinkTextsFit(target_, arguments_, working_directory_);
  }
  if (shortcut_path_.empty() || !args.empty() || !EqualsNoCase(member, "FullName")) {
    return inner_->Get(member, args);
  }
  try {
    return inner_->Get(member, args);
  } catch (const Error& error) {
    if (!IsNotImplemented(error)) throw;
    return Value::String(shortcut_path_);
  }
}

std::shared_ptr<ScriptObject> FallbackScriptObject::GetObject(const std::string& member,
                                                              const std::vector<Value>& args) {
  if (EqualsNoCase(member, "CreateShortcut")) return CreateShortcut(args);
  return std::make_shared<FallbackScriptObject>(inner_->GetObject(member, args));
}

void FallbackScriptObject::Put(const std::string& member, const Value& value) {
  inner_->Put(member, value);
  if (shortcut_path_.empty() || value.type() != Value::kString) return;
  if (EqualsNoCase(member, "TargetPath")) target_ = value.text();
  if (EqualsNoCase(member, "Arguments")) arguments_ = value.text();
  if (EqualsNoCase(member, "WorkingDirectory")) working_directory_ = value.text();
}

std::shared_ptr<ScriptObject> FallbackScriptObject::CreateShortcut(const std::vector<Value>& args) {
  std::shared_ptr<ScriptObject> shortcut = inner_->GetObject("CreateShortcut", args);
  std::string path;
  if (!PathArgument(args, &path)) return std::make_shared<FallbackScriptObject>(shortcut);
  path = FullPathName(path);
  if (EndsWithNoCase(path, ".url") && shortcut->TypeName() != "IWshURLShortcut") {
    return std::make_shared<UrlShortcutObject>(path);
  }
  return std::make_shared<FallbackScriptObject>(std::move(shortcut), path);
}

}  // namespace brantvell
