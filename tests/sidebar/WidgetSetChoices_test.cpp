#include "WidgetSetChoices.h"

#include <gtest/gtest.h>

#include "ZekText.h"

namespace {

bool SameAscii(const std::wstring& A, const std::wstring& B) { return SameTextAscii(A, B); }

TEST(WidgetSetChoices, MonitorItemsAndSelection) {
  const std::vector<std::wstring> two = MonitorItems(2);
  EXPECT_EQ(two, (std::vector<std::wstring>{L"0", L"1"}));
  EXPECT_EQ(MonitorItemIndex(two, 1), 1);
  EXPECT_EQ(MonitorItemIndex(two, 0), 0);
  EXPECT_EQ(MonitorItemIndex(two, 2), -1);   // stored beyond the monitors: no selection
  EXPECT_EQ(MonitorItemIndex(two, -1), -1);
  EXPECT_TRUE(MonitorItems(0).empty());
}

TEST(WidgetSetChoices, SkinNamesEndBeforeTheFirstDot) {
  struct TCase {
    const wchar_t* Path;
    const wchar_t* Name;
  };
  for (const TCase& c : {TCase{L"C:\\K\\Skin\\sidebar\\background\\White.png", L"White"},
                         TCase{L"C:\\K\\Skin\\sidebar\\background\\Blue.Dark.png", L"Blue"},
                         TCase{L"C:\\K.1\\Skin\\sidebar\\background\\Green.png", L"Green"},
                         TCase{L"Plain", L"Plain"}}) {
    EXPECT_EQ(SkinName(c.Path), c.Name) << c.Path;
  }
}

TEST(WidgetSetChoices, CurrentSkinFoundThroughTheGivenComparison) {
  const std::vector<std::wstring> paths{L"C:\\K\\bg\\Blue.png", L"C:\\K\\bg\\White.png"};
  EXPECT_EQ(SkinItemIndex(paths, L"c:\\k\\BG\\white.PNG", SameAscii), 1);
  EXPECT_EQ(SkinItemIndex(paths, L"C:\\K\\other\\White.png", SameAscii), -1);
  EXPECT_EQ(SkinItemIndex({}, L"C:\\K\\bg\\White.png", SameAscii), -1);
}

TEST(WidgetSetChoices, SkinToApply) {
  EXPECT_EQ(SkinToApply(L"C:\\K\\bg\\", L"Blue", true, L"C:\\K\\bg\\White.png"), L"C:\\K\\bg\\Blue.png");
  // Nothing selected: the sidebar keeps its skin instead of a file named ".png".
  EXPECT_EQ(SkinToApply(L"C:\\K\\bg\\", L"", false, L"C:\\K\\bg\\White.png"), L"C:\\K\\bg\\White.png");
}

TEST(WidgetSetChoices, WidgetGapFromTypedText) {
  struct TCase {
    const wchar_t* Text;
    std::int32_t Value;
  };
  for (const TCase& c : {TCase{L"10", 10}, TCase{L" 42 ", 42}, TCase{L"1", 1}, TCase{L"100", 100},
                         TCase{L"0", 1}, TCase{L"101", 100}, TCase{L"-5", 1}, TCase{L"+7", 7},
                         TCase{L"99999999999999999999", 100}, TCase{L"", 1}, TCase{L"abc", 1},
                         TCase{L"12abc", 1}, TCase{L"-", 1}, TCase{L"1 2", 1}}) {
    EXPECT_EQ(WidgetInvFromText(c.Text), c.Value) << "\"" << std::string(c.Text, c.Text + wcslen(c.Text)) << "\"";
  }
}

}  // namespace
