#include "ImageButtonState.h"

#include <cwctype>

namespace {

bool SameIgnoringCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::towupper(a[i]) != std::towupper(b[i])) return false;
  return true;
}

}  // namespace

TCaptionStyle ChooseCaptionStyle(bool Bold, bool Italic, bool Underline, bool StrikeOut) {
  if (StrikeOut) return TCaptionStyle::StrikeOut;
  if (Underline) return TCaptionStyle::Underline;
  if (Bold && Italic) return TCaptionStyle::BoldItalic;
  if (Italic) return TCaptionStyle::Italic;
  if (Bold) return TCaptionStyle::Bold;
  return TCaptionStyle::Regular;
}

bool IsImageSet(std::wstring_view Path) {
  for (wchar_t c : Path)
    if (c > L' ') return true;
  return false;
}

const std::wstring& TImageButtonState::GetImage() const {
  const bool overSet = IsImageSet(FImageOver);
  if (FButtonState == pbsDown && FMouseOverControl && overSet) return FImageOver;
  if (FMouseOverControl && overSet && FEnabled) return FImageOver;
  return FImageNormal;
}

bool TImageButtonState::UsesFontOver() const {
  return (FButtonState == pbsDown && FMouseOverControl) || (FMouseOverControl && FEnabled);
}

bool TImageButtonState::MouseEnter() {
  FMouseOverControl = true;
  return IsImageSet(FImageOver);
}

bool TImageButtonState::MouseLeave() {
  FMouseOverControl = false;
  return IsImageSet(FImageNormal) && IsImageSet(FImageOver);
}

void TImageButtonState::MouseMove(int X, int Y, int ClientWidth, int ClientHeight) {
  const bool inside = X >= 0 && X < ClientWidth && Y >= 0 && Y < ClientHeight;
  if (inside && !FMouseOverControl && FButtonState != pbsDown) FMouseOverControl = true;
}

void TImageButtonState::MouseDown(TMouseButton Button) {
  if (Button == TMouseButton::Left && FButtonState == pbsNormal) FButtonState = pbsDown;
}

void TImageButtonState::Click() {
  if (FButtonState == pbsDown) FButtonState = pbsNormal;
}

void TImageButtonState::MouseUp() {
  if (FButtonState == pbsDown) FButtonState = pbsNormal;
}

void TImageButtonState::SetEnabled(bool Value) {
  FEnabled = Value;
  FButtonState = Value ? pbsNormal : pbsDisabled;
}

bool TImageButtonState::SetImageNormal(const std::wstring& Path) {
  if (SameIgnoringCase(Path, FImageNormal)) return false;
  FImageNormal = Path;
  return true;
}

bool TImageButtonState::SetImageOver(const std::wstring& Path) {
  if (SameIgnoringCase(Path, FImageOver)) return false;
  FImageOver = Path;
  return true;
}
