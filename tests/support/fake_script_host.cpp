#include "tests/support/fake_script_host.h"

#include <algorithm>

#include "platform/text.h"

namespace brantvell {

namespace {

std::string Lower(const std::string& text) { return ToLower(text); }

std::string ArgText(const std::vector<Value>& args, size_t index) {
  return index < args.size() ? FakeValueText(args[index]) : std::string();
}

std::string CallText(const std::string& type, const std::string& member,
                     const std::vector<Value>& args) {
  std::string text = type + "." + member + "(";
  for (size_t i = 0; i < args.size(); ++i) {
    if (i) text += ", ";
    text += FakeValueText(args[i]);
  }
  return text + ")";
}

Error ComponentError(int32_t number, const std::string& description) {
  return Error(number, kFakeComponentSource, description);
}

class FakeObject : public ScriptObject {
 public:
  FakeObject(FakeScriptHost& host, std::string type) : host_(host), type_(std::move(type)) {
    ++host_.live_objects;
  }
  ~FakeObject() override { --host_.live_objects; }

  std::string TypeName() override { return type_; }

  Value Get(const std::string& member, const std::vector<Value>& args) override {
    host_.Record(CallText(type_, member, args));
    host_.FailIfAsked(member);
    return DoGet(Lower(member), args);
  }
  std::shared_ptr<ScriptObject> GetObject(const std::string& member,
                                          const std::vector<Value>& args) override {
    host_.Record(CallText(type_, member, args));
    host_.FailIfAsked(member);
    return DoGetObject(Lower(member), args);
  }
  void Put(const std::string& member, const Value& value) override {
    host_.Record(type_ + "." + member + "=" + FakeValueText(value));
    host_.FailIfAsked(member);
    DoPut(Lower(member), value);
  }

 protected:
  virtual Value DoGet(const std::string&, const std::vector<Value>&) { throw NoMember(); }
  virtual std::shared_ptr<ScriptObject> DoGetObject(const std::string&, const std::vector<Value>&) {
    throw NoMember();
  }
  virtual void DoPut(const std::string&, const Value&) { throw NoMember(); }

  Error NoMember() { return ComponentError(438, "Object doesn't support this property or method"); }

  FakeScriptHost& host_;
  std::string type_;
};

class FakeCollection : public FakeObject {
 public:
  FakeCollection(FakeScriptHost& host, std::string type, int32_t count)
      : FakeObject(host, std::move(type)), count_(count) {}

 protected:
  Value DoGet(const std::string& member, const std::vector<Value>& args) override {
    if (member == "count") return Value::Long(count_);
    return FakeObject::DoGet(member, args);
  }

 private:
  int32_t count_;
};

class FakeFolder : public FakeObject {
 public:
  FakeFolder(FakeScriptHost& host, std::string key) : FakeObject(host, "IFolder"), key_(key) {}

 protected:
  std::shared_ptr<ScriptObject> DoGetObject(const std::string& member,
                                            const std::vector<Value>& args) override {
    if (member == "files") {
      int32_t count = 0;
      for (const auto& [key, file] : host_.files_) count += FakeScriptHost::Parent(key) == key_;
      return std::make_shared<FakeCollection>(host_, "IFileCollection", count);
    }
    if (member == "subfolders") {
      int32_t count = 0;
      for (const std::string& key : host_.folders_) count += FakeScriptHost::Parent(key) == key_;
      return std::make_shared<FakeCollection>(host_, "IFolderCollection", count);
    }
    return FakeObject::DoGetObject(member, args);
  }

 private:
  std::string key_;
};

class FakeShortcut : public FakeObject {
 public:
  FakeShortcut(FakeScriptHost& host, std::string path)
      : FakeObject(host, "IWshShortcut"), path_(std::move(path)) {}

 protected:
  Value DoGet(const std::string& member, const std::vector<Value>& args) override {
    if (member == "fullname") return Value::String(path_);
    if (member == "save") {
      if (!host_.HasFolder(FakeScriptHost::Parent(path_))) {
        throw ComponentError(static_cast<int32_t>(0x80070003u), "Path not found");
      }
      if (host_.locked_folders.count(FakeScriptHost::Key(FakeScriptHost::Parent(path_)))) {
        throw ComponentError(70, "Permission denied");
      }
      FakeFile file = data_;
      file.path = path_;
      file.shortcut = true;
      host_.files_[FakeScriptHost::Key(path_)] = file;
      return Value();
    }
    return FakeObject::DoGet(member, args);
  }
  void DoPut(const std::string& member, const Value& value) override {
    if (member == "targetpath") {
      data_.target_path = FakeValueText(value);
    } else if (member == "arguments") {
      data_.arguments = FakeValueText(value);
    } else if (member == "workingdirectory") {
      data_.working_directory = FakeValueText(value);
    } else if (member == "iconlocation") {
      data_.icon_location = FakeValueText(value);
    } else if (member == "windowstyle") {
      data_.window_style = value.integer();
    } else {
      FakeObject::DoPut(member, value);
    }
  }

