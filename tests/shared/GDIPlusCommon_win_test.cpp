#include "GDIPlusCommon.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <vector>

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

TEST_F(GdiPlusTest, BlendClipsAtTheSurfaceEdgesAndMixesSourceOver) {
  // A 3 x 3 block: opaque red, half-transparent green (premultiplied), transparent.
  std::vector<std::uint32_t> block(9, 0xFFFF0000u);
  block[4] = 0x80008000u;
  block[8] = 0;
  struct TCase {
    int Left, Top;
    int X, Y;
    std::uint32_t Expected;
  };
  for (const TCase& c : {TCase{-1, -1, 0, 0, 0x80008000u}, TCase{-1, -1, 1, 1, 0u}, TCase{-1, -1, 2, 0, 0u},
                         TCase{3, 3, 4, 4, 0x80008000u}, TCase{3, 3, 3, 3, 0xFFFF0000u}, TCase{-5, 0, 0, 0, 0u},
                         TCase{5, 5, 4, 4, 0u}}) {
    TLayeredSurface surface(5, 5);
    surface.Blend(block.data(), 3, 3, c.Left, c.Top);
    EXPECT_EQ(surface.Pixel(c.X, c.Y), c.Expected) << "block at " << c.Left << "," << c.Top << " pixel " << c.X << ","
                                                   << c.Y;
  }
  // Over opaque white: 0x80 of green plus half of the white that is left.
  TLayeredSurface surface(3, 3);
  std::vector<std::uint32_t> white(9, 0xFFFFFFFFu);
  surface.Blend(white.data(), 3, 3, 0, 0);
  surface.Blend(block.data(), 3, 3, 0, 0);
  EXPECT_EQ(surface.Pixel(1, 1), 0xFF7FFF7Fu);
  EXPECT_EQ(surface.Pixel(0, 0), 0xFFFF0000u);
  EXPECT_EQ(surface.Pixel(2, 2), 0xFFFFFFFFu);
}

TEST_F(GdiPlusTest, ComposingOnASurfaceLooksAsDrawingWithGdiPlus) {
  // Translucent layers and a caption over a background: blended straight into a surface
  // (its own drawing surface) and drawn by GDI+ on another bitmap, pixel for pixel alike.
  const std::wstring back = MakePng(L"back.png", 40, 30, [](Gdiplus::Graphics& g) {
    Gdiplus::LinearGradientBrush brush(Gdiplus::Point(0, 0), Gdiplus::Point(40, 30), Gdiplus::Color(200, 10, 90, 200),
                                       Gdiplus::Color(255, 240, 240, 250));
    g.FillRectangle(&brush, 0, 0, 40, 30);
  });
  const std::wstring glass = MakePng(L"glass.png", 16, 16, [](Gdiplus::Graphics& g) {
    Gdiplus::SolidBrush brush(Gdiplus::Color(90, 255, 200, 0));
    g.FillEllipse(&brush, 0, 0, 16, 16);
  });
  TPNGButton background, layer, caption;
  background.SetImageNormal(back);
  background.SetBounds(0, 0, 60, 40);  // stretched
  layer.SetImageNormal(glass);
  layer.SetBounds(30, 10, 16, 16);
  caption.SetBounds(4, 20, 56, 18);
  caption.Font.Color = RGB(255, 255, 255);
  caption.FStringAlignment = Gdiplus::StringAlignmentCenter;
  caption.SetCaption(L"晴 25℃");

  TLayeredSurface direct(60, 40);
  for (const TPNGButton* button : {&background, &layer, &caption}) DrawPNGButton(*direct.Graphics(), *button);

  std::vector<std::uint32_t> pixels(60 * 40, 0);
  {
    Gdiplus::Bitmap bitmap(60, 40, 60 * 4, PixelFormat32bppPARGB, reinterpret_cast<BYTE*>(pixels.data()));
    Gdiplus::Graphics graphics(&bitmap);
    ASSERT_EQ(TLayeredSurface::Owning(graphics), nullptr);
    for (const TPNGButton* button : {&background, &layer, &caption}) DrawPNGButton(graphics, *button);
  }
  int worst = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 60; ++x) {
      const std::uint32_t a = direct.Pixel(x, y), b = pixels[static_cast<std::size_t>(y) * 60 + x];
      for (int shift = 0; shift < 32; shift += 8)
        worst = std::max(worst, std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)));
    }
  // Rounding only: GDI+ here blends through unpremultiplied colour, which loses a little
  // where alpha is low.
  EXPECT_LE(worst, 4);
  EXPECT_GT(R(direct.Pixel(38, 18)), R(direct.Pixel(38, 2)));  // the yellow layer shows
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
