#include "platform/script_host.h"

#include "platform/wineprefix/wineprefix.h"

#include "platform/host_path.h"
#include "platform/service_instance.h"
#include "platform/wineprefix/host_folder.h"
#include "platform/wineprefix/script_call.h"
#include "platform/wineprefix/script_objects.h"

namespace brantvell {

bool StartsWithDrive(const std::string& path) {
  return IsDrivePath(path) && path.size() >= 3 && (path[2] == '\\' || path[2] == '/');
}

bool DrivePathToHost(const std::string& path, std::string* host) {
  return StartsWithDrive(path) && ToHostPath(path, host);
}

namespace {

// Serves the two components by ProgID (matched without regard to case, as
// the class registry does).
class PosixScriptHost : public ScriptHost {
 public:
  std::shared_ptr<ScriptObject> Create(const std::string& prog_id) override {
    std::string key = MemberKey(prog_id);
    if (key == "wscript.shell") return NotingCauses(NewWshShell());
    if (key == "scripting.filesystemobject") return NotingCauses(NewFileSystemObject());
    throw ComponentError(kErrCannotCreateObject);
  }
};

}  // namespace

ScriptHost& ScriptHost::Real() { return ServiceInstance<PosixScriptHost>(); }

}  // namespace brantvell
