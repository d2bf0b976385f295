// Everything one run of the program talks to outside itself, in one bundle
// so tests can hand the run flow fakes.
#ifndef BRANTVELL_APP_RUN_ENVIRONMENT_H_
#define BRANTVELL_APP_RUN_ENVIRONMENT_H_

#include <functional>

#include "log/log_services.h"
#include "platform/dialog_window.h"
#include "platform/message_box.h"
#include "platform/process.h"
#include "platform/run_lock.h"
#include "platform/script_host.h"
#include "setup/cls_brantvell.h"
#include "setup/string_table.h"

namespace brantvell {

struct RunEnvironment {
  // Command text, "TEMP" and the program's folder.
  Process* process = nullptr;
  // The scripting components the setup object works through.
  ScriptHost* script_host = nullptr;
  // The shortcut texts.
  StringTable* strings = nullptr;
  // Creates the Start-menu group folder.
  PathMaker make_path;
  // Tells whether a folder takes new files, before a make deletes anything.
  FolderProbe probe_folder;
  // Shows the run's error message.
  MessageBox* message_box = nullptr;
  // What the log writer works with.
  LogServices log_services{};
  // Makes the choice dialog's window.
  DialogWindowFactory dialog_views;
  // One run at a time on the machine; none in tests that do not ask.
  RunLock* run_lock = nullptr;
  // Tells the shell that the common programs and desktop folders changed.
  std::function<void()> notify_shell;

  // The running machine's services.
  static RunEnvironment Real();
};

}  // namespace brantvell

#endif  // BRANTVELL_APP_RUN_ENVIRONMENT_H_
