// The cause of a failed run as the prefix's script objects saw it. Every
// object the script host hands out is wrapped, so each call replaces the
// note with what it ran into: the error it raised, with the path it was
// about, or the folder, file or registry value it did not find. Calls that
// go through leave no note.
#include "platform/wineprefix/failure_cause.h"

#include "platform/wineprefix/wineprefix.h"

#include <functional>
#include <utility>

#include "platform/host_path.h"
#include "platform/wineprefix/host_folder.h"
#include "platform/wineprefix/script_call.h"
#include "platform/wineprefix/script_objects.h"

namespace brantvell {

namespace {

// The note is made into its line only when a failure asks for it: where a
// path lies in the prefix takes system calls, and most calls that note
// something (a file looked for and not there) are no failure at all.
std::function<std::string()>& Note() {
  static std::function<std::string()> note;
  return note;
}

// The first argument as the objects read a path; "" when it is none.
std::string FirstText(const std::vector<Value>& args) {
  if (args.empty()) return std::string();
  try {
    return CoerceToText(args[0]);
  } catch (const Error&) {
    return std::string();
  }
}

// Where a Windows path is on this machine, to follow the path in a line:
// " (/prefix/drive_c/x)", or why it is nowhere.
std::string Place(const std::string& path) {
  std::string host;
  if (DrivePathToHost(path, &host)) return " (" + host + ")";
  if (StartsWithDrive(path)) return " (the prefix has no drive " + path.substr(0, 2) + ")";
  return std::string();
}

// The host path of a Windows path, else the path and why it has none.
std::string Where(const std::string& path) {
  std::string host;
  return DrivePathToHost(path, &host) ? host : path + Place(path);
}

// What the system said, in the words of the error catalogue.
std::string ErrorText(const Error& error) {
  if (!error.description().empty()) return error.description();
  if (error.number() == kErrSystemFileNotFound) return StandardErrorText(kErrFileNotFound);
  if (error.number() == kErrSystemPathNotFound) return StandardErrorText(kErrPathNotFound);
  return "error " + std::to_string(error.number());
}

std::string RegistryFile() { return WinePrefixFolder() + "/system.reg"; }

void NoteError(const std::string& member, const std::string& path, const Error& error) {
  std::string key = MemberKey(member);
  if (key == "regread" && error.number() == kErrSystemFileNotFound) {
    Note() = [path] {
      return "brantvell: the registry value " + path + " is missing from " + RegistryFile();
    };
    return;
  }
  std::string what = key == "deletefile" || key == "deletefolder" ? "cannot delete"
                     : key == "save"                              ? "cannot save"
                     : key == "getfolder"                         ? "cannot open"
                                                                  : member + " failed on";
  Note() = [what, path, error] {
    return "brantvell: " + what + " " + Where(path) + ": " + ErrorText(error);
  };
}

// Notes an answer that found nothing.
void NoteAnswer(const std::string& member, const std::string& path, const Value& result) {
  std::string key = MemberKey(member);
  bool found = result.type() != Value::kBoolean || result.integer() != 0;
  if (key == "folderexists" && !found) {
    Note() = [path] { return "brantvell: the folder " + path + " does not exist" + Place(path); };
  } else if (key == "fileexists" && !found) {
    Note() = [path] { return "brantvell: the file " + path + " does not exist" + Place(path); };
  } else if (key == "regread" && result.type() == Value::kString && result.text().empty()) {
    Note() = [path] {
      return "brantvell: the registry value " + path + " is empty in " + RegistryFile();
    };
  }
}

class CauseNotingObject : public ScriptObject {
 public:
  CauseNotingObject(std::shared_ptr<ScriptObject> inner, std::string about)
      : inner_(std::move(inner)), about_(std::move(about)) {}

  std::string TypeName() override { return inner_->TypeName(); }

  Value Get(const std::string& member, const std::vector<Value>& args) override {
    // A shortcut's own path is what the program asks for to name a failed
    // save: reading it must leave the note of that save as it is.
    if (MemberKey(member) == "fullname") return inner_->Get(member, args);
    std::string path = PathOf(args);
    Value result = Noted(member, path, [&] { return inner_->Get(member, args); });
    NoteAnswer(member, path, result);
    return result;
  }

  std::shared_ptr<ScriptObject> GetObject(const std::string& member,
                                          const std::vector<Value>& args) override {
    std::string path = PathOf(args);
    return NotingCauses(Noted(member, path, [&] { return inner_->GetObject(member, args); }), path);
  }

  void Put(const std::string& member, const Value& value) override {
    Noted(member, about_, [&] {
      inner_->Put(member, value);
      return 0;
    });
  }

 private:
  // The path a call is about: its first argument, else the object's own.
  std::string PathOf(const std::vector<Value>& args) const {
    std::string first = FirstText(args);
    return first.empty() ? about_ : first;
  }

  template <typename Call>
  auto Noted(const std::string& member, const std::string& path, Call call) -> decltype(call()) {
    Note() = nullptr;
    try {
      return call();
    } catch (const Error& error) {
      NoteError(member, path, error);
      throw;
    }
  }

  std::shared_ptr<ScriptObject> inner_;
  std::string about_;
};

}  // namespace

std::shared_ptr<ScriptObject> NotingCauses(std::shared_ptr<ScriptObject> object,
                                           const std::string& about) {
  if (object == nullptr) return object;
  return std::make_shared<CauseNotingObject>(std::move(object), about);
}

void NoteFolderRefused(const std::string& folder, const Error& error) {
  Note() = [folder, error] {
    return "brantvell: cannot save into " + Where(folder) + ": " + ErrorText(error);
  };
}

std::string FailureCause() { return Note() ? Note()() : std::string(); }

}  // namespace brantvell
