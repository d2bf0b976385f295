// The choice dialog: the user picks which language variant to install
// (Slovak, Czech and Slovak, or Czech); the variant already installed is
// greyed out and cannot be picked. The window itself is a DialogView.
#ifndef BRANTVELL_UI_FRM_MAIN_H_
#define BRANTVELL_UI_FRM_MAIN_H_

#include <cstdint>
#include <memory>

#include "ui/dialog_view.h"

namespace brantvell {

// The window's caption.
inline constexpr char kDialogCaption[] = "Brantvell";

// The choice rows from top to bottom, by control index (= variant number).
inline constexpr int kChoiceRowOrder[3] = {2, 3, 1};

// Unload modes passed to Form_QueryUnload.
inline constexpr int kUnloadByUser = 0;
inline constexpr int kUnloadByProgram = 1;

class frmMain {
 public:
  explicit frmMain(DialogViewFactory make_view = DefaultDialogViewFactory());
  ~frmMain();
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

  int16_t intChoice() const { return intChoice_; }

 private:
  void SetImgChoice(int32_t intOption);
  // The window, created on first use (Form_Load runs then).
  DialogView& Window();
  void HideWindow();

  DialogViewFactory make_view_;
  std::unique_ptr<DialogView> view_;
  int16_t intChoice_ = 0;
};

}  // namespace brantvell

#endif  // BRANTVELL_UI_FRM_MAIN_H_
