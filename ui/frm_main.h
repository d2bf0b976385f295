// The choice dialog: the user picks which language variant to install
// (Slovak, Czech and Slovak, or Czech); the variant already installed is
// greyed out and cannot be picked. The window itself is a DialogWindow,
// whose events the form handles.
#ifndef BRANTVELL_UI_FRM_MAIN_H_
#define BRANTVELL_UI_FRM_MAIN_H_

#include <cstdint>
#include <memory>

#include "platform/dialog_window.h"

namespace brantvell {

// The window's caption.
inline constexpr char kDialogCaption[] = "Brantvell";

// Unload modes passed to Form_QueryUnload.
inline constexpr int kUnloadByUser = 0;
inline constexpr int kUnloadByProgram = 1;

class frmMain : public DialogWindowEvents {
 public:
  explicit frmMain(DialogWindowFactory make_view = DialogWindow::Make);
  ~frmMain() override;
  frmMain(const frmMain&) = delete;
  frmMain& operator=(const frmMain&) = delete;

  // Shows the dialog modally with variant `intOption` greyed out and
  // returns the chosen variant, or 0 when the user cancelled or closed it.
  int32_t Start(int32_t intOption);

  // The program unloads the window (unload mode 1); nothing happens when no
  // window exists.
  void Unload();

  // Event handlers, called by the view.
  void Form_Load();
  void imgChoiceOn_Click(int index);
  void cmdOK_Click();
  void cmdCancel_Click();
  void Form_QueryUnload(bool* cancel, int unload_mode);

  // The window's events, each the form's handler above.
  void OnLoad() override { Form_Load(); }
  void OnLabelClick(int index) override { imgChoiceOn_Click(index); }
  void OnOk() override { cmdOK_Click(); }
  void OnCancel() override { cmdCancel_Click(); }
  // A user's close: Form_QueryUnload with unload mode 0.
  bool OnCloseRequest() override;

  int16_t intChoice() const { return intChoice_; }

 private:
  void SetImgChoice(int32_t intOption);
  // The window, created on first use (Form_Load runs then).
  DialogWindow& Window();
  void HideWindow();

  DialogWindowFactory make_view_;
  std::unique_ptr<DialogWindow> view_;
  int16_t intChoice_ = 0;
};

}  // namespace brantvell

#endif  // BRANTVELL_UI_FRM_MAIN_H_
