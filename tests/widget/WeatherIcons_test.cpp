#include "WeatherIcons.h"
#include "WeatherSkin.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct TIconCodeCase {
  std::wstring Number;
  std::int32_t Code;
};

class GetIconCodeTest : public testing::TestWithParam<TIconCodeCase> {};

TEST_P(GetIconCodeTest, MapsServiceNumber) { EXPECT_EQ(GetIconCode(GetParam().Number), GetParam().Code); }

INSTANTIATE_TEST_SUITE_P(
    Rows, GetIconCodeTest,
    testing::Values(TIconCodeCase{L"1", 26}, TIconCodeCase{L"2", 26}, TIconCodeCase{L"01", 26},
                    TIconCodeCase{L"3", 9}, TIconCodeCase{L"21", 9}, TIconCodeCase{L"22", 9}, TIconCodeCase{L"23", 9},
                    TIconCodeCase{L"24", 9}, TIconCodeCase{L"25", 9}, TIconCodeCase{L"4", 1}, TIconCodeCase{L"5", 1},
                    TIconCodeCase{L"6", 13}, TIconCodeCase{L"13", 13}, TIconCodeCase{L"14", 13},
                    TIconCodeCase{L"15", 13}, TIconCodeCase{L"26", 13}, TIconCodeCase{L"27", 13},
                    TIconCodeCase{L"7", 39}, TIconCodeCase{L"8", 10}, TIconCodeCase{L"9", 10},
                    TIconCodeCase{L"10", 40}, TIconCodeCase{L"11", 40}, TIconCodeCase{L"12", 40},
                    TIconCodeCase{L"16", 16}, TIconCodeCase{L"17", 16}, TIconCodeCase{L"28", 16},
                    TIconCodeCase{L"18", 17}, TIconCodeCase{L"19", 18}, TIconCodeCase{L"20", 19},
                    TIconCodeCase{L"29", 19}, TIconCodeCase{L"30", 23}, TIconCodeCase{L"31", 23},
                    // Not a mapped number: 0, negative, above 31, not a decimal number.
                    TIconCodeCase{L"0", 31}, TIconCodeCase{L"00", 31}, TIconCodeCase{L"", 31},
                    TIconCodeCase{L"32", 31}, TIconCodeCase{L"99", 31}, TIconCodeCase{L"x1", 31},
                    TIconCodeCase{L"-3", 31}, TIconCodeCase{L"-1", 31}, TIconCodeCase{L"1x", 31},
                    TIconCodeCase{L" 1", 31}, TIconCodeCase{L"0x1", 31}, TIconCodeCase{L"+", 31},
                    TIconCodeCase{L"4294967297", 31}, TIconCodeCase{L"99999999999999999999999", 31},
                    TIconCodeCase{L"000000000000000000001", 26}));

struct TIconNameGroup {
  std::vector<std::int32_t> Codes;
  std::wstring Name;
};

class GetIconNameTest : public testing::TestWithParam<TIconNameGroup> {};

TEST_P(GetIconNameTest, NamesEveryCodeOfTheGroup) {
  for (const std::int32_t code : GetParam().Codes) EXPECT_EQ(GetIconName(code), GetParam().Name) << "code " << code;
}

INSTANTIATE_TEST_SUITE_P(
    Groups, GetIconNameTest,
    testing::Values(TIconNameGroup{{1, 2, 3, 4, 37, 38, 47}, L"thunderstorm"},
                    TIconNameGroup{{5, 13, 14, 15, 16, 18, 25, 41, 42, 43}, L"snow"},
                    TIconNameGroup{{6, 7, 8, 17}, L"hail"}, TIconNameGroup{{9, 10, 11, 12, 40}, L"Rainy"},
                    TIconNameGroup{{19, 20, 21, 22}, L"foggy"}, TIconNameGroup{{23, 24}, L"windy"},
                    TIconNameGroup{{26, 27, 28}, L"cloudy"}, TIconNameGroup{{29, 30, 33}, L"partly-cloudy"},
                    TIconNameGroup{{35, 39, 45, 46}, L"few-showers"},
                    TIconNameGroup{{0, 31, 32, 34, 36, 44, 48, 1000, -1, INT32_MIN, INT32_MAX}, L"sun"}));

struct THourCase {
  int Hour;  // the hour of hh:mm
  bool Night;
  bool Afternoon;
};

class TimeOfDayTest : public testing::TestWithParam<THourCase> {};

TEST_P(TimeOfDayTest, NightAndAfternoon) {
  EXPECT_EQ(IsNight(GetParam().Hour), GetParam().Night);
  EXPECT_EQ(IsAfternoon(GetParam().Hour), GetParam().Afternoon);
}

INSTANTIATE_TEST_SUITE_P(Hours, TimeOfDayTest,
                         testing::Values(THourCase{18, false, true},   // 18:59
                                         THourCase{19, true, false},   // 19:00
                                         THourCase{5, true, false},    // 05:59
                                         THourCase{6, false, false},   // 06:00
                                         THourCase{12, false, false},  // 12:59
                                         THourCase{13, false, true},   // 13:00
                                         THourCase{0, true, false}, THourCase{23, true, false}));

struct TSkinGroup {
  std::vector<std::int32_t> Codes;
  std::wstring DayWord;
};

class GetSkinColorTest : public testing::TestWithParam<TSkinGroup> {};

TEST_P(GetSkinColorTest, DayWordByCodeAndBlackAtNight) {
  for (const std::int32_t code : GetParam().Codes) {
    for (const int hour : {6, 12, 13, 18}) EXPECT_EQ(GetSkinColor(code, hour), GetParam().DayWord) << code;
    for (const int hour : {19, 23, 0, 5}) EXPECT_EQ(GetSkinColor(code, hour), L"Black") << code;
  }
}

std::vector<std::int32_t> Range(std::int32_t From, std::int32_t To, std::vector<std::int32_t> More = {}) {
  for (std::int32_t c = From; c <= To; ++c) More.push_back(c);
  return More;
}

INSTANTIATE_TEST_SUITE_P(Groups, GetSkinColorTest,
                         testing::Values(TSkinGroup{Range(1, 22, {26, 27, 28, 35, 37, 38, 39, 40, 41, 42, 43, 45, 46,
                                                                  47}),
                                                    L"BLUE"},
                                         TSkinGroup{Range(29, 34, {23, 24, 25, 36, 44}), L"GRAY"},
                                         TSkinGroup{{0, 48, -1, 100}, L"Blue"}));

}  // namespace
