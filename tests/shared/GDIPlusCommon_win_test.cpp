#include "GDIPlusCommon.h"

#include <gtest/gtest.h>

#include <functional>

#include "LayeredSurface.h"
#include "SkinImage.h"
#include "TempDir.h"

namespace {

// Alpha of a premultiplied pixel, and its colour channels.
int A(std::uint32_t p) { return p >> 24; }
int R(std::uint32_t p) { return (p >> 16) & 0xFF; }
int B(std::uint32_t p) { return p & 0xFF; }

class GdiPlusTest : public testing::Test {
 protected:
  // Writes a PNG of Width x Height painted by Paint, returns its path.
  std::wstring MakePng(const wchar_t* name, int width, int height,
                       const std::function<void(Gdiplus::Graphics&)>& paint) {
    TLayeredSurface image(width, height);
    paint(*image.Graphics());
    const std::wstring path = FDir / name;
    EXPECT_TRUE(image.SavePng(path));
    return path;
  }

  std::unique_ptr<TLayeredSurface> Compose(int width, int height, const TPNGButton& button) {
    auto surface = std::make_unique<TLayeredSurface>(width, height);
    DrawPNGButton(*surface->Graphics(), button);
    return surface;
  }

  // The rectangle covered by pixels with any alpha.
  static RECT Inked(const TLayeredSurface& s) {
    RECT r{s.Width(), s.Height(), -1, -1};
    for (int y = 0; y < s.Height(); ++y)
      for (int x = 0; x < s.Width(); ++x)
        if (A(s.Pixel(x, y)) > 0) {
          r.left = std::min<LONG>(r.left, x);
          r.top = std::min<LONG>(r.top, y);
          r.right = std::max<LONG>(r.right, x);
          r.bottom = std::max<LONG>(r.bottom, y);
        }
    return r;
  }

  static bool SamePixels(const TLayeredSurface& a, const TLayeredSurface& b) {
    for (int y = 0; y < a.Height(); ++y)
      for (int x = 0; x < a.Width(); ++x)
        if (a.Pixel(x, y) != b.Pixel(x, y)) return false;
    return true;
  }

  TGdiPlusSession FGdiPlus;
  TTempDir FDir;
};

TEST_F(GdiPlusTest, SurfaceStartsFullyTransparent) {
  TLayeredSurface surface(8, 8);
  ASSERT_TRUE(surface.Valid());
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) ASSERT_EQ(surface.Pixel(x, y), 0u);
}

TEST_F(GdiPlusTest, DrawsImageScaledWithAlpha) {
  const std::wstring png = MakePng(L"half.png", 4, 4, [](Gdiplus::Graphics& g) {
    Gdiplus::SolidBrush brush(Gdiplus::Color(128, 255, 0, 0));
    g.FillRectangle(&brush, 0, 0, 4, 4);
  });
  TPNGButton button;
  button.SetImageNormal(png);
  button.SetBounds(2, 2, 8, 8);
  const auto surface = Compose(12, 12, button);
  EXPECT_EQ(surface->Pixel(0, 0), 0u);
  const std::uint32_t inside = surface->Pixel(5, 5);
  EXPECT_NEAR(A(inside), 128, 2);
  EXPECT_NEAR(R(inside), 128, 2);  // premultiplied
}

TEST_F(GdiPlusTest, RotationTurnsImageAboutButtonCentre) {
  // Top half red, bottom half blue; turned 90 degrees the red half is on the right.
  const std::wstring png = MakePng(L"halves.png", 20, 20, [](Gdiplus::Graphics& g) {
    Gdiplus::SolidBrush red(Gdiplus::Color(255, 255, 0, 0)), blue(Gdiplus::Color(255, 0, 0, 255));
    g.FillRectangle(&red, 0, 0, 20, 10);
    g.FillRectangle(&blue, 0, 10, 20, 10);
  });
  TPNGButton button;
  button.SetImageNormal(png);
  button.SetBounds(10, 10, 20, 20);
  button.SetCaption(L"");
  const auto straight = Compose(40, 40, button);
  EXPECT_GT(R(straight->Pixel(20, 12)), 200);
  EXPECT_GT(B(straight->Pixel(20, 27)), 200);

  button.SetRotate(90);
  const auto turned = Compose(40, 40, button);
  EXPECT_GT(R(turned->Pixel(27, 20)), 200);  // right half
  EXPECT_GT(B(turned->Pixel(12, 20)), 200);  // left half
  EXPECT_EQ(A(turned->Pixel(5, 5)), 0);      // still within the button's square
}

