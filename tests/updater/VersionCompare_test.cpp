#include "VersionCompare.h"

#include <gtest/gtest.h>

#include "ZekText.h"

namespace {

struct TVersionCase {
  const wchar_t* Installed;
  const wchar_t* Announced;
  bool Update;
};

class VersionCompareTest : public testing::TestWithParam<TVersionCase> {};

TEST_P(VersionCompareTest, OffersOnlyNewerVersions) {
  const auto& c = GetParam();
  EXPECT_EQ(UpdateAvailable(c.Installed, c.Announced), c.Update);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VersionCompareTest,
    testing::Values(TVersionCase{L"6.9.9.9", L"6.10.0.0", true},       // numbers, not text
                    TVersionCase{L"6.9.2.0", L"6.9.2", false},         // missing part is 0
                    TVersionCase{L"6.99.99.99", L"7", true},
                    TVersionCase{L"6.9.2.0", L"6.9.2.0", false},
                    TVersionCase{L"6.9.2.0", L"6.9.1.9", false},       // older
                    TVersionCase{L"6.9.2.0", L"6.9.2.0.9", false},     // fifth part ignored
                    TVersionCase{L"6.9.2.0", L"6.9.2.1.0", true},
                    TVersionCase{L"6.9.2.0", L"6.x.3.0", false},       // non-numeric part is 0
                    TVersionCase{L"6.x.2.0", L"6.0.2.1", true},
                    TVersionCase{L"", L"0.0.0.1", true},               // no Kelvara.exe: 0.0.0.0
                    TVersionCase{L"", L"", false},                     // nothing announced
                    TVersionCase{L"6.9.2.0", L"", false},
                    TVersionCase{L"6, 9, 2, 0", L"0.0.0.1", true},     // commas: one part, not a number
                    TVersionCase{L"6.9.2.0", L"6.9.2.$A", true}));     // integers read like profile values

TEST(VersionCompare, ParsesFourParts) {
  EXPECT_EQ(ParseVersion(L"6.10.0.7.5"), (TVersionParts{6, 10, 0, 7}));
  EXPECT_EQ(ParseVersion(L"1..3"), (TVersionParts{1, 0, 3, 0}));
}

TEST(VersionCompare, SplitTextAtDotKeepsEmptyParts) {
  EXPECT_EQ(SplitText(L"6.10..0", L"."), (std::vector<std::wstring>{L"6", L"10", L"", L"0"}));
  EXPECT_EQ(SplitText(L"7", L"."), (std::vector<std::wstring>{L"7"}));
  EXPECT_TRUE(SplitText(L"", L".").empty());
}

}  // namespace
