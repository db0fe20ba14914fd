// TPNGButton, the one visual building block of the skinned windows, and DrawPNGButton,
// which composes a button into its window's image.
#pragma once

#include <windows.h>

#include <gdiplus.h>

#include <cstdint>
#include <functional>
#include <string>

#include "ImageButtonState.h"

// A caption font as form descriptions give it. Color is a COLORREF taken literally.
struct TFont {
  std::wstring Name = L"Tahoma";
  float Size = 8.0f;  // points
  COLORREF Color = RGB(0, 0, 0);
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  bool StrikeOut = false;
};

// Window-less: it lives in its form's client area, and the form feeds it mouse input and
// draws it. Whenever it would repaint it sends WM_IMAGEBUTTON_PAINT to its form instead.
class TPNGButton {
 public:
  using TNotify = std::function<void(TPNGButton&)>;

  TPNGButton();
  TPNGButton(const TPNGButton&) = delete;
  TPNGButton& operator=(const TPNGButton&) = delete;

  // The form that receives the repaint requests (0: none).
  void SetNotifyHandle(HWND Form) { FNotifyHandle = Form; }
  HWND NotifyHandle() const { return FNotifyHandle; }

  // Position and size in the form's client area. With AutoSize the button keeps the size
  // of its current image.
  void SetBounds(int Left, int Top, int Width, int Height);
  int Left() const { return FLeft; }
  int Top() const { return FTop; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  bool Contains(int X, int Y) const { return X >= FLeft && X < FLeft + FWidth && Y >= FTop && Y < FTop + FHeight; }
  bool AutoSize = false;
  bool Visible = true;
  // A system cursor (IDC_HAND, ...) shown while the mouse is over the button; null: the
  // window's own.
  LPCWSTR Cursor = nullptr;

  const std::wstring& Caption() const { return FCaption; }
  void SetCaption(const std::wstring& Value);  // repaints even when unchanged
  const std::wstring& ImageNormal() const { return FState.FImageNormal; }
  const std::wstring& ImageOver() const { return FState.FImageOver; }
  void SetImageNormal(const std::wstring& Path);
  void SetImageOver(const std::wstring& Path);
  bool DrawIamge() const { return FDrawImage; }
  void SetDrawIamge(bool Value);
  double Rotate() const { return FRotate; }
  void SetRotate(double Degrees);
  Gdiplus::StringAlignment FStringAlignment = Gdiplus::StringAlignmentNear;
  // Draws the caption on one line, smaller when it would not fit the button's width.
  bool FitCaption = false;
  TFont Font;
  TFont FontOver;

  bool Enabled() const { return FState.FEnabled; }
  void SetEnabled(bool Value) { FState.SetEnabled(Value); }
  TPNGButtonState ButtonState() const { return FState.FButtonState; }
  void SetButtonState(TPNGButtonState Value) { FState.FButtonState = Value; }
  bool IsMouseOver() const { return FState.FMouseOverControl; }

  const std::wstring& GetImage() const { return FState.GetImage(); }
  const TFont& GetFont() const { return FState.UsesFontOver() ? FontOver : Font; }

  // Mouse input from the form; X and Y are in the button's own coordinates.
  void MouseEnter();
  void MouseLeave();
  void MouseMove(int X, int Y);
  void MouseDown(TMouseButton Button, int X, int Y);
  // Released; Inside tells whether over the button (a left release there is a click).
  void MouseUp(TMouseButton Button, int X, int Y, bool Inside);
  void DblClick();

  TNotify OnClick, OnDblClick, OnMouseEnter, OnMouseLeave;
  std::function<void(TPNGButton&, TMouseButton, int, int)> OnMouseDown, OnMouseUp;

  // Asks the form to recompose; with DrawIamge the button also paints itself on the form.
  void Paint();

 private:
  void ApplyAutoSize();

  TImageButtonState FState;
  int FLeft = 0, FTop = 0, FWidth = 23, FHeight = 23;
  std::wstring FCaption;
  bool FDrawImage = false;
  double FRotate = 0.0;
  HWND FNotifyHandle = nullptr;
};

// Draws one button into Graphics, whose origin is the form's client origin: its image
// (rotated about the button's centre when Rotate is not 0), then its caption, never rotated.
void DrawPNGButton(Gdiplus::Graphics& Graphics, const TPNGButton& Button);
