#include "platform/script_host.h"

#include "platform/wineprefix/wineprefix.h"

#include "platform/service_instance.h"
#include "platform/wineprefix/script_call.h"
#include "platform/wineprefix/script_objects.h"

namespace brantvell {

namespace {

// Serves the two components out of the prefix's files, by ProgID (matched
// without regard to case, as the class registry does).
class PrefixScriptHost : public ScriptHost {
 public:
  std::shared_ptr<ScriptObject> Create(const std::string& prog_id) override {
    std::string key = MemberKey(prog_id);
    if (key == "wscript.shell") return NotingCauses(NewWshShell());
    if (key == "scripting.filesystemobject") return NotingCauses(NewFileSystemObject());
    throw ComponentError(kErrCannotCreateObject);
  }
};

}  // namespace

ScriptHost& ScriptHost::Real() { return ServiceInstance<PrefixScriptHost>(); }

}  // namespace brantvell
