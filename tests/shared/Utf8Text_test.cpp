#include "Utf8Text.h"

#include <gtest/gtest.h>

namespace {

TEST(Utf8Text, EncodesAndDecodesBackEveryPlane) {
  struct TCase {
    std::wstring Text;
    std::string Bytes;
  };
  std::wstring astral;
  AppendCodePoint(astral, 0x1F600);
  for (const TCase& c : {TCase{L"", ""}, TCase{L"A", "A"}, TCase{L"\u00E4", "\xC3\xA4"},
                         TCase{L"\u8BF4\u660E.txt", "\xE8\xAF\xB4\xE6\x98\x8E.txt"},
                         TCase{astral, "\xF0\x9F\x98\x80"}}) {
    EXPECT_EQ(EncodeUtf8(c.Text), c.Bytes);
    std::wstring back;
    EXPECT_TRUE(DecodeUtf8Strict(c.Bytes, back));
    EXPECT_EQ(back, c.Text);
  }
  if constexpr (sizeof(wchar_t) == 2) {
    EXPECT_EQ(EncodeUtf8(std::wstring(1, static_cast<wchar_t>(0xD800)) + L"x"), "\xEF\xBF\xBDx");  // lone surrogate
  }
}

}  // namespace
