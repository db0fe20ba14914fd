#include "GDIPlusCommon.h"

#include <algorithm>
#include <map>
#include <memory>
#include <tuple>

#include "CaptionCache.h"
#include "DefineUint.h"
#include "LayeredSurface.h"
#include "SkinImageCache.h"

namespace {

int FontStyle(const TFont& Font) {
  switch (ChooseCaptionStyle(Font.Bold, Font.Italic, Font.Underline, Font.StrikeOut)) {
    case TCaptionStyle::StrikeOut: return Gdiplus::FontStyleStrikeout;
    case TCaptionStyle::Underline: return Gdiplus::FontStyleUnderline;
    case TCaptionStyle::BoldItalic: return Gdiplus::FontStyleBoldItalic;
    case TCaptionStyle::Italic: return Gdiplus::FontStyleItalic;
    case TCaptionStyle::Bold: return Gdiplus::FontStyleBold;
    case TCaptionStyle::Regular: break;
  }
  return Gdiplus::FontStyleRegular;
}

// The system's substitute for a face name (FontSubstitutes, as GDI applies it): a Chinese
// face name on a machine whose Chinese face is called otherwise. Empty when there is none.
std::wstring SubstitutedFace(const std::wstring& Name) {
  wchar_t value[LF_FACESIZE * 2] = {};
  DWORD size = sizeof(value);
  if (::RegGetValueW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes",
                     Name.c_str(), RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
    return {};
  std::wstring face = value;
  if (const auto comma = face.find(L','); comma != std::wstring::npos) face.resize(comma);  // "Face,charset"
  return face;
}

// GDI+ knows only installed families by name; anything else goes through GDI's substitutes.
// Kept per name: families and fonts cost more to make than a caption costs to draw.
const Gdiplus::FontFamily& CaptionFamily(const std::wstring& Name) {
  // Never freed: GDI+ objects must not be destroyed after GDI+ has shut down at exit.
  static auto& families = *new std::map<std::wstring, std::unique_ptr<Gdiplus::FontFamily>>();
  auto& family = families[Name];
  if (!family) {
    family = std::make_unique<Gdiplus::FontFamily>(Name.c_str());
    if (family->GetLastStatus() != Gdiplus::Ok) {
      const std::wstring face = SubstitutedFace(Name);
      if (!face.empty() && face != Name) family = std::make_unique<Gdiplus::FontFamily>(face.c_str());
    }
  }
  return *family;
}

const Gdiplus::Font& CaptionFont(const std::wstring& Name, float Size, int Style) {
  static auto& fonts = *new std::map<std::tuple<std::wstring, float, int>, std::unique_ptr<Gdiplus::Font>>();
  if (fonts.size() > 256) fonts.clear();  // fitted captions make many sizes; keep it bounded
  auto& font = fonts[{Name, Size, Style}];
  if (!font) font = std::make_unique<Gdiplus::Font>(&CaptionFamily(Name), Size, Style, Gdiplus::UnitPoint);
  return *font;
}

void DrawCaption(Gdiplus::Graphics& Graphics, const TPNGButton& Button, const Gdiplus::RectF& Layout,
                 Gdiplus::StringAlignment LineAlignment) {
  const TFont& font = Button.GetFont();
  const Gdiplus::Color colour(255, GetRValue(font.Color), GetGValue(font.Color), GetBValue(font.Color));
  Gdiplus::SolidBrush brush(colour);
  Gdiplus::StringFormat format(Button.FitCaption ? Gdiplus::StringFormatFlagsNoWrap : 0, LANG_NEUTRAL);
  format.SetAlignment(Button.FStringAlignment);
  format.SetLineAlignment(LineAlignment);
  Graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
  float size = font.Size;
  if (Button.FitCaption) {
    // One line: a caption wider than the button is drawn smaller until it fits (a few
    // rounds, as glyphs from a fallback face do not scale exactly with the size).
    const Gdiplus::RectF unbounded(0, 0, 100000.0f, Layout.Height);
    for (int round = 0; round < 4 && size > font.Size / 2; ++round) {
      Gdiplus::RectF needed;
      if (Graphics.MeasureString(Button.Caption().c_str(), -1, &CaptionFont(font.Name, size, FontStyle(font)),
                                 unbounded, &format, &needed) != Gdiplus::Ok ||
          needed.Width <= Layout.Width || needed.Width <= 0)
        break;
      size = std::max(size * Layout.Width / needed.Width * 0.97f, font.Size / 2);
    }
  }
  Graphics.DrawString(Button.Caption().c_str(), -1, &CaptionFont(font.Name, size, FontStyle(font)), Layout, &format,
                      &brush);
}

}  // namespace

TPNGButton::TPNGButton() = default;

void TPNGButton::SetBounds(int Left, int Top, int Width, int Height) {
  FLeft = Left;
  FTop = Top;
  FWidth = Width;
  FHeight = Height;
  ApplyAutoSize();
}

void TPNGButton::ApplyAutoSize() {
  if (!AutoSize || !IsImageSet(GetImage())) return;
  Gdiplus::Bitmap* image = SkinImages().Image(GetImage());
  FWidth = image ? static_cast<int>(image->GetWidth()) : 0;
  FHeight = image ? static_cast<int>(image->GetHeight()) : 0;
}

void TPNGButton::SetCaption(const std::wstring& Value) {
  FCaption = Value;
  Paint();
}

void TPNGButton::SetImageNormal(const std::wstring& Path) {
  if (!FState.SetImageNormal(Path)) return;
  ApplyAutoSize();
  Paint();
}

void TPNGButton::SetImageOver(const std::wstring& Path) {
  if (!FState.SetImageOver(Path)) return;
  ApplyAutoSize();
  Paint();
}

void TPNGButton::SetDrawIamge(bool Value) {
  if (Value == FDrawImage) return;
  FDrawImage = Value;
  Paint();
}

void TPNGButton::SetRotate(double Degrees) {
  if (Degrees == FRotate) return;
  FRotate = Degrees;
  Paint();
}

void TPNGButton::MouseEnter() {
  // The event first, then the state change.
  if (OnMouseEnter) OnMouseEnter(*this);
  if (FState.MouseEnter()) Paint();
}

void TPNGButton::MouseLeave() {
  if (OnMouseLeave) OnMouseLeave(*this);
  if (FState.MouseLeave()) Paint();
}

void TPNGButton::MouseMove(int X, int Y) { FState.MouseMove(X, Y, FWidth, FHeight); }

void TPNGButton::MouseDown(TMouseButton Button, int X, int Y) {
  FState.MouseDown(Button);
  if (OnMouseDown) OnMouseDown(*this, Button, X, Y);
}

void TPNGButton::MouseUp(TMouseButton Button, int X, int Y, bool Inside) {
  if (Button == TMouseButton::Left && Inside && FState.FButtonState == pbsDown) {
    FState.Click();
    if (OnClick) OnClick(*this);
  }
  FState.MouseUp();
  if (OnMouseUp) OnMouseUp(*this, Button, X, Y);
}

void TPNGButton::DblClick() {
  if (OnDblClick) OnDblClick(*this);
}

void TPNGButton::Paint() {
  if (FNotifyHandle) ::SendMessageW(FNotifyHandle, WM_IMAGEBUTTON_PAINT, 0, 0);
  if (!FDrawImage || !FNotifyHandle) return;

  // Painting itself on the form: both alignments follow StringAlignment here.
  HDC dc = ::GetDC(FNotifyHandle);
  if (!dc) return;
  {
    Gdiplus::Graphics graphics(dc);
    graphics.TranslateTransform(static_cast<Gdiplus::REAL>(FLeft), static_cast<Gdiplus::REAL>(FTop));
    if (IsImageSet(GetImage()))
      if (Gdiplus::Bitmap* image = SkinImages().Image(GetImage())) graphics.DrawImage(image, 0, 0, FWidth, FHeight);
    if (!FCaption.empty())
      DrawCaption(graphics, *this,
                  Gdiplus::RectF(0, 0, static_cast<Gdiplus::REAL>(FWidth), static_cast<Gdiplus::REAL>(FHeight)),
                  FStringAlignment);
  }
  ::ReleaseDC(FNotifyHandle, dc);
}

namespace {

// The surface Graphics composes, when drawing there at 1:1 is a plain source-over blend
// (no transform, no clip, the default compositing); null otherwise.
TLayeredSurface* DirectTarget(Gdiplus::Graphics& Graphics) {
  TLayeredSurface* surface = TLayeredSurface::Owning(Graphics);
  if (!surface || Graphics.GetCompositingMode() != Gdiplus::CompositingModeSourceOver) return nullptr;
  Gdiplus::Matrix transform;
  if (Graphics.GetTransform(&transform) != Gdiplus::Ok || !transform.IsIdentity()) return nullptr;
  Gdiplus::Region clip;
  if (Graphics.GetClip(&clip) != Gdiplus::Ok || !clip.IsInfinite(&Graphics)) return nullptr;
  return surface;
}

// A button's image at its own size, blended straight in; false when only GDI+ can draw it.
bool BlendImage(TLayeredSurface& Surface, const TPNGButton& Button) {
  if (Button.Width() <= 0 || Button.Height() <= 0) return false;
  const TSkinImageCache::TPixels pixels = SkinImages().Pixels(Button.GetImage(), Button.Width(), Button.Height());
  if (!pixels.Data) return true;  // no image: nothing to draw
  if (pixels.Width != Button.Width() || pixels.Height != Button.Height()) return false;
  Surface.Blend(pixels.Data, pixels.Width, pixels.Height, Button.Left(), Button.Top());
  return true;
}

// The caption from the caption cache; false for a box GDI+ would not clip to (no size).
bool BlendCaption(TLayeredSurface& Surface, const TPNGButton& Button, Gdiplus::StringAlignment LineAlignment) {
  if (Button.Width() <= 0 || Button.Height() <= 0) return false;
  const TFont& font = Button.GetFont();
  TCaptionCache::TKey key;
  key.Text = Button.Caption();
  key.Face = font.Name;
  key.Size = font.Size;
  key.Style = FontStyle(font);
  key.Color = font.Color;
  key.Alignment = Button.FStringAlignment;
  key.LineAlignment = LineAlignment;
  key.Width = Button.Width();
  key.Height = Button.Height();
  key.Fit = Button.FitCaption;
  const TSkinImageCache::TPixels pixels = CaptionImages().Caption(key, [&](Gdiplus::Graphics& Graphics) {
    DrawCaption(Graphics, Button,
                Gdiplus::RectF(0, 0, static_cast<Gdiplus::REAL>(key.Width), static_cast<Gdiplus::REAL>(key.Height)),
                LineAlignment);
  });
  Surface.Blend(pixels.Data, pixels.Width, pixels.Height, Button.Left(), Button.Top());
  return true;
}

}  // namespace

void DrawPNGButton(Gdiplus::Graphics& Graphics, const TPNGButton& Button) {
  TLayeredSurface* const direct = DirectTarget(Graphics);
  if (!Button.GetImage().empty()) {
    const Gdiplus::Rect target(Button.Left(), Button.Top(), Button.Width(), Button.Height());
    if (Button.Rotate() == 0.0) {
      if (!direct || !BlendImage(*direct, Button)) {
        // Scaled to the button once and kept, so it blends at 1:1.
        if (Gdiplus::Bitmap* image = SkinImages().Image(Button.GetImage(), Button.Width(), Button.Height()))
          Graphics.DrawImage(image, target);
      }
    } else if (Gdiplus::Bitmap* image = SkinImages().Image(Button.GetImage())) {
      Gdiplus::Matrix matrix;
      const Gdiplus::PointF centre(static_cast<Gdiplus::REAL>(Button.Left() + Button.Width() / 2),
                                   static_cast<Gdiplus::REAL>(Button.Top() + Button.Height() / 2));
      matrix.RotateAt(static_cast<Gdiplus::REAL>(Button.Rotate()), centre, Gdiplus::MatrixOrderPrepend);
      Graphics.SetTransform(&matrix);
      Graphics.DrawImage(image, target);
      Graphics.ResetTransform();
    }
  }
  if (!Button.Caption().empty()) {
    // Vertically centred only with centre alignment; otherwise at the top.
    const Gdiplus::StringAlignment line = Button.FStringAlignment == Gdiplus::StringAlignmentCenter
                                              ? Gdiplus::StringAlignmentCenter
                                              : Gdiplus::StringAlignmentNear;
    if (!direct || !BlendCaption(*direct, Button, line)) {
      const Gdiplus::RectF layout(static_cast<Gdiplus::REAL>(Button.Left()), static_cast<Gdiplus::REAL>(Button.Top()),
                                  static_cast<Gdiplus::REAL>(Button.Width()),
                                  static_cast<Gdiplus::REAL>(Button.Height()));
      DrawCaption(Graphics, Button, layout, line);
    }
  }
}
