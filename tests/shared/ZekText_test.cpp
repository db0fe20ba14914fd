#include "ZekText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct TCutCase {
  const wchar_t* Text;
  const wchar_t* Separator;
  const wchar_t* Before;
  const wchar_t* After;
};

class TextCutTest : public testing::TestWithParam<TCutCase> {};

TEST_P(TextCutTest, BeforeAndAfterFirstSeparator) {
  const TCutCase& c = GetParam();
  EXPECT_EQ(TextBefore(c.Text, c.Separator), c.Before);
  EXPECT_EQ(TextAfter(c.Text, c.Separator), c.After);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextCutTest,
    testing::Values(TCutCase{L"Proxy:8080", L":", L"Proxy", L"8080"},
                    // ASCII letters match without case; the result keeps the original case.
                    TCutCase{L"widgets\\a", L"WIDGETS", L"", L"\\a"},
                    TCutCase{L"C:\\Apps\\Kelvara\\Widgets\\Weather\\Widget.dll", L"widgets",
                             L"C:\\Apps\\Kelvara\\", L"\\Weather\\Widget.dll"},
                    TCutCase{L"abc", L"x", L"abc", L"abc"},       // not found: the whole text
                    TCutCase{L"abc", L"", L"abc", L"abc"},        // an empty separator is never found
                    TCutCase{L"", L":", L"", L""},
                    TCutCase{L"a:b:c", L":", L"a", L"b:c"},       // the first occurrence only
                    TCutCase{L"ab", L"abc", L"ab", L"ab"},        // separator longer than the text
                    TCutCase{L"x:", L":", L"x", L""},
                    // Only a to z fold: other letters must match exactly.
                    TCutCase{L"Ä1ä", L"ä", L"Ä1", L""},
                    TCutCase{L"天气预报", L"预", L"天气", L"报"}));

struct TBetweenCase {
  const char* Name;
  std::wstring Source;
  std::wstring StartMark;
  std::wstring EndMark;
  std::wstring Expected;  // Output starts as "unchanged"
};

class TextBetweenTest : public testing::TestWithParam<TBetweenCase> {};

TEST_P(TextBetweenTest, SetsOrKeepsOutput) {
  const TBetweenCase& c = GetParam();
  std::wstring output = L"unchanged";
  TextBetween(c.Source, c.StartMark, c.EndMark, output);
  EXPECT_EQ(output, c.Expected);
}

const std::wstring kFar = std::wstring(65535 - 1, L'x');

INSTANTIATE_TEST_SUITE_P(
    Cases, TextBetweenTest,
    testing::Values(
        TBetweenCase{"found", L"<b>晴转多云</b>", L"<b>", L"</b>", L"晴转多云"},
        TBetweenCase{"first_start_mark_wins", L"[a][b]", L"[", L"]", L"a"},
        TBetweenCase{"empty_between", L"<i></i>", L"<i>", L"</i>", L""},
        TBetweenCase{"start_missing", L"abc</b>", L"<b>", L"</b>", L"unchanged"},
        TBetweenCase{"end_missing", L"<b>abc", L"<b>", L"</b>", L"unchanged"},
        TBetweenCase{"end_before_start_only", L"</b>x<b>y", L"<b>", L"</b>", L"unchanged"},
        TBetweenCase{"empty_start_mark", L"abc", L"", L"c", L"unchanged"},
        TBetweenCase{"empty_end_mark", L"abc", L"a", L"", L"unchanged"},
        // The end mark must lie wholly within the 65,535 characters behind the start mark.
        TBetweenCase{"end_mark_at_window_edge", L"S" + kFar + L"E", L"S", L"E", kFar},
        TBetweenCase{"end_mark_past_window", L"S" + kFar + L"xE", L"S", L"E", L"unchanged"},
        TBetweenCase{"end_mark_straddles_window", L"S" + kFar + L"EF", L"S", L"EF", L"unchanged"}),
    [](const testing::TestParamInfo<TBetweenCase>& info) { return info.param.Name; });

