#include "VersionFileText.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "Utf8Text.h"

namespace {

using TLines = std::vector<std::wstring>;

// Code points of UTF-16LE bytes after the byte-order mark, as the updater reads them; none
// for an odd length, a missing mark or a lone surrogate.
std::optional<std::u32string> DecodeVersionFile(const std::string& Bytes) {
  if (Bytes.size() % 2 != 0 || Bytes.compare(0, 2, "\xFF\xFE") != 0) return std::nullopt;
  std::u32string text;
  for (std::size_t at = 2; at < Bytes.size(); at += 2) {
    const auto unitAt = [&Bytes](std::size_t i) {
      return static_cast<char32_t>(static_cast<unsigned char>(Bytes[i]) |
                                   static_cast<unsigned char>(Bytes[i + 1]) << 8);
    };
    const char32_t unit = unitAt(at);
    if (unit >= 0xDC00 && unit <= 0xDFFF) return std::nullopt;
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      if (at + 2 >= Bytes.size()) return std::nullopt;
      const char32_t low = unitAt(at + 2);
      if (low < 0xDC00 || low > 0xDFFF) return std::nullopt;
      text += 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
      at += 2;
    } else {
      text += unit;
    }
  }
  return text;
}

std::wstring Wide(std::u32string_view CodePoints) {
  std::wstring text;
  for (const char32_t c : CodePoints) AppendCodePoint(text, c);
  return text;
}

std::string Repeat(std::string_view Piece, std::size_t Count) {
  std::string text;
  for (std::size_t i = 0; i < Count; ++i) text += Piece;
  return text;
}

const std::string kGrinning = "\xF0\x9F\x98\x80";  // U+1F600, two UTF-16 units

