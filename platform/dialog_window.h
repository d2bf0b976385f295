// The window of the choice dialog, as the dialog's logic (frmMain) sees it:
// a fixed 500 x 422 px window (at 96 DPI; the Windows window scales itself
// to its monitor's DPI) with the background picture, three option buttons
// (one per variant), a click area and a greyed picture over each row's
// label, and the OK and Storno buttons. Each system has its own window
// (the Windows window, the text terminal's view); tests play scripted ones.
// The window reports its user's events back through DialogWindowEvents.
#ifndef BRANTVELL_PLATFORM_DIALOG_WINDOW_H_
#define BRANTVELL_PLATFORM_DIALOG_WINDOW_H_

#include <functional>
#include <memory>
#include <string>

namespace brantvell {

// The choice rows are addressed by their control index, which is the variant
// number (1 CZ, 2 SK, 3 CZ and SK). Each row has an option button, a
// transparent click area over its label and a greyed picture of the label.
// The rows from top to bottom, by control index; this is also their tab
// order.
inline constexpr int kChoiceRowOrder[3] = {2, 3, 1};

// A control's position in pixels of the window's client area at 96 DPI.
struct ControlRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// The user's events, called from inside the window's own calls.
struct DialogWindowEvents {
  virtual ~DialogWindowEvents() = default;
  // The window has been created (from inside DialogWindow::Create).
  virtual void OnLoad() = 0;
  // A click on the visible click area of row `index`.
  virtual void OnLabelClick(int index) = 0;
  virtual void OnOk() = 0;
  virtual void OnCancel() = 0;
  // The user asks to close the window (close box, system menu, Alt+F4, the
  // end of the terminal's input). True keeps the window open; otherwise the
  // window destroys itself.
  virtual bool OnCloseRequest() = 0;
};

// Rows are addressed by their variant number, 1 to 3; other indexes raise
// Error 9. Any member may raise Error when the window system fails.
class DialogWindow {
 public:
  virtual ~DialogWindow() = default;

  // Creates the window with `caption`, hidden, then calls OnLoad.
  virtual void Create(const std::string& caption) = 0;
  // True from Create until Destroy (or until the user's close destroyed it).
  virtual bool Exists() const = 0;
  virtual void Destroy() = 0;

  // The click area over row `index`'s label: when hidden, clicks on the label
  // do not reach OnLabelClick.
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

  // This system's window: the Windows window, or the dialog drawn on the
  // text terminal. `events` must outlive it.
  static std::unique_ptr<DialogWindow> Make(DialogWindowEvents& events);
};

using DialogWindowFactory = std::function<std::unique_ptr<DialogWindow>(DialogWindowEvents&)>;

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_DIALOG_WINDOW_H_
