// The window of the choice dialog, seen by the dialog's logic. An interface
// so the logic runs the same over the platform's window and over a scripted
// window in tests.
#ifndef BRANTVELL_UI_DIALOG_VIEW_H_
#define BRANTVELL_UI_DIALOG_VIEW_H_

#include <functional>
#include <memory>
#include <string>

namespace brantvell {

class frmMain;

// A control's position in pixels of the window's client area.
struct ControlRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// The choice rows are addressed by their control index, which is the variant
// number (1 CZ, 2 SK, 3 CZ and SK). Each row has an option button, a
// transparent click area over its label (imgChoiceOn) and a greyed picture of
// the label (imgChoiceOff).
//
// frmMain drives the view; the view calls frmMain's event handlers from inside
// its own calls: Form_Load from Create, and imgChoiceOn_Click, cmdOK_Click,
// cmdCancel_Click and Form_QueryUnload (unload mode 0) from inside ShowModal.
// A user's close destroys the window unless Form_QueryUnload sets its cancel
// flag. Any member may throw `Error` when the window system fails.
class DialogView {
 public:
  virtual ~DialogView() = default;

  // Creates the window with `caption`, hidden, and calls Form_Load.
  virtual void Create(const std::string& caption) = 0;
  // True from Create until Destroy (or until the user's close destroyed it).
  virtual bool Exists() const = 0;
  virtual void Destroy() = 0;

  // The click area over row `index`'s label: when hidden, clicks on the label
  // do not reach imgChoiceOn_Click.
  virtual void SetClickAreaVisible(int index, bool visible) = 0;
  // The greyed picture of row `index`'s label, covering the label.
  virtual void SetGreyedVisible(int index, bool visible) = 0;
  virtual void SetOptionEnabled(int index, bool enabled) = 0;
  // Selecting an option button clears the other two.
  virtual void SetOptionSelected(int index, bool selected) = 0;
  virtual bool IsOptionSelected(int index) const = 0;

  // Places row `index`'s click area (greyed = false) or greyed picture.
  virtual void PlaceImage(bool greyed, int index, const ControlRect& rect) = 0;

  // Shows the window modally, with no owner, and runs the user's events.
  // Returns when the window has been hidden or destroyed.
  virtual void ShowModal() = 0;
  virtual void Hide() = 0;
};

using DialogViewFactory = std::function<std::unique_ptr<DialogView>(frmMain&)>;

// The platform's view: the terminal view on POSIX.
DialogViewFactory DefaultDialogViewFactory();

}  // namespace brantvell

#endif  // BRANTVELL_UI_DIALOG_VIEW_H_
