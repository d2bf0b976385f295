#include "ui/frm_main.h"

#include <string>
#include <utility>

#include "log/cls_log.h"
#include "log/ignoring_error.h"
#include "log/mdl_log.h"
#include "platform/error.h"
#include "platform/value.h"

namespace brantvell {

namespace {

constexpr const char kFormTagPrefix[] = "[frmMain] ";
constexpr const char kStartTag[] = "[frmMain] (Start)";
constexpr const char kFormLoadTag[] = "[frmMain] (Form_Load)";

// The form's own, shorter text for number 91 when it has no window.
constexpr const char kNoWindow[] = "Object variable not set";

// Every label picture and click area is 301 x 42 px at x 146; the rows
// differ only in their top.
ControlRect ChoiceLabelRect(int index) {
  int top = 0;
  switch (index) {
    case 2:
      top = 175;
      break;
    case 3:
      top = 233;
      break;
    default:
      top = 292;
      break;
  }
  return ControlRect{146, top, 301, 42};
}

}  // namespace

frmMain::frmMain(DialogWindowFactory make_view) : make_view_(std::move(make_view)) {}

frmMain::~frmMain() = default;

DialogWindow& frmMain::Window() {
  if (!view_ && make_view_) view_ = make_view_(*this);
  if (!view_) throw OwnError(kErrObjectNotSet, kNoWindow);
  if (!view_->Exists()) view_->Create(kDialogCaption);
  return *view_;
}

int32_t frmMain::Start(int32_t intOption) {
  try {
    LogDebugText(kStartTag, "START\t" + std::to_string(intOption));
    SetImgChoice(intOption);
    LogEvent(std::string(kFormTagPrefix) + "(Form_Show)",
             std::string("EVENT FORM\t") + kDialogCaption, kInfoLog);
    Window().ShowModal();
  } catch (...) {
    LogError(kStartTag, "", "");
  }
  const int32_t result = intChoice_;
  LogDebugText(kStartTag, "END\t" + std::to_string(result));
  return result;
}

void frmMain::SetImgChoice(int32_t intOption) {
  LogDebug("[frmMain] (SetImgChoice)", {Value::Long(intOption)});
  // The first control access creates the window, so Form_Load runs here,
  // after the record above.
  for (int k : kChoiceRowOrder) {
    const bool available = intOption != k;
    IgnoringError([&] { Window().SetClickAreaVisible(k, available); });
    IgnoringError([&] { Window().SetGreyedVisible(k, !available); });
    IgnoringError([&] { Window().SetOptionEnabled(k, available); });
  }
  // The top row, unless it is the unavailable one; then the middle row.
  IgnoringError([&] { Window().SetOptionSelected(intOption != 2 ? 2 : 3, true); });
}

void frmMain::Form_Load() {
  LogEvent(kFormLoadTag, "EVENT FORM", kInfoLog);
  try {
    if (!view_) throw OwnError(kErrObjectNotSet, kNoWindow);
    for (int k : kChoiceRowOrder) {
      const ControlRect rect = ChoiceLabelRect(k);
      view_->PlaceImage(false, k, rect);
      view_->PlaceImage(true, k, rect);
    }
  } catch (...) {
    LogError(kFormLoadTag, "", "");
  }
}

void frmMain::imgChoiceOn_Click(int index) {
  LogEvent("[frmMain] (imgChoiceOn_Click)", "EVENT USER", kInfoLog);
  if (index >= 1 && index <= 3) Window().SetOptionSelected(index, true);
}

void frmMain::cmdOK_Click() {
  LogEvent("[frmMain] (cmdOK_Click)", "EVENT USER", kInfoLog);
  int choice = 0;
  for (int i = 1; i <= 3 && choice == 0; ++i) {
    // A button that cannot be read counts as not selected.
    IgnoringError([&] {
      if (Window().IsOptionSelected(i)) choice = i;
    });
  }
  if (choice != 0) intChoice_ = static_cast<int16_t>(choice);
  HideWindow();
}

void frmMain::cmdCancel_Click() {
  LogEvent("[frmMain] (cmdCancel_Click)", "EVENT USER", kInfoLog);
  intChoice_ = 0;
  HideWindow();
}

void frmMain::HideWindow() {
  LogEvent(std::string(kFormTagPrefix) + "(Form_Hide)", "EVENT FORM", kInfoLog);
  // Hiding ends the modal wait in Start; the window stays created until the
  // program unloads it.
  IgnoringError([&] {
    if (view_ && view_->Exists()) view_->Hide();
  });
}

void frmMain::Form_QueryUnload(bool* cancel, int unload_mode) {
  // The window always closes: the cancel flag is left as it is.
  (void)cancel;
  LogEvent("[frmMain] (Form_QueryUnload)", "EVENT FORM\tUnloadMode=" + std::to_string(unload_mode),
           kInfoLog);
}

bool frmMain::OnCloseRequest() {
  bool cancel = false;
  Form_QueryUnload(&cancel, kUnloadByUser);
  return cancel;
}

void frmMain::Unload() {
  if (!view_ || !view_->Exists()) return;
  bool cancel = false;
  Form_QueryUnload(&cancel, kUnloadByProgram);
  if (!cancel) view_->Destroy();
}

}  // namespace brantvell