 private:
  std::string path_;
  FakeFile data_;
};

class FakeShell : public FakeObject {
 public:
  explicit FakeShell(FakeScriptHost& host) : FakeObject(host, "IWshShell3") {}

 protected:
  Value DoGet(const std::string& member, const std::vector<Value>& args) override {
    if (member == "specialfolders") {
      auto it = host_.special_folders.find(ArgText(args, 0));
      return Value::String(it == host_.special_folders.end() ? "" : it->second);
    }
    if (member == "regread") {
      auto it = host_.registry.find(ArgText(args, 0));
      if (it == host_.registry.end()) {
        throw Error(static_cast<int32_t>(0x80070002u), "WshShell.RegRead",
                    "Unable to open registry key \"" + ArgText(args, 0) + "\" for reading.");
      }
      return it->second;
    }
    return FakeObject::DoGet(member, args);
  }
  std::shared_ptr<ScriptObject> DoGetObject(const std::string& member,
                                            const std::vector<Value>& args) override {
    if (member == "createshortcut") {
      std::string path = ArgText(args, 0);
      std::string ext = Lower(path.size() >= 4 ? path.substr(path.size() - 4) : path);
      if (ext != ".lnk" && ext != ".url") throw ComponentError(5, "Invalid procedure call");
      return std::make_shared<FakeShortcut>(host_, path);
    }
    return FakeObject::DoGetObject(member, args);
  }
};

class FakeFileSystem : public FakeObject {
 public:
  explicit FakeFileSystem(FakeScriptHost& host) : FakeObject(host, "IFileSystem3") {}

