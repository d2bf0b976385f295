#include "app/mdl_main.h"

#include <memory>
#include <string>

#include "app/command_line.h"
#include "app/run_decision.h"
#include "log/cls_log.h"
#include "log/cls_log_share.h"
#include "log/ignoring_error.h"
#include "log/mdl_log.h"
#include "platform/error.h"
#include "setup/cls_brantvell.h"
#include "ui/frm_main.h"

namespace brantvell {

const char kNotInstalledMessage[] = "Aplikace Veldramona není nainstalována.";
const char kProgramTitle[] = "Brantvell";

namespace {

const char kTagMain[] = "[mdlMain] (Main)";
const char kTagGetChoice[] = "[mdlMain] (GetChoice)";
const char kTagRefreshIcon[] = "[mdlMain] (RefreshIcon)";

const char kComponentName[] = "Brantvell";

// How long a run waits for another run on the same machine to end.
constexpr int32_t kRunLockWaitMs = 60 * 1000;

// Creates the log writer, points it at "TEMP"\Brantvell.TXT and the
// program's log.ini, and installs it in the trace facade. Nothing here stops
// the run: without a writer the run simply leaves no log.
void SetUpLog(const RunEnvironment& env) {
  std::shared_ptr<clsLogShare> log;
  IgnoringError([&] { log = std::make_shared<clsLogShare>(env.log_services); });
  if (!log) return;
  IgnoringError([&] { log->SetDirectory(env.process->Environment("TEMP")); });
  IgnoringError([&] { log->SetFileNamePrefix(kComponentName); });
  IgnoringError([&] { log->SetFileNameMode(0); });
  IgnoringError([&] { log->Init(env.process->ProgramFolder() + "\\log.ini"); });
  IgnoringError([&] { log->SetEnable(kDebugLog, "", kStateFile); });
  IgnoringError([&] { LogInit(log, kComponentName); });
}

}  // namespace

int32_t GetChoice(int32_t intOption, const DialogWindowFactory& make_view) {
  int16_t result = 0;
  // The dialog lives only for this call.
  std::unique_ptr<frmMain> dialog;
  try {
    LogDebugText(kTagGetChoice, "START\t" + std::to_string(intOption));
    dialog = std::make_unique<frmMain>(make_view);
    result = static_cast<int16_t>(dialog->Start(intOption));
  } catch (...) {
    LogError(kTagGetChoice, "", "");
  }
  try {
    LogDebugText(kTagGetChoice, "END\tRETURN=" + std::to_string(result));
    if (dialog) dialog->Unload();
  } catch (...) {
    LogError(kTagGetChoice, "", "");
  }
  return result;
}

void RefreshIcon(const std::function<void()>& notify) {
  LogDebug(kTagRefreshIcon, {});
  if (notify) notify();
}

int Main(const RunEnvironment& env) {
  SetUpLog(env);

  bool quiet = false;
  bool failed = false;
  bool nothing_chosen = false;
  std::unique_ptr<clsBrantvell> setup;
  try {
    const std::string command_text = env.process->CommandText();
    // The command text may be long: joined to the record's text only when
    // debug records are written.
    if (LogMayWrite(kDebugLog)) LogDebugText(kTagMain, "START\t" + command_text);

    ParamInfoDat params;
    GetParamInfoDat(command_text, &params);

    const RunDecision decision = DecideAction(params);
    quiet = decision.quiet;
    const int16_t action = decision.action;
    int32_t variant = decision.variant;

    LogDebugText(kTagMain,
                 "INFO\taction=" + std::to_string(action) + "\toption=" + std::to_string(variant));

    // From the check to the shell refresh this run alone changes the
    // shortcuts: another run in between would remove what this one made.
    if (env.run_lock && !env.run_lock->Acquire(kRunLockWaitMs)) throw OwnError(kErrRunBusy);

    setup = std::make_unique<clsBrantvell>(*env.script_host, *env.strings, env.make_path,
                                           env.probe_folder);
    if (decision.has_target) setup->SetAppPath(decision.target);

    if (action == kActionAsk) {
      const int16_t installed = static_cast<int16_t>(setup->SetupCheck());
      variant = GetChoice(installed, env.dialog_views);
      if (variant == 0) {
        // An installer must not take a cancelled or unanswered choice for a
        // finished install.
        nothing_chosen = true;
        try {
          env.message_box->NoteNothingChosen(WhyAsked(params));
        } catch (...) {
        }
      }
    } else if (action == kActionClear) {
      setup->SetupClear();
      RefreshIcon(env.notify_shell);
    }

    if (variant != 0) {
      setup->SetupMake(variant);
      RefreshIcon(env.notify_shell);
    }
  } catch (...) {
    LogError(kTagMain, "", "");
    failed = true;
  }

  // The message waits for the user; the next run need not.
  if (env.run_lock) env.run_lock->Release();

  if (failed && !quiet) {
    try {
      env.message_box->ShowWarning(kNotInstalledMessage, kProgramTitle);
    } catch (...) {
    }
  }

  setup.reset();
  LogDebugText(kTagMain, "END");
  // The exit status tells a calling installer whether the run failed.
  if (failed) return kExitFailure;
  return nothing_chosen ? kExitNothingChosen : kExitSuccess;
}

}  // namespace brantvell
