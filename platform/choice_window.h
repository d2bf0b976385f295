// The window system's side of the choice dialog: a fixed 500 x 422 px
// window with the background picture, three option buttons (one per
// variant), a click area and a greyed picture over each row's label, and the
// OK and Storno buttons. The dialog's logic lives above the platform layer and
// reaches this window through the dialog view; the window reports its user's
// events back through ChoiceWindowEvents.
#ifndef BRANTVELL_PLATFORM_CHOICE_WINDOW_H_
#define BRANTVELL_PLATFORM_CHOICE_WINDOW_H_

#include <memory>
#include <string>

namespace brantvell {

// The user's events, called from inside the window's own calls.
struct ChoiceWindowEvents {
  virtual ~ChoiceWindowEvents() = default;
  // The window has been created (from inside ChoiceWindow::Create).
  virtual void OnLoad() = 0;
  // A click on the visible click area of row `index`.
  virtual void OnLabelClick(int index) = 0;
  virtual void OnOk() = 0;
  virtual void OnCancel() = 0;
  // The user asks to close the window (close box, system menu, Alt+F4).
  // True keeps the window open.
  virtual bool OnCloseRequest() = 0;
};

// Rows are addressed by their variant number, 1 to 3; other indexes raise
// Error 9. Members raise Error when the window system fails.
class ChoiceWindow {
 public:
  virtual ~ChoiceWindow() = default;

  // Creates the window hidden, then calls OnLoad.
  virtual void Create(const std::string& caption) = 0;
  virtual bool Exists() const = 0;
  virtual void Destroy() = 0;

  virtual void SetClickAreaVisible(int index, bool visible) = 0;
  virtual void SetGreyedVisible(int index, bool visible) = 0;
  virtual void SetOptionEnabled(int index, bool enabled) = 0;
  // Selecting an option clears the other two.
  virtual void SetOptionSelected(int index, bool selected) = 0;
  virtual bool IsOptionSelected(int index) const = 0;
  // Places row `index`'s click area (greyed = false) or greyed picture, in
  // pixels of the client area.
  virtual void PlaceImage(bool greyed, int index, int left, int top, int width, int height) = 0;

  // Shows the window without an owner and runs its messages until it is
  // hidden or destroyed.
  virtual void ShowModal() = 0;
  virtual void Hide() = 0;

  // The Windows window (there is none on other platforms). `events` must
  // outlive it.
  static std::unique_ptr<ChoiceWindow> Make(ChoiceWindowEvents& events);
};

}  // namespace brantvell

#endif  // BRANTVELL_PLATFORM_CHOICE_WINDOW_H_
