#include "TextDecoding.h"
#include "CityCode.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Code points as the platform's wide text: surrogate pairs where wchar_t has 16 bits.
std::wstring Wide(std::initializer_list<char32_t> CodePoints) {
  std::wstring out;
  for (char32_t cp : CodePoints) {
    if (sizeof(wchar_t) == 2 && cp >= 0x10000) {
      cp -= 0x10000;
      out += static_cast<wchar_t>(0xD800 + (cp >> 10));
      out += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
    } else {
      out += static_cast<wchar_t>(cp);
    }
  }
  return out;
}

constexpr char32_t R = 0xFFFD;

struct TUtf8Case {
  const char* Name;
  std::string Bytes;
  std::wstring Text;
};

class DecodeUtf8Test : public testing::TestWithParam<TUtf8Case> {};

TEST_P(DecodeUtf8Test, Decodes) { EXPECT_EQ(DecodeUtf8(GetParam().Bytes), GetParam().Text); }

INSTANTIATE_TEST_SUITE_P(
    Cases, DecodeUtf8Test,
    testing::Values(
        TUtf8Case{"Ascii", "<td>25", L"<td>25"}, TUtf8Case{"Empty", "", L""},
        TUtf8Case{"Chinese", "\xE6\x99\xB4\xE2\x84\x83", L"晴℃"},
        TUtf8Case{"TwoBytes", "\xC2\xB0\x43", L"°C"},
        TUtf8Case{"Supplementary", "a\xF0\x9F\x98\x80z", Wide({'a', 0x1F600, 'z'})},
        TUtf8Case{"Highest", "\xF4\x8F\xBF\xBF", Wide({0x10FFFF})},
        TUtf8Case{"BomDropped", "\xEF\xBB\xBFok", L"ok"},
        TUtf8Case{"InnerBomKept", "a\xEF\xBB\xBF", Wide({'a', 0xFEFF})},
        TUtf8Case{"SecondBomKept", "\xEF\xBB\xBF\xEF\xBB\xBF", Wide({0xFEFF})},
        TUtf8Case{"OverlongTwo", "\xC0\x80x", Wide({R, R, 'x'})},
        TUtf8Case{"OverlongThree", "\xE0\x80\xAF", Wide({R, R, R})},
        TUtf8Case{"OverlongFour", "\xF0\x8F\xBF\xBF", Wide({R, R, R, R})},
        TUtf8Case{"Surrogate", "\xED\xA0\x80", Wide({R, R, R})},
        TUtf8Case{"AboveUnicode", "\xF4\x90\x80\x80", Wide({R, R, R, R})},
        TUtf8Case{"BadLeads", "\xF5\xFF\x80", Wide({R, R, R})},
        TUtf8Case{"TruncatedInside", "\xE6\x99<", Wide({R, '<'})},  // one mark for the whole piece
        TUtf8Case{"TruncatedAtEnd", "ab\xF0\x9F\x98", Wide({'a', 'b', R})},
        TUtf8Case{"TwoTruncated", "\xE6\xE6\x99\xB4", Wide({R, 0x6674})},
        TUtf8Case{"Nul", std::string("a\0b", 3), std::wstring(L"a\0b", 3)}),
    [](const auto& Info) { return std::string(Info.param.Name); });

struct TLinesCase {
  std::wstring Text;
  std::vector<std::wstring> Lines;
  std::wstring Rejoined;
};

class LinesTest : public testing::TestWithParam<TLinesCase> {};

TEST_P(LinesTest, SplitAndRejoin) {
  EXPECT_EQ(SplitLines(GetParam().Text), GetParam().Lines);
  EXPECT_EQ(RejoinLines(GetParam().Text), GetParam().Rejoined);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LinesTest,
    testing::Values(TLinesCase{L"a\r\nb", {L"a", L"b"}, L"a\r\nb\r\n"}, TLinesCase{L"a\n", {L"a"}, L"a\r\n"},
                    TLinesCase{L"", {}, L""}, TLinesCase{L"\r\n\r\n", {L"", L""}, L"\r\n\r\n"},
                    TLinesCase{L"a\rb\nc", {L"a", L"b", L"c"}, L"a\r\nb\r\nc\r\n"},
                    TLinesCase{L"\n\r", {L"", L""}, L"\r\n\r\n"},  // LF CR is two breaks
                    TLinesCase{L"x\r", {L"x"}, L"x\r\n"}, TLinesCase{L"\r\r\n", {L"", L""}, L"\r\n\r\n"},
                    TLinesCase{L"no break", {L"no break"}, L"no break\r\n"}));

