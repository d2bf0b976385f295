// The run of the program: logging set-up, the command line, the choice of
// operation, the setup object, the choice dialog and the shell refresh.
#ifndef BRANTVELL_APP_MDL_MAIN_H_
#define BRANTVELL_APP_MDL_MAIN_H_

#include <cstdint>
#include <functional>

#include "app/run_environment.h"
#include "platform/dialog_window.h"

namespace brantvell {

// The message shown when the run failed, and its title.
extern const char kNotInstalledMessage[];
extern const char kProgramTitle[];

// Exit status of the process.
constexpr int kExitSuccess = 0;        // the operation ran
constexpr int kExitFailure = 1;        // an error stopped the operation
constexpr int kExitNothingChosen = 2;  // asked for a variant, none was chosen

// One whole run. Returns the exit status.
int Main(const RunEnvironment& env);

// Shows the choice dialog with `intOption` unavailable and returns the chosen
// variant (1 CZ, 2 SK, 3 CZ and SK) or 0 when the user chose nothing.
int32_t GetChoice(int32_t intOption, const DialogWindowFactory& make_view);

// Tells the shell through `notify` that the shortcut folders changed.
void RefreshIcon(const std::function<void()>& notify);

}  // namespace brantvell

#endif  // BRANTVELL_APP_MDL_MAIN_H_