TEST(ReleaseNotes, LinesAsTheProfileReaderWouldReadThem) {
  struct TCase {
    const char* Name;
    std::string Utf8;
    TLines Lines;
  };
  const TCase cases[] = {
      {"empty", "", {}},
      {"only a byte-order mark", "\xEF\xBB\xBF", {}},
      {"byte-order mark dropped", "\xEF\xBB\xBF" "First\r\nSecond", {L"First", L"Second"}},
      {"LF", "First\nSecond\n", {L"First", L"Second"}},
      {"CR LF", "First\r\nSecond\r\n", {L"First", L"Second"}},
      {"mixed line ends", "a\r\nb\nc", {L"a", L"b", L"c"}},
      {"blanks at both ends", "  a \t\r\n\tb\t\n \t c  d \t", {L"a", L"b", L"c  d"}},
      {"blanks before CR LF", "a \t \r\n", {L"a"}},
      {"empty lines inside kept, at the end dropped", "a\n\n \t\nb\n\n \t\n\r\n\n",
       {L"a", L"", L"", L"b"}},
      {"a tab inside a line kept", "Fixed:\tcrash\n", {L"Fixed:\tcrash"}},
      {"non-ASCII", "Gr\xC3\xB6\xC3\x9F" "e \xE8\xAF\xB4\xE6\x98\x8E\n" + kGrinning + " new\n",
       {L"Gr\u00F6\u00DFe \u8BF4\u660E", Wide(U"\U0001F600 new")}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TLines lines{L"left over"};
    std::wstring error;
    ASSERT_TRUE(ParseReleaseNotes(c.Utf8, lines, error)) << testing::PrintToString(error);
    EXPECT_EQ(lines, c.Lines);
  }
}

TEST(ReleaseNotes, TextThatIsNotUtf8IsRefused) {
  for (const std::string utf8 : {"\xFF" "abc", "caf\xC3", "a\n\xC0\x80", "a\n\xED\xA0\x80", "\xEF\xBB\xBF\xE9t\xE9",
                                 "\xEF\xBB"}) {
    SCOPED_TRACE(testing::PrintToString(utf8));
    TLines lines;
    std::wstring error;
    EXPECT_FALSE(ParseReleaseNotes(utf8, lines, error));
    EXPECT_FALSE(error.empty());
  }
}

// A control character would end the value early or break the file's lines where it is read.
TEST(ReleaseNotes, ControlCharacterIsRefusedWithItsLine) {
  for (const std::string& utf8 : {std::string("one\ntwo\nA\0B", 11), std::string("one\ntwo\nA\rB\n"),
                                 std::string("one\ntwo\n\x1B[31mred"), std::string("one\ntwo\n\x01")}) {
    SCOPED_TRACE(testing::PrintToString(utf8));
    TLines lines;
    std::wstring error;
    EXPECT_FALSE(ParseReleaseNotes(utf8, lines, error));
    EXPECT_NE(error.find(L'3'), std::wstring::npos) << testing::PrintToString(error);
  }
}

// The updater reads at most kVersionFileValueMax UTF-16 units of a value; wchar_t may have 32 bits here.
TEST(ReleaseNotes, LineLengthIsCountedInUtf16Units) {
  ASSERT_EQ(kVersionFileValueMax, 2047u);
  const std::string ascii2047(2047, 'x'), astral2047 = Repeat(kGrinning, 1023) + "a",
                    bmp2047 = Repeat("\xE8\xAF\xB4", 2047);
  struct TCase {
    const char* Name;
    std::string Utf8;
    std::string Kept;  // the last line, whole; empty when refused
  };
  const TCase cases[] = {
      {"2047 ASCII", ascii2047 + "\r\n", ascii2047},
      {"2047 ASCII and blanks at the ends", " \t" + ascii2047 + " \t \r\n", ascii2047},
      {"2048 ASCII", ascii2047 + "x", ""},
      {"2048 ASCII on the second line", "short\n" + ascii2047 + "x\n", ""},
      {"1023 astral and one ASCII", astral2047, astral2047},
      {"1024 astral", Repeat(kGrinning, 1024), ""},
      {"2047 BMP non-ASCII", bmp2047, bmp2047},
      {"2048 BMP non-ASCII", bmp2047 + "\xE8\xAF\xB4", ""},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TLines lines;
    std::wstring error;
    const bool accepted = ParseReleaseNotes(c.Utf8, lines, error);
    EXPECT_EQ(accepted, !c.Kept.empty()) << testing::PrintToString(error);
    if (!c.Kept.empty()) {
      ASSERT_EQ(lines.size(), 1u);
      EXPECT_EQ(EncodeUtf8(lines[0]), c.Kept);
    } else {
      EXPECT_FALSE(error.empty());
    }
  }
}

TEST(VersionFile, Utf16WithByteOrderMarkAndEveryKey) {
  const std::string bytes = VersionFileBytes(L"6.10.0.0", {L"First", L"", L"Third"}, "MEUCIQDx+/9=");
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
  EXPECT_EQ(DecodeVersionFile(bytes), std::u32string(U"[UpdateInfo]\r\n"
                                                     U"Version=6.10.0.0\r\n"
                                                     U"Signature=MEUCIQDx+/9=\r\n"
                                                     U"[VersionInfo]\r\n"
                                                     U"Line1=First\r\n"
                                                     U"Line2=\r\n"
                                                     U"Line3=Third\r\n"));
}

// The profile reader takes a pair of matching quotes off a value; a quoted note keeps its own.
TEST(VersionFile, QuotedNoteGetsAPairOfQuotesToLose) {
  EXPECT_EQ(DecodeVersionFile(VersionFileBytes(L"7", {L"\"Beta\"", L"'x'", L"\"open", L"a \"b\"", L"\""}, "")),
            std::u32string(U"[UpdateInfo]\r\nVersion=7\r\n[VersionInfo]\r\nLine1=\"\"Beta\"\"\r\nLine2=\"'x'\"\r\n"
                           U"Line3=\"open\r\nLine4=a \"b\"\r\nLine5=\"\r\n"));
}

TEST(VersionFile, UnsignedHasNoSignatureKey) {
  EXPECT_EQ(DecodeVersionFile(VersionFileBytes(L"7", {L"Only"}, "")),
            std::u32string(U"[UpdateInfo]\r\nVersion=7\r\n[VersionInfo]\r\nLine1=Only\r\n"));
  EXPECT_EQ(DecodeVersionFile(VersionFileBytes(L"7", {}, "")),
            std::u32string(U"[UpdateInfo]\r\nVersion=7\r\n[VersionInfo]\r\n"));
}

TEST(VersionFile, CharacterBeyondTheBmpIsASurrogatePair) {
  const std::string bytes = VersionFileBytes(L"7", {Wide(U"\U0001F600")}, "");
  EXPECT_NE(bytes.find(std::string("=\0\x3D\xD8\x00\xDE\r\0", 8)), std::string::npos);  // D83D DE00
  EXPECT_EQ(DecodeVersionFile(bytes),
            std::u32string(U"[UpdateInfo]\r\nVersion=7\r\n[VersionInfo]\r\nLine1=\U0001F600\r\n"));
}

TEST(VersionFile, NotesFromUtf8ComeBackAsWritten) {
  TLines lines;
  std::wstring error;
  ASSERT_TRUE(ParseReleaseNotes("\xEF\xBB\xBF" "Gr\xC3\xB6\xC3\x9F" "e \xC3\xA4ndern\r\n\xE8\xAF\xB4\xE6\x98\x8E\r\n" +
                                    kGrinning + " \xF0\x90\x80\x80\r\n",
                                lines, error));
  EXPECT_EQ(DecodeVersionFile(VersionFileBytes(L"6.9.3", lines, "c2ln")),
            std::u32string(U"[UpdateInfo]\r\nVersion=6.9.3\r\nSignature=c2ln\r\n[VersionInfo]\r\n"
                           U"Line1=Gr\u00F6\u00DFe \u00E4ndern\r\n"
                           U"Line2=\u8BF4\u660E\r\n"
                           U"Line3=\U0001F600 \U00010000\r\n"));
}

}  // namespace
