// The decoded-image cache: a file changed on disk shows at the next draw, a file gone draws
// nothing, and a cache at its bound drops the least recently used image.
#include "SkinImageCache.h"

#include <gtest/gtest.h>

#include "GDIPlusCommon.h"
#include "LayeredSurface.h"
#include "TempDir.h"

namespace {

// A 4 x 4 24-bit BMP of one colour: every such file has the same size.
std::string SolidBmp(std::uint8_t R, std::uint8_t G, std::uint8_t B) {
  std::string file(54 + 48, '\0');
  auto put32 = [&](std::size_t At, std::uint32_t V) {
    for (int i = 0; i < 4; ++i) file[At + i] = static_cast<char>((V >> (8 * i)) & 0xFF);
  };
  file[0] = 'B', file[1] = 'M';
  put32(2, static_cast<std::uint32_t>(file.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, 4);
  put32(22, 4);
  file[26] = 1, file[28] = 24;
  put32(34, 48);
  for (std::size_t p = 54; p < file.size(); p += 3) file[p] = static_cast<char>(B), file[p + 1] = static_cast<char>(G), file[p + 2] = static_cast<char>(R);
  return file;
}

std::uint64_t LastWrite(const std::wstring& Path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  ::GetFileAttributesExW(Path.c_str(), GetFileExInfoStandard, &data);
  return (std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime;
}

// The colour a button of the image's own size draws at its centre (0 when nothing is drawn).
std::uint32_t Drawn(const std::wstring& Path) {
  TPNGButton button;
  button.SetBounds(0, 0, 4, 4);
  button.SetImageNormal(Path);
  TLayeredSurface surface(4, 4);
  DrawPNGButton(*surface.Graphics(), button);
  return surface.Pixel(2, 2);
}

class SkinImageCacheTest : public testing::Test {
 protected:
  void TearDown() override { SkinImages().SetLimits({}); }
  TTempDir FDir;
};

TEST_F(SkinImageCacheTest, FileRewrittenWithinTheSameSecondAndSizeShowsItsNewPixels) {
  const std::wstring path = FDir / L"skin.bmp";
  // Rewritten within one second of the first write (as a skin tool saving twice does).
  for (int attempt = 0; attempt < 5; ++attempt) {
    WriteBytes(path, SolidBmp(255, 0, 0));
    EXPECT_EQ(Drawn(path), 0xFFFF0000u);
    const std::uint64_t first = LastWrite(path);
    WriteBytes(path, SolidBmp(0, 0, 255));
    if (LastWrite(path) / 10000000 != first / 10000000) continue;  // crossed a second: again
    EXPECT_EQ(Drawn(path), 0xFF0000FFu);
    return;
  }
  FAIL() << "no two writes within one second";
}

TEST_F(SkinImageCacheTest, UnchangedFileIsDecodedOnceAndAVanishedOneDrawsNothing) {
  const std::wstring path = FDir / L"skin.bmp";
  WriteBytes(path, SolidBmp(0, 255, 0));
  const std::size_t before = SkinImages().Decodes();
  EXPECT_EQ(Drawn(path), 0xFF00FF00u);
  EXPECT_EQ(Drawn(path), 0xFF00FF00u);
  EXPECT_EQ(SkinImages().Decodes(), before + 1);
  ASSERT_TRUE(::DeleteFileW(path.c_str()));
  EXPECT_EQ(Drawn(path), 0u);
  EXPECT_EQ(SkinImages().Image(path), nullptr);
  WriteBytes(path, "not an image");
  EXPECT_EQ(Drawn(path), 0u);
}

TEST_F(SkinImageCacheTest, AtItsBoundTheLeastRecentlyUsedImageGoesAndAllStillDraw) {
  SkinImages().SetLimits({2, std::size_t{64} << 20});
  const std::wstring a = FDir / L"a.bmp", b = FDir / L"b.bmp", c = FDir / L"c.bmp";
  WriteBytes(a, SolidBmp(255, 0, 0));
  WriteBytes(b, SolidBmp(0, 255, 0));
  WriteBytes(c, SolidBmp(0, 0, 255));
  Drawn(a);
  Drawn(b);
  Drawn(a);  // b is now the least recently used
  const std::size_t decodes = SkinImages().Decodes();
  EXPECT_EQ(Drawn(c), 0xFF0000FFu);
  EXPECT_EQ(SkinImages().Count(), 2u);
  EXPECT_EQ(Drawn(a), 0xFFFF0000u);
  EXPECT_EQ(SkinImages().Decodes(), decodes + 1);  // a stayed
  EXPECT_EQ(Drawn(b), 0xFF00FF00u);                 // b went, and comes back decoded anew
  EXPECT_EQ(SkinImages().Decodes(), decodes + 2);

  // The byte bound: room for one 4 x 4 image only.
  SkinImages().SetLimits({256, 64});
  EXPECT_EQ(SkinImages().Count(), 1u);
  EXPECT_EQ(Drawn(c), 0xFF0000FFu);
  EXPECT_LE(SkinImages().Bytes(), 64u);
}

TEST_F(SkinImageCacheTest, StretchedImageIsScaledOnceAndFollowsItsFile) {
  const std::wstring path = FDir / L"wide.bmp";
  WriteBytes(path, SolidBmp(255, 0, 0));
  TPNGButton button;
  button.SetBounds(0, 0, 40, 12);
  button.SetImageNormal(path);
  auto draw = [&] {
    TLayeredSurface surface(40, 12);
    DrawPNGButton(*surface.Graphics(), button);
    return surface.Pixel(20, 6);
  };
  EXPECT_EQ(draw(), 0xFFFF0000u);
  const std::size_t decodes = SkinImages().Decodes();
  EXPECT_EQ(draw(), 0xFFFF0000u);
  EXPECT_EQ(SkinImages().Decodes(), decodes);
  WriteBytes(path, SolidBmp(0, 0, 255));
  EXPECT_EQ(draw(), 0xFF0000FFu);  // the scaled copy follows the file too
}

}  // namespace