TEST_F(GdiPlusTest, FarAlignmentPutsCaptionTopRightInLayeredWindow) {
  TPNGButton button;
  button.SetBounds(0, 0, 120, 60);
  button.Font.Size = 10;
  button.Font.Color = RGB(255, 255, 255);
  button.FStringAlignment = Gdiplus::StringAlignmentFar;
  button.SetCaption(L"天气");
  const auto surface = Compose(120, 60, button);
  const RECT ink = Inked(*surface);
  ASSERT_GE(ink.right, 0) << "caption not drawn";
  EXPECT_GT(ink.left, 60);
  EXPECT_GE(ink.right, 100);
  EXPECT_LT(ink.bottom, 30);  // top, not vertically centred

  button.FStringAlignment = Gdiplus::StringAlignmentCenter;
  const RECT centred = Inked(*Compose(120, 60, button));
  EXPECT_GT(centred.top, 10);
  EXPECT_LT(centred.left, 60);
}

TEST_F(GdiPlusTest, FittedCaptionStaysOnOneLineWithinTheButtonWhereAPlainOneWraps) {
  TPNGButton button;
  button.SetBounds(10, 0, 100, 60);
  button.Font.Name = L"Tahoma";
  button.Font.Size = 18;
  button.Font.Color = RGB(255, 255, 255);
  button.FStringAlignment = Gdiplus::StringAlignmentFar;
  button.SetCaption(L"23℃ ~ 29℃");
  const RECT wrapped = Inked(*Compose(140, 60, button));
  button.FitCaption = true;
  const RECT fitted = Inked(*Compose(140, 60, button));
  button.SetBounds(10, 0, 400, 60);
  const RECT natural = Inked(*Compose(420, 60, button));  // room enough: full size
  button.SetBounds(10, 0, 100, 60);
  EXPECT_GT(wrapped.bottom - wrapped.top, 30);  // two lines of an 18 pt font
  EXPECT_LT(fitted.bottom - fitted.top, (natural.bottom - natural.top) * 9 / 10);  // one smaller line
  EXPECT_GE(fitted.left, 10);
  EXPECT_LE(fitted.right, 110);
  EXPECT_GT(fitted.right - fitted.left, 60);  // shrunk only as far as needed

  button.SetCaption(L"9℃");  // short captions keep their size
  const RECT shortFitted = Inked(*Compose(140, 60, button));
  button.FitCaption = false;
  const RECT shortPlain = Inked(*Compose(140, 60, button));
  EXPECT_EQ(shortFitted.left, shortPlain.left);
  EXPECT_EQ(shortFitted.bottom, shortPlain.bottom);
}

TEST_F(GdiPlusTest, ChineseFaceNameDrawsThroughTheSystemsSubstitute) {
  TPNGButton button;
  button.SetBounds(0, 0, 80, 30);
  button.Font.Name = L"黑体";  // not installed here; the font substitutes name its stand-in
  button.Font.Size = 12;
  button.Font.Color = RGB(255, 255, 255);
  button.SetCaption(L"刷新");
  EXPECT_GE(Inked(*Compose(80, 30, button)).right, 0) << "caption not drawn";
}

TEST_F(GdiPlusTest, BoldUnderlinedCaptionIsDrawnUnderlinedOnly) {
  auto render = [&](bool bold, bool underline) {
    TPNGButton button;
    button.SetBounds(0, 0, 120, 30);
    button.Font.Size = 11;
    button.Font.Color = RGB(0, 0, 0);
    button.Font.Bold = bold;
    button.Font.Underline = underline;
    button.SetCaption(L"Kelvara");
    return Compose(120, 30, button);
  };
  const auto boldUnderlined = render(true, true);
  const auto underlined = render(false, true);
  const auto bold = render(true, false);
  EXPECT_TRUE(SamePixels(*boldUnderlined, *underlined));
  EXPECT_FALSE(SamePixels(*boldUnderlined, *bold));
}

TEST_F(GdiPlusTest, MissingImageLeavesCaptionAlone) {
  TPNGButton button;
  button.SetBounds(0, 0, 80, 30);
  button.SetImageNormal(FDir / L"missing.png");
  button.SetCaption(L"OK");
  const auto surface = Compose(80, 30, button);
  EXPECT_GE(Inked(*surface).right, 0);
}

TEST_F(GdiPlusTest, AutoSizeTakesImageSize) {
  const std::wstring png = MakePng(L"strip.png", 79, 22, [](Gdiplus::Graphics&) {});
  TPNGButton button;
  button.AutoSize = true;
  button.SetBounds(32, 8, 5, 5);
  button.SetImageNormal(png);
  EXPECT_EQ(button.Width(), 79);
  EXPECT_EQ(button.Height(), 22);
  button.SetImageNormal(FDir / L"gone.png");
  EXPECT_EQ(button.Width(), 0);  // an image that cannot be loaded proposes 0
}

}  // namespace
