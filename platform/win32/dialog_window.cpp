#include <algorithm>
#include <exception>
#include <memory>
#include <string>
#include <utility>

#include "platform/choice_rows.h"
#include "platform/dialog_window.h"
#include "platform/error.h"
#include "platform/win32/dialog_layout.h"
#include "platform/win32/dialog_pictures.h"
#include "platform/win32/option_text.h"
#include "platform/win32/system_library.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win32.h"
#include "platform/win32/win32_text.h"
#include "resources/resource_ids.h"

namespace brantvell {

namespace {

constexpr wchar_t kWindowClass[] = L"BrantvellChoiceWindow";
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kWindowExStyle = WS_EX_CONTROLPARENT;

Error WindowSystemError(const char* what) {
  const DWORD code = GetLastError();
  return Error(static_cast<int32_t>(HRESULT_FROM_WIN32(code)), kOwnErrorSource, what);
}

class Win32ChoiceWindow : public DialogWindow {
 public:
  explicit Win32ChoiceWindow(DialogWindowEvents& events)
      : events_(events), module_(GetModuleHandleW(nullptr)) {}

  ~Win32ChoiceWindow() override { Destroy(); }

  void Create(const std::string& caption) override {
    if (window_) return;
    RegisterWindowClass();
    rows_.Reset();
    if (!big_icon_) big_icon_.reset(LoadProgramIcon(module_, SM_CXICON, SM_CYICON));
    if (!small_icon_) small_icon_.reset(LoadProgramIcon(module_, SM_CXSMICON, SM_CYSMICON));

    // Made at its 96 DPI size first: the window's DPI is known once it is
    // there, and then it takes its size, pictures and font.
    dpi_ = kBaseDpi;
    const SIZE size = FrameSize();
    // The window procedure stores the handle on WM_NCCREATE.
    if (!CreateWindowExW(kWindowExStyle, kWindowClass, Widen(caption).c_str(), kWindowStyle,
                         CW_USEDEFAULT, CW_USEDEFAULT, size.cx, size.cy, nullptr, nullptr, module_,
                         this)) {
      window_ = nullptr;
      throw WindowSystemError("The dialog window could not be created");
    }
    ApplyDpi(WindowDpi(window_), nullptr);
    if (big_icon_) {
      SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big_icon_.get()));
    }
    if (small_icon_) {
      SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small_icon_.get()));
    }
    CreateControls();
    events_.OnLoad();
  }

  bool Exists() const override { return window_ != nullptr; }

  void Destroy() override {
    if (window_) DestroyWindow(window_);
  }

  void SetClickAreaVisible(int index, bool visible) override {
    rows_.At(index).click_area_visible = visible;
  }

  void SetGreyedVisible(int index, bool visible) override {
    Row& row = rows_.At(index);
    if (row.greyed_visible == visible) return;
    row.greyed_visible = visible;
    Repaint(Pixels(row.greyed_place));
  }

  void SetOptionEnabled(int index, bool enabled) override {
    Row& row = rows_.At(index);
    row.enabled = enabled;
    if (row.option) EnableWindow(row.option, enabled);
  }

  void SetOptionSelected(int index, bool selected) override {
    rows_.Select(index, selected, [](Row& row) {
      if (row.option) {
        SendMessageW(row.option, BM_SETCHECK, row.selected ? BST_CHECKED : BST_UNCHECKED, 0);
      }
    });
  }

  bool IsOptionSelected(int index) const override {
    const Row& row = rows_.At(index);
    // The user changes the buttons directly; the control knows best.
    if (row.option) return SendMessageW(row.option, BM_GETCHECK, 0, 0) == BST_CHECKED;
    return row.selected;
  }

  void PlaceImage(bool greyed, int index, const ControlRect& place) override {
    Row& row = rows_.At(index);
    ControlRect& rect = greyed ? row.greyed_place : row.click_place;
    if (greyed && row.greyed_visible) Repaint(Pixels(rect));
    rect = place;
    if (greyed && row.greyed_visible) Repaint(Pixels(rect));
  }

  void ShowModal() override {
    if (!window_) return;
    ShowWindow(window_, SW_SHOWNORMAL);
    SetForegroundWindow(window_);
    FocusFirstControl();
    MarkDefaultButton();
    MarkFocusedRow();
    UpdateWindow(window_);

    MSG message;
    while (window_ && IsWindowVisible(window_)) {
      const BOOL got = GetMessageW(&message, nullptr, 0, 0);
      if (got == -1) throw WindowSystemError("The dialog's messages could not be read");
      if (got == 0) {
        // The program is quitting: leave the quit message to the outer loop.
        PostQuitMessage(static_cast<int>(message.wParam));
        break;
      }
      // The dialog manager's keys: Tab, arrows, Enter for OK, Esc for Storno.
      if (!window_ || !IsDialogMessageW(window_, &message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
      }
      MarkDefaultButton();
      MarkFocusedRow();
      if (pending_error_) std::rethrow_exception(std::exchange(pending_error_, nullptr));
    }
  }

  void Hide() override {
    if (window_) ShowWindow(window_, SW_HIDE);
  }

 private:
  struct Row : ChoiceRowState {
    ControlRect click_place;  // at 96 DPI, as the dialog's logic gives them
    ControlRect greyed_place;
    HWND option = nullptr;
    OptionText text;
  };

  void RegisterWindowClass() {
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof(window_class);
    window_class.lpfnWndProc = &Win32ChoiceWindow::WindowProc;
    window_class.hInstance = module_;
    window_class.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    window_class.lpszClassName = kWindowClass;
    if (!RegisterClassExW(&window_class) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
      throw WindowSystemError("The dialog's window class could not be registered");
    }
  }

  // The pictures for the window's DPI. A program built without its
  // resources still shows a working dialog, only without pictures; one
  // without the larger pictures scales the 1x ones.
  void LoadArtwork() {
    const int step = ArtworkStep(dpi_);
    if (step == artwork_step_) return;
    artwork_step_ = step;
    auto load = [&](int id) {
      HBITMAP picture = LoadPicture(module_, id + step * IDB_SCALE_STEP);
      return picture ? picture : LoadPicture(module_, id);
    };
    background_.reset(load(IDB_BACKGROUND));
    for (int index = 1; index <= 3; ++index) {
      greyed_pictures_[index].reset(load(GreyedPictureId(index)));
    }
  }

  int Scale(int pixels) const { return MulDiv(pixels, dpi_, kBaseDpi); }

  // A 96 DPI place in pixels of the window's DPI; each edge is scaled, so
  // neighbours stay neighbours.
  RECT Pixels(const ControlRect& place) const {
    return RECT{Scale(place.left), Scale(place.top), Scale(place.left + place.width),
                Scale(place.top + place.height)};
  }

  // The window's outer size for its client area at the window's DPI.
  SIZE FrameSize() const {
    RECT frame{0, 0, Scale(kClientWidth), Scale(kClientHeight)};
    static auto* adjust =
        SystemFunction<AdjustWindowRectExForDpiFunction>(L"user32.dll", "AdjustWindowRectExForDpi");
    if (!adjust || !adjust(&frame, kWindowStyle, FALSE, kWindowExStyle, static_cast<UINT>(dpi_))) {
      AdjustWindowRectEx(&frame, kWindowStyle, FALSE, kWindowExStyle);
    }
    return SIZE{frame.right - frame.left, frame.bottom - frame.top};
  }

  // Sizes and places everything for `dpi`: the window at `suggested`'s
  // top left corner (where the system moves it on a DPI change) or centred
  // in the work area, its controls, their font and the pictures.
  void ApplyDpi(int dpi, const RECT* suggested) {
    dpi_ = dpi;
    LoadArtwork();
    const SIZE size = FrameSize();
    int left = 0;
    int top = 0;
    if (suggested) {
      left = suggested->left;
      top = suggested->top;
    } else {
      // Centred in the work area; the window has no owner to centre on.
      RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
      SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
      left = std::max<int>(work.left, work.left + (work.right - work.left - size.cx) / 2);
      top = std::max<int>(work.top, work.top + (work.bottom - work.top - size.cy) / 2);
    }
    SetWindowPos(window_, nullptr, left, top, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);

    // The controls take the new font before the old one is deleted.
    UniqueGdiObject<HFONT> font(CreateMessageFont(dpi_));
    HGDIOBJ shown = font ? font.get() : GetStockObject(DEFAULT_GUI_FONT);
    for (HWND control = GetWindow(window_, GW_CHILD); control;
         control = GetWindow(control, GW_HWNDNEXT)) {
      const RECT place = Pixels(ControlPlace(GetDlgCtrlID(control)));
      MoveWindow(control, place.left, place.top, place.right - place.left, place.bottom - place.top,
                 FALSE);
      SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(shown), FALSE);
    }
    font_ = std::move(font);
    InvalidateRect(window_, nullptr, FALSE);
  }

  // Created in tab order: the options top to bottom, then OK and Storno.
  void CreateControls() {
    bool first = true;
    for (int index : kChoiceRowOrder) {
      const DWORD group = first ? WS_GROUP : 0;
      first = false;
      Row& row = rows_.At(index);
      const ChoiceRowLabel label = ChoiceRowLabelOf(index);
      row.text.name = Widen(std::string(label.first_line) + ", " + label.second_line);
      row.option = MakeControl(L"", WS_TABSTOP | group | BS_AUTORADIOBUTTON, OptionId(index));
      AnswerWithText(row.option, &row.text);
    }
    ok_ = MakeControl(L"OK", WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, IDOK);
    cancel_ = MakeControl(L"Storno", WS_TABSTOP | BS_PUSHBUTTON, IDCANCEL);
  }

  HWND MakeControl(const wchar_t* text, DWORD style, int id) {
    const RECT place = Pixels(ControlPlace(id));
    HWND control =
        CreateWindowExW(0, L"BUTTON", text, WS_CHILD | WS_VISIBLE | style, place.left, place.top,
                        place.right - place.left, place.bottom - place.top, window_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), module_, nullptr);
    if (!control) throw WindowSystemError("A control of the dialog could not be created");
    HGDIOBJ font = font_ ? font_.get() : GetStockObject(DEFAULT_GUI_FONT);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
  }

  // The input focus starts on the first enabled control in tab order.
  void FocusFirstControl() {
    HWND target = nullptr;
    for (int index : kChoiceRowOrder) {
      HWND option = rows_.At(index).option;
      if (option && IsWindowEnabled(option)) {
        target = option;
        break;
      }
    }
    if (!target) target = ok_;
    SetFocus(target);
    focus_ = target;
  }

  void Repaint(const RECT& rect) {
    if (window_) InvalidateRect(window_, &rect, FALSE);
  }

  void Paint(HDC target) {
    UniqueMemoryDc source(CreateCompatibleDC(target));
    // The bitmap the context came with, given back before it is deleted.
    HGDIOBJ original = source ? GetCurrentObject(source.get(), OBJ_BITMAP) : nullptr;
    if (background_) {
      DrawPicture(target, source.get(), background_.get(), 0, 0, Scale(kClientWidth),
                  Scale(kClientHeight));
    } else {
      RECT all{0, 0, Scale(kClientWidth), Scale(kClientHeight)};
      FillRect(target, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    for (int index = 1; index <= 3; ++index) {
      const Row& row = rows_.At(index);
      if (!row.greyed_visible) continue;
      const RECT rect = Pixels(row.greyed_place);
      DrawPicture(target, source.get(), greyed_pictures_[index].get(), rect.left, rect.top,
                  rect.right - rect.left, rect.bottom - rect.top);
    }
    if (original) SelectObject(source.get(), original);
    // The option has no text to frame, so its label is framed instead; the
    // system's rule on focus cues may hide the frame until a key is used.
    if (marked_row_ && !(SendMessageW(window_, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS)) {
      const RECT rect = FocusMarkRect(marked_row_);
      DrawFocusRect(target, &rect);
    }
  }

  // Two pixels around the label, clear of its letters.
  RECT FocusMarkRect(int index) const {
    RECT rect = Pixels(rows_.At(index).click_place);
    InflateRect(&rect, Scale(2), Scale(2));
    return rect;
  }

  // The row whose option has the focus shows a focus frame around its label
  // (drawn by Paint).
  void MarkFocusedRow() {
    HWND focus = GetFocus();
    int focused = 0;
    for (int index = 1; index <= 3; ++index) {
      if (focus && rows_.At(index).option == focus) focused = index;
    }
    if (focused == marked_row_) return;
    if (marked_row_) Repaint(FocusMarkRect(marked_row_));
    marked_row_ = focused;
    if (marked_row_) Repaint(FocusMarkRect(marked_row_));
  }

  // The click areas are transparent: a click on the window is theirs when
  // it falls into a visible one.
  void OnClick(POINT point) {
    for (int index : kChoiceRowOrder) {
      const Row& row = rows_.At(index);
      const RECT rect = Pixels(row.click_place);
      if (row.click_area_visible && PtInRect(&rect, point)) {
        events_.OnLabelClick(index);
        return;
      }
    }
  }

  // The button Enter presses: the focused push button, otherwise OK.
  int DefaultButtonId() const {
    HWND focus = GetFocus();
    if (focus && focus == cancel_) return IDCANCEL;
    return IDOK;
  }

  // Frames the button Enter presses, as a dialog box does: the focused push
  // button, and OK whenever the focus is not on a push button. The dialog
  // manager moves the frame to a push button that gets the focus, but a
  // plain window has to give it back to OK itself.
  void MarkDefaultButton() {
    const bool cancel_is_default = DefaultButtonId() == IDCANCEL;
    SetPushButtonType(ok_, cancel_is_default ? BS_PUSHBUTTON : BS_DEFPUSHBUTTON);
    SetPushButtonType(cancel_, cancel_is_default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
  }

  static void SetPushButtonType(HWND button, DWORD type) {
    if (!button) return;
    const DWORD style = static_cast<DWORD>(GetWindowLongW(button, GWL_STYLE));
    if ((style & BS_TYPEMASK) != type) SendMessageW(button, BM_SETSTYLE, type, TRUE);
  }

  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
      case WM_ERASEBKGND:
        return 1;  // WM_PAINT covers the whole client area
      case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window_, &paint);
        if (dc) Paint(dc);
        EndPaint(window_, &paint);
        return 0;
      }
      case WM_PRINTCLIENT:
        Paint(reinterpret_cast<HDC>(wparam));
        return 0;
      case WM_CTLCOLORSTATIC:
      case WM_CTLCOLORBTN:
        // The controls sit on the picture's white ground.
        SetBkColor(reinterpret_cast<HDC>(wparam), RGB(255, 255, 255));
        return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
      case WM_LBUTTONDOWN:
        OnClick(POINT{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))});
        return 0;
      case WM_COMMAND:
        if (HIWORD(wparam) == BN_CLICKED) {
          if (LOWORD(wparam) == IDOK) {
            events_.OnOk();
          } else if (LOWORD(wparam) == IDCANCEL) {
            events_.OnCancel();
          }
        }
        return 0;
      case DM_GETDEFID:
        return MAKELRESULT(DefaultButtonId(), DC_HASDEFID);
      case WM_NEXTDLGCTL: {
        // The dialog manager moves the focus this way (arrow keys leaving a
        // group); a plain window has to do it itself.
        HWND next = lparam ? reinterpret_cast<HWND>(wparam)
                           : GetNextDlgTabItem(window_, GetFocus(), wparam != 0);
        if (next) SetFocus(next);
        return 0;
      }
      case WM_ACTIVATE:
        // Keep the focused control across a switch to another window.
        if (LOWORD(wparam) == WA_INACTIVE) {
          HWND focus = GetFocus();
          if (focus && IsChild(window_, focus)) focus_ = focus;
          return 0;
        }
        if (focus_ && IsWindow(focus_)) {
          SetFocus(focus_);
          return 0;
        }
        return DefWindowProcW(window_, message, wparam, lparam);
      case WM_SETFOCUS:
        if (focus_ && IsWindow(focus_)) SetFocus(focus_);
        return 0;
      case WM_UPDATEUISTATE: {
        // Focus cues shown or hidden: the frame follows.
        const LRESULT result = DefWindowProcW(window_, message, wparam, lparam);
        if (marked_row_) Repaint(FocusMarkRect(marked_row_));
        return result;
      }
      case WM_DPICHANGED:
        // Moved to a monitor of another scale, or the scale changed.
        ApplyDpi(HIWORD(wparam), reinterpret_cast<const RECT*>(lparam));
        return 0;
      case WM_CLOSE:
        // The close box, the system menu and Alt+F4.
        if (!events_.OnCloseRequest()) DestroyWindow(window_);
        return 0;
      case WM_NCDESTROY: {
        HWND window = window_;
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        window_ = nullptr;
        ok_ = cancel_ = focus_ = nullptr;
        marked_row_ = 0;
        for (Row& row : rows_) row.option = nullptr;
        return DefWindowProcW(window, message, wparam, lparam);
      }
      default:
        return DefWindowProcW(window_, message, wparam, lparam);
    }
  }

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    Win32ChoiceWindow* self;
    if (message == WM_NCCREATE) {
      self =
          static_cast<Win32ChoiceWindow*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
      self->window_ = window;
      SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
      self = reinterpret_cast<Win32ChoiceWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcW(window, message, wparam, lparam);
    // No exception may unwind through the window system; the modal loop
    // raises it again once the message has been handled.
    try {
      return self->HandleMessage(message, wparam, lparam);
    } catch (...) {
      if (!self->pending_error_) self->pending_error_ = std::current_exception();
      return 0;
    }
  }

  DialogWindowEvents& events_;
  HINSTANCE module_;
  HWND window_ = nullptr;
  HWND ok_ = nullptr;
  HWND cancel_ = nullptr;
  HWND focus_ = nullptr;  // the control that had the focus last
  int marked_row_ = 0;    // the row framed as focused, or 0
  ChoiceRows<Row> rows_;  // by variant, 1 to 3
  UniqueGdiObject<HBITMAP> background_;
  UniqueGdiObject<HBITMAP> greyed_pictures_[4];
  UniqueGdiObject<HFONT> font_;
  int dpi_ = kBaseDpi;     // the window's DPI
  int artwork_step_ = -1;  // the pictures loaded: 0 1x, 1 1.5x, 2 2x
  UniqueIcon big_icon_;
  UniqueIcon small_icon_;
  std::exception_ptr pending_error_;
};

}  // namespace

std::unique_ptr<DialogWindow> DialogWindow::Make(DialogWindowEvents& events) {
  return std::make_unique<Win32ChoiceWindow>(events);
}

}  // namespace brantvell