struct TSplitCase {
  const wchar_t* Text;
  const wchar_t* Separator;
  std::vector<std::wstring> Parts;
};

class SplitTextTest : public testing::TestWithParam<TSplitCase> {};

TEST_P(SplitTextTest, KeepsEmptyElements) {
  const TSplitCase& c = GetParam();
  EXPECT_EQ(SplitText(c.Text, c.Separator), c.Parts);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitTextTest,
    testing::Values(TSplitCase{L"6.1.0.12", L".", {L"6", L"1", L"0", L"12"}},
                    TSplitCase{L"6..1.", L".", {L"6", L"", L"1", L""}},
                    TSplitCase{L"", L".", {}},
                    TSplitCase{L".", L".", {L"", L""}},
                    TSplitCase{L"6.9.2", L"..", {L"6.9.2"}},
                    TSplitCase{L"a::b", L"::", {L"a", L"b"}},
                    TSplitCase{L"aaa", L"aa", {L"", L"a"}},  // occurrences do not overlap
                    TSplitCase{L"6, 9, 2, 0", L".", {L"6, 9, 2, 0"}}));

TEST(IntToDigits, DigitsOrEmptyForNegative) {
  EXPECT_EQ(IntToDigits(0), L"0");
  EXPECT_EQ(IntToDigits(1080), L"1080");
  EXPECT_EQ(IntToDigits(2147483647), L"2147483647");
  EXPECT_EQ(IntToDigits(-5), L"");
  EXPECT_EQ(IntToDigits(-2147483647 - 1), L"");
}

struct TProxyCase {
  const wchar_t* Value;
  const wchar_t* Host;
  int Port;
};

class SplitProxyServerTest : public testing::TestWithParam<TProxyCase> {};

TEST_P(SplitProxyServerTest, SplitsAtFirstColonOnly) {
  std::wstring host = L"old";
  std::int32_t port = -1;
  SplitProxyServer(GetParam().Value, host, port);
  EXPECT_EQ(host, GetParam().Host);
  EXPECT_EQ(port, GetParam().Port);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitProxyServerTest,
    testing::Values(TProxyCase{L"proxyhost:8080", L"proxyhost", 8080},
                    TProxyCase{L"proxyhost", L"proxyhost", 0},  // no colon: the whole text, read as a number
                    TProxyCase{L"3128", L"3128", 3128},
                    TProxyCase{L"http=web:80;https=sec:443", L"http=web", 0},
                    TProxyCase{L"", L"", 0},
                    TProxyCase{L"h:0x50", L"h", 80}));

struct TDirCase {
  const wchar_t* Path;
  const wchar_t* Dir;
};

class ModuleDirTest : public testing::TestWithParam<TDirCase> {};

TEST_P(ModuleDirTest, KeepsUpToLastBackslashOrColon) {
  EXPECT_EQ(ModuleDirFromPath(GetParam().Path), GetParam().Dir);
}

INSTANTIATE_TEST_SUITE_P(Cases, ModuleDirTest,
                         testing::Values(TDirCase{L"C:\\Apps\\Kelvara\\Renewa.exe", L"C:\\Apps\\Kelvara\\"},
                                         TDirCase{L"C:Renewa.exe", L"C:\\"},
                                         TDirCase{L"\\\\srv\\share\\a.dll", L"\\\\srv\\share\\"},
                                         TDirCase{L"C:\\", L"C:\\"}));

TEST(AsciiCase, OnlyTheLettersAToZFold) {
  EXPECT_EQ(LowerAscii(L"25°C ÄÖ Zz@[`"), L"25°c ÄÖ zz@[`");
  EXPECT_TRUE(SameTextAscii(L"BeiJing", L"bEIjING"));
  EXPECT_FALSE(SameTextAscii(L"Ä", L"ä"));
  EXPECT_FALSE(SameTextAscii(L"@", L"`"));  // neighbours of the letter ranges
  EXPECT_FALSE(SameTextAscii(L"ab", L"abc"));
  EXPECT_TRUE(SameTextAscii(L"", L""));
}

}  // namespace
