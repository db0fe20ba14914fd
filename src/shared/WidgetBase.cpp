#include "WidgetBase.h"

#include <windowsx.h>

#include "Hourglass.h"

bool TFmWidgetBase::CreateForm(const wchar_t* ClassName, const wchar_t* Caption, int Left, int Top, int Width,
                               int Height, HWND Owner) {
  return CreateHandle(ClassName, Caption, WS_POPUP, 0, Left, Top, Width, Height, Owner);
}

void TFmWidgetBase::FormCreate() {
  FUpdate.Created();
  const LONG_PTR exStyle = ::GetWindowLongPtrW(Handle(), GWL_EXSTYLE);
  ::SetWindowLongPtrW(Handle(), GWL_EXSTYLE, exStyle | WS_EX_TOOLWINDOW);
}

int TFmWidgetBase::Left() const {
  RECT r{};
  ::GetWindowRect(Handle(), &r);
  return r.left;
}

int TFmWidgetBase::Top() const {
  RECT r{};
  ::GetWindowRect(Handle(), &r);
  return r.top;
}

int TFmWidgetBase::Width() const {
  RECT r{};
  ::GetWindowRect(Handle(), &r);
  return r.right - r.left;
}

int TFmWidgetBase::Height() const {
  RECT r{};
  ::GetWindowRect(Handle(), &r);
  return r.bottom - r.top;
}

std::unique_ptr<TLayeredSurface> TFmWidgetBase::ComposeWindow() {
  auto surface = std::make_unique<TLayeredSurface>(Width(), Height());
  if (Gdiplus::Graphics* graphics = surface->Graphics()) PaintButtons(*graphics);
  return surface;
}

void TFmWidgetBase::DrawWindow() {
  if (!Handle()) return;
  ComposeWindow()->Push(Handle(), ConstantAlpha());
}

void TFmWidgetBase::PaintButtons(Gdiplus::Graphics&) {}

void TFmWidgetBase::SetWinDesk(TWinDesk Value) {
  if (Value == FWinDesk) return;
  const bool known = Value == wdNormal || Value == wdTop || Value == wdDesk;
  if (known) {
    // Only a change between the desktop and top level touches the parent, so the owner
    // (no taskbar button, closed with the program) survives; it is put back on leaving.
    if (Value == wdDesk) {
      FOwner = ::GetWindow(Handle(), GW_OWNER);
      ::SetParent(Handle(), ::GetDesktopWindow());
    } else if (FWinDesk == wdDesk) {
      ::SetParent(Handle(), nullptr);
      if (FOwner) ::SetWindowLongPtrW(Handle(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(FOwner));
    }
    const bool topmost = (::GetWindowLongPtrW(Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    if (topmost != (Value == wdTop))
      ::SetWindowPos(Handle(), Value == wdTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
  }
  FWinDesk = Value;
}

void TFmWidgetBase::AddButton(TPNGButton& Button) {
  Button.SetNotifyHandle(Handle());
  FButtons.push_back(&Button);
}

TPNGButton* TFmWidgetBase::ButtonAt(int X, int Y) const {
  for (auto it = FButtons.rbegin(); it != FButtons.rend(); ++it)
    if ((*it)->Visible && (*it)->Contains(X, Y)) return *it;
  return nullptr;
}

void TFmWidgetBase::MouseMoved(int X, int Y) {
  if (!FTrackingLeave) {
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, Handle(), 0};
    FTrackingLeave = ::TrackMouseEvent(&track) != FALSE;
  }
  // While a button is held, the pressed button keeps the mouse (capture).
  TPNGButton* over = FPressed ? (FPressed->Contains(X, Y) ? FPressed : nullptr) : ButtonAt(X, Y);
  if (over != FHover) {
    if (FHover) FHover->MouseLeave();
    FHover = over;
    if (FHover) FHover->MouseEnter();
  }
  if (FHover) FHover->MouseMove(X - FHover->Left(), Y - FHover->Top());
}

void TFmWidgetBase::MouseLeft() {
  FTrackingLeave = false;
  if (FPressed) return;  // captured: the release decides
  if (FHover) FHover->MouseLeave();
  FHover = nullptr;
}

void TFmWidgetBase::ButtonDown(TMouseButton Button, int X, int Y) {
  TPNGButton* target = ButtonAt(X, Y);
  if (!target || !target->Enabled()) return;
  if (Button == TMouseButton::Left) {
    FPressed = target;
    ::SetCapture(Handle());
  }
  target->MouseDown(Button, X - target->Left(), Y - target->Top());
}

void TFmWidgetBase::ButtonUp(TMouseButton Button, int X, int Y) {
  TPNGButton* target = FPressed ? FPressed : ButtonAt(X, Y);
  if (Button == TMouseButton::Left) {
    FPressed = nullptr;
    if (::GetCapture() == Handle()) ::ReleaseCapture();
  }
  if (target) target->MouseUp(Button, X - target->Left(), Y - target->Top(), target->Contains(X, Y));
}

LRESULT TFmWidgetBase::HandleMessage(UINT Msg, WPARAM wParam, LPARAM lParam) {
  switch (Msg) {
    case WM_IMAGEBUTTON_PAINT:
      if (FUpdate.Drawing() && Visible()) DrawWindow();
      return 0;
    case WM_MOUSEMOVE:
      MouseMoved(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_MOUSELEAVE:
      MouseLeft();
      return 0;
    case WM_LBUTTONDOWN:
      ButtonDown(TMouseButton::Left, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_LBUTTONUP:
      ButtonUp(TMouseButton::Left, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_RBUTTONDOWN:
      ButtonDown(TMouseButton::Right, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      break;  // the context menu still follows
    case WM_RBUTTONUP:
      ButtonUp(TMouseButton::Right, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      break;
    case WM_CAPTURECHANGED:
      if (FPressed && reinterpret_cast<HWND>(lParam) != Handle()) {
        FPressed->SetButtonState(FPressed->Enabled() ? pbsNormal : pbsDisabled);
        FPressed = nullptr;
      }
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT && !HourglassShown()) {
        POINT cursor{};
        ::GetCursorPos(&cursor);
        ::ScreenToClient(Handle(), &cursor);
        const TPNGButton* over = ButtonAt(cursor.x, cursor.y);
        if (over && over->Cursor) {
          ::SetCursor(::LoadCursorW(nullptr, over->Cursor));
          return TRUE;
        }
      }
      break;
    case WM_LBUTTONDBLCLK:
      if (TPNGButton* target = ButtonAt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))) target->DblClick();
      return 0;
    case WM_PAINT: {
      // Layered: the image is pushed, never painted; only validate.
      PAINTSTRUCT ps;
      ::BeginPaint(Handle(), &ps);
      ::EndPaint(Handle(), &ps);
      return 0;
    }
    default:
      break;
  }
  return TWindow::HandleMessage(Msg, wParam, lParam);
}
