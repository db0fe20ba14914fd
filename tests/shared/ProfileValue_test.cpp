#include "ProfileValue.h"

#include <gtest/gtest.h>

#include <optional>

#include "DefineUint.h"

namespace {

struct TIntegerCase {
  const wchar_t* Text;
  std::optional<std::int32_t> Value;
};

class ProfileIntegerTest : public testing::TestWithParam<TIntegerCase> {};

TEST_P(ProfileIntegerTest, ReadsDecimalAndHexadecimal) {
  EXPECT_EQ(ParseProfileInteger(GetParam().Text), GetParam().Value) << testing::PrintToString(
      std::wstring(GetParam().Text));
  EXPECT_EQ(ProfileInteger(GetParam().Text, 42), GetParam().Value.value_or(42));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileIntegerTest,
    testing::Values(TIntegerCase{L"10", 10}, TIntegerCase{L"0", 0}, TIntegerCase{L"-7", -7},
                    TIntegerCase{L"+7", 7}, TIntegerCase{L"0x1F", 31}, TIntegerCase{L"0X1f", 31},
                    TIntegerCase{L"$1F", 31}, TIntegerCase{L"-$10", -16}, TIntegerCase{L" 12 ", 12},
                    TIntegerCase{L"2147483647", 2147483647}, TIntegerCase{L"-2147483648", -2147483647 - 1},
                    TIntegerCase{L"$FFFFFFFF", -1},  // hexadecimal spans all 32 bits
                    TIntegerCase{L"2147483648", std::nullopt}, TIntegerCase{L"$100000000", std::nullopt},
                    TIntegerCase{L"yes", std::nullopt}, TIntegerCase{L"", std::nullopt},
                    TIntegerCase{L"0x", std::nullopt}, TIntegerCase{L"$", std::nullopt},
                    TIntegerCase{L"-", std::nullopt}, TIntegerCase{L"12a", std::nullopt},
                    TIntegerCase{L"1 2", std::nullopt}, TIntegerCase{L"1.5", std::nullopt},
                    TIntegerCase{L"0x1G", std::nullopt}, TIntegerCase{L"１２", std::nullopt}));

TEST(ProfileBool, NonZeroIntegerIsTrueOtherwiseDefault) {
  EXPECT_TRUE(ProfileBool(L"1", false));
  EXPECT_TRUE(ProfileBool(L"2", false));
  EXPECT_TRUE(ProfileBool(L"-1", false));
  EXPECT_FALSE(ProfileBool(L"0", true));
  EXPECT_FALSE(ProfileBool(L"yes", false));
  EXPECT_TRUE(ProfileBool(L"yes", true));
  EXPECT_FALSE(ProfileBool(L"", false));
}

TEST(ProfileEnum, KeepsLowByteAndUnnamedValues) {
  EXPECT_EQ(ProfileEnum(L"2", ptIE), ptOptions);
  EXPECT_EQ(ProfileEnum(L"7", ptIE), static_cast<TProxyType>(7));
  EXPECT_EQ(ProfileEnum(L"258", ptIE), ptOptions);  // 0x102
  EXPECT_EQ(ProfileEnum(L"-1", lgGB2312), static_cast<TLanguage>(0xFF));
  EXPECT_EQ(ProfileEnum(L"0x1F", wdNormal), static_cast<TWinDesk>(31));
  EXPECT_EQ(ProfileEnum(L"abc", saRight), saRight);
  EXPECT_EQ(ProfileEnum(L"", lgGB2312), lgGB2312);
}

}  // namespace