 protected:
  Value DoGet(const std::string& member, const std::vector<Value>& args) override {
    std::string path = ArgText(args, 0);
    std::string key = FakeScriptHost::Key(path);
    if (member == "folderexists") return Value::Boolean(host_.HasFolder(path));
    if (member == "fileexists") return Value::Boolean(host_.HasFile(path));
    if (member == "buildpath") {
      std::string name = ArgText(args, 1);
      bool seam = (!path.empty() && path.back() == '\\') || (!name.empty() && name[0] == '\\');
      if (path.empty()) return Value::String(name);
      return Value::String(path + (seam ? "" : "\\") + name);
    }
    if (member == "deletefile") {
      auto it = host_.files_.find(key);
      if (it == host_.files_.end()) throw ComponentError(53, "File not found");
      if (it->second.read_only && args.at(1).integer() == 0) {
        throw ComponentError(70, "Permission denied");
      }
      host_.files_.erase(it);
      return Value();
    }
    if (member == "deletefolder") {
      if (!host_.folders_.count(key)) throw ComponentError(76, "Path not found");
      // Takes the folder with everything in it.
      std::string inside = key + "\\";
      for (auto it = host_.files_.begin(); it != host_.files_.end();) {
        it = it->first.compare(0, inside.size(), inside) == 0 ? host_.files_.erase(it) : ++it;
      }
      for (auto it = host_.folders_.begin(); it != host_.folders_.end();) {
        it = (*it == key || it->compare(0, inside.size(), inside) == 0) ? host_.folders_.erase(it)
                                                                        : ++it;
      }
      return Value();
    }
    return FakeObject::DoGet(member, args);
  }
  std::shared_ptr<ScriptObject> DoGetObject(const std::string& member,
                                            const std::vector<Value>& args) override {
    if (member == "getfolder") {
      std::string key = FakeScriptHost::Key(ArgText(args, 0));
      if (!host_.folders_.count(key)) throw ComponentError(76, "Path not found");
      return std::make_shared<FakeFolder>(host_, key);
    }
    return FakeObject::DoGetObject(member, args);
  }
};

}  // namespace

std::string FakeValueText(const Value& value) {
  switch (value.type()) {
    case Value::kString:
      return value.text();
    case Value::kBoolean:
      return value.integer() ? "True" : "False";
    case Value::kInteger:
    case Value::kLong:
      return std::to_string(value.integer());
    case Value::kEmpty:
      return "<Empty>";
    default:
      return "<type " + std::to_string(value.type()) + ">";
  }
}

FakeScriptHost::FakeScriptHost() {
  special_folders["AllUsersPrograms"] = "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs";
  special_folders["AllUsersDesktop"] = "C:\\Users\\Public\\Desktop";
  AddFolder(special_folders["AllUsersPrograms"]);
  AddFolder(special_folders["AllUsersDesktop"]);
}

std::shared_ptr<ScriptObject> FakeScriptHost::Create(const std::string& prog_id) {
  Record("Create " + prog_id);
  auto failure = create_failures.find(prog_id);
  if (failure != create_failures.end()) throw failure->second;
  if (prog_id == "WScript.Shell") return std::make_shared<FakeShell>(*this);
  if (prog_id == "Scripting.FileSystemObject") return std::make_shared<FakeFileSystem>(*this);
  throw ComponentError(429, "ActiveX component can't create object");
}

// Windows treats repeated backslashes as one and ignores a trailing one.
std::string FakeScriptHost::Key(const std::string& path) {
  std::string key;
  for (char c : Lower(path)) {
    if (c == '\\' && !key.empty() && key.back() == '\\') continue;
    key += c;
  }
  if (!key.empty() && key.back() == '\\') key.pop_back();
  return key;
}

std::string FakeScriptHost::Parent(const std::string& path) {
  std::string key = Key(path);
  size_t cut = key.rfind('\\');
  return cut == std::string::npos ? std::string() : key.substr(0, cut);
}

void FakeScriptHost::AddFolder(const std::string& path) {
  std::string key = Key(path);
  for (size_t cut = key.find('\\'); cut != std::string::npos; cut = key.find('\\', cut + 1)) {
    folders_.insert(key.substr(0, cut));
  }
  folders_.insert(key);
}

void FakeScriptHost::AddFile(const std::string& path, bool read_only) {
  AddFolder(Parent(path));
  FakeFile file;
  file.path = path;
  file.read_only = read_only;
  files_[Key(path)] = file;
}

bool FakeScriptHost::HasFolder(const std::string& path) const {
  return folders_.count(Key(path)) > 0;
}

bool FakeScriptHost::HasFile(const std::string& path) const { return files_.count(Key(path)) > 0; }

const FakeFile* FakeScriptHost::File(const std::string& path) const {
  auto it = files_.find(Key(path));
  return it == files_.end() ? nullptr : &it->second;
}

std::vector<std::string> FakeScriptHost::FilesIn(const std::string& folder) const {
  std::vector<std::string> paths;
  std::string key = Key(folder);
  for (const auto& [file_key, file] : files_) {
    if (Parent(file_key) == key) paths.push_back(file.path);
  }
  std::sort(paths.begin(), paths.end());
  return paths;
}

bool FakeScriptHost::MakePath(const std::string& path) {
  Record("MakeSureDirectoryPathExists(" + path + ")");
  size_t cut = path.rfind('\\');
  if (cut == std::string::npos) return true;
  std::string above = path.substr(0, cut);
  while (!above.empty() && !HasFolder(above)) above = Parent(above);
  if (locked_folders.count(Key(above))) return false;
  AddFolder(path.substr(0, cut));
  return true;
}

void FakeScriptHost::ProbeFolder(const std::string& folder) {
  Record("ProbeFolder(" + folder + ")");
  if (HasFolder(folder)) {
    if (locked_folders.count(Key(folder))) throw ComponentError(70, "Permission denied");
    return;
  }
  std::string above = Parent(folder);
  while (!above.empty() && !HasFolder(above)) above = Parent(above);
  if (locked_folders.count(Key(above))) {
    throw ComponentError(static_cast<int32_t>(0x80070003u), "Path not found");
  }
}

std::vector<std::string> FakeScriptHost::CallsStartingWith(const std::string& prefix) const {
  std::vector<std::string> found;
  for (const std::string& call : calls) {
    if (call.compare(0, prefix.size(), prefix) == 0) found.push_back(call);
  }
  return found;
}

void FakeScriptHost::FailIfAsked(const std::string& member) const {
  for (const auto& [name, error] : member_failures) {
    if (Lower(name) == Lower(member)) throw error;
  }
}

}  // namespace brantvell