std::string Utf16(std::initializer_list<unsigned> Units, bool BigEndian) {
  std::string bytes = BigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (const unsigned u : Units) {
    const char lo = static_cast<char>(u & 0xFF), hi = static_cast<char>(u >> 8);
    bytes += BigEndian ? hi : lo;
    bytes += BigEndian ? lo : hi;
  }
  return bytes;
}

struct TFileCase {
  const char* Name;
  std::string Bytes;
  std::wstring Text;
  bool AnsiUsed;
};

class DecodeTextFileTest : public testing::TestWithParam<TFileCase> {};

TEST_P(DecodeTextFileTest, ByteOrderMarkSelectsTheEncoding) {
  std::string seen = "not called";
  const auto ansi = [&](std::string_view Bytes) {
    seen = std::string(Bytes);
    std::wstring text = L"ansi:";
    for (const char c : Bytes) text += static_cast<wchar_t>(static_cast<unsigned char>(c));
    return text;
  };
  EXPECT_EQ(DecodeTextFile(GetParam().Bytes, ansi), GetParam().Text);
  EXPECT_EQ(seen, GetParam().AnsiUsed ? GetParam().Bytes : "not called");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DecodeTextFileTest,
    testing::Values(
        TFileCase{"Utf8", "\xEF\xBB\xBF\xE7\x8F\xA0\xE6\xB5\xB7=1\r\n", L"珠海=1\r\n", false},
        TFileCase{"Utf16Le", Utf16({0x73E0, 0x6D77, '=', '1'}, false), L"珠海=1", false},
        TFileCase{"Utf16Be", Utf16({0x73E0, 0x6D77, '=', '1'}, true), L"珠海=1", false},
        TFileCase{"Utf16Pair", Utf16({'a', 0xD83D, 0xDE00}, false), Wide({'a', 0x1F600}), false},
        TFileCase{"Utf8MarkOnceOnly", "\xEF\xBB\xBF\xEF\xBB\xBF" "a", Wide({0xFEFF, 'a'}), false},
        TFileCase{"Utf16HighBeforeOther", Utf16({0xD83D, 'a'}, false), Wide({R, 'a'}), false},
        TFileCase{"Utf16LoneSurrogates", Utf16({0xDE00, 'a', 0xD83D}, true), Wide({R, 'a', R}), false},
        TFileCase{"Utf16OddByteDropped", Utf16({'a', 'b'}, false) + "c", L"ab", false},
        TFileCase{"MarkOnly", "\xFF\xFE", L"", false}, TFileCase{"OneByte", "\xFF", L"ansi:\xFF", true},
        TFileCase{"NoMark", "abc=1", L"ansi:abc=1", true}, TFileCase{"Empty", "", L"ansi:", true}),
    [](const auto& Info) { return std::string(Info.param.Name); });

struct TCityCase {
  const char* Name;
  std::wstring File;
  std::wstring City;
  std::wstring Code;
};

class FindCityCodeTest : public testing::TestWithParam<TCityCase> {};

TEST_P(FindCityCodeTest, FirstMatchingLine) {
  EXPECT_EQ(FindCityCode(GetParam().File, GetParam().City), GetParam().Code);
}

const std::wstring kCities = L"北京=101010100\r\n珠海=101280701\r\n 澳门=101330101\r\nMacau=101330101\r\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, FindCityCodeTest,
    testing::Values(TCityCase{"Found", kCities, L"珠海", L"101280701"},
                    TCityCase{"NotListed", kCities, L"广州", L""},
                    TCityCase{"LeadingSpaceDoesNotMatch", kCities, L"澳门", L""},
                    TCityCase{"LeadingSpaceMatchesItself", kCities, L" 澳门", L"101330101"},
                    TCityCase{"TrailingSpaceMatters", L"珠海 =1", L"珠海", L""},
                    TCityCase{"AsciiWithoutCase", kCities, L"mACAU", L"101330101"},
                    TCityCase{"OnlyAsciiFolds", L"Ä=1\nä=2", L"ä", L"2"},
                    TCityCase{"FirstOfTwoWins", L"珠海=1\n珠海=2\n", L"珠海", L"1"},
                    TCityCase{"LinesWithoutEqualsSkipped", L"珠海\r\n# 珠海\r\n珠海=3", L"珠海", L"3"},
                    TCityCase{"RestAfterFirstEquals", L"a=b=c", L"a", L"b=c"},
                    TCityCase{"EmptyCode", L"a=\r\na=9", L"a", L""},
                    TCityCase{"EmptyName", L"=7\r\n", L"", L"7"},
                    TCityCase{"CrOnlyLines", L"x=1\ry=2\rz=3", L"y", L"2"},
                    TCityCase{"NameMayNotContainEquals", L"a=b=c", L"a=b", L""},
                    TCityCase{"EmptyFile", L"", L"珠海", L""}),
    [](const auto& Info) { return std::string(Info.param.Name); });

}  // namespace
