#include "app/run_environment.h"

#include "platform/folder_probe.h"
#include "platform/make_path.h"
#include "platform/shell_notify.h"
#include "ui/frm_main.h"

namespace brantvell {

RunEnvironment RunEnvironment::Real() {
  RunEnvironment env;
  env.process = &Process::Real();
  env.script_host = &ScriptHost::Real();
  env.strings = &StringTable::Real();
  env.make_path = MakeSureDirectoryPathExists;
  env.probe_folder = CheckFolderTakesFiles;
  env.message_box = &MessageBox::Real();
  env.log_services = LogServices::Real();
  env.dialog_views = DialogWindow::Make;
  env.notify_shell = NotifyCommonFoldersChanged;
  env.run_lock = &RunLock::Real();
  return env;
}

}  // namespace brantvell
