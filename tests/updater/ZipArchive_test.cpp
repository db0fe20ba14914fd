#include "ZipArchive.h"

#include <gtest/gtest.h>

#include <functional>

#include "ZipBuilder.h"
#include "ZipEntryCheck.h"
#include "ZipInflate.h"

namespace {

std::span<const std::uint8_t> Span(const std::string& Bytes) {
  return {reinterpret_cast<const std::uint8_t*>(Bytes.data()), Bytes.size()};
}

class TStringSink final : public IZipSink {
 public:
  std::string Data;
  void Write(const std::uint8_t* Bytes, std::size_t Size) override {
    Data.append(reinterpret_cast<const char*>(Bytes), Size);
  }
};

std::string Text(std::size_t Size, unsigned Seed = 1) {
  std::string s(Size, '\0');
  unsigned x = Seed;
  for (auto& c : s) {
    x = x * 1103515245u + 12345u;
    c = static_cast<char>("abcdefgh \n"[(x >> 16) % 10]);
  }
  return s;
}

// Opens, verifies and extracts every file entry into memory.
std::vector<std::pair<std::wstring, std::string>> ExtractAll(const std::string& Bytes) {
  const TZipArchive archive(Span(Bytes));
  VerifyArchive(archive);
  std::vector<std::pair<std::wstring, std::string>> files;
  for (const auto& e : archive.Entries()) {
    TStringSink sink;
    if (!e.IsDirectory) InflateEntry(archive, e, sink);
    files.emplace_back(e.Name, sink.Data);
  }
  return files;
}

TEST(ZipArchive, ReadsStoredDeflatedEmptyAndDirectories) {
  const std::string big = Text(200000);
  const std::string zip = BuildZip({{.Name = "a.txt", .Data = "stored text", .Method = 0},
                                    {.Name = "Widgets/", .Data = "", .Method = 0, .External = 0x10},
                                    {.Name = "Widgets/New/Deep/big.bin", .Data = big},
                                    {.Name = "empty.txt", .Data = "", .Method = 8},
                                    {.Name = "empty0.txt", .Data = "", .Method = 0},
                                    {.Name = "ro.txt", .Data = "r", .External = 0x21}});
  const auto files = ExtractAll(zip);
  ASSERT_EQ(files.size(), 6u);
  EXPECT_EQ(files[0], (std::pair<std::wstring, std::string>{L"a.txt", "stored text"}));
  EXPECT_EQ(files[2].first, L"Widgets/New/Deep/big.bin");
  EXPECT_EQ(files[2].second, big);
  EXPECT_EQ(files[3].second, "");
  EXPECT_EQ(files[4].second, "");

  const TZipArchive archive(Span(zip));
  EXPECT_TRUE(archive.Entries()[1].IsDirectory);
  EXPECT_EQ(archive.Entries()[1].Attributes, kZipAttrDirectory);
  EXPECT_EQ(archive.Entries()[5].Attributes, kZipAttrReadOnly | kZipAttrArchive);
  EXPECT_EQ(archive.TotalUncompressedSize(), 11u + big.size() + 1);
  EXPECT_EQ(EntryTargetPath(L"C:\\Kelvara\\", archive.Entries()[2].Name), L"C:\\Kelvara\\Widgets\\New\\Deep\\big.bin");
}

TEST(ZipArchive, UnixAttributesAndUtf8Names) {
  const std::string zip = BuildZip({{.Name = "\xE5\x8D\x87\xE7\xBA\xA7.txt", .Data = "x", .MadeBy = 0x0314,
                                     .External = 0100444u << 16, .Flags = 0x0800},
                                    {.Name = "rw.txt", .Data = "y", .MadeBy = 0x0314, .External = 0100644u << 16}});
  const TZipArchive archive(Span(zip));
  EXPECT_EQ(archive.Entries()[0].Name, L"\u5347\u7EA7.txt");
  EXPECT_EQ(archive.Entries()[0].Attributes, kZipAttrReadOnly);
  EXPECT_EQ(archive.Entries()[1].Attributes, 0u);
}

TEST(ZipArchive, ProgressHookSeesEveryBlockAndMayStop) {
  const std::string data = Text(100000);
  const std::string zip = BuildZip({{.Name = "s.bin", .Data = data, .Method = 0}});
  const TZipArchive archive(Span(zip));
  std::vector<std::int32_t> percents;
  TStringSink sink;
  InflateEntry(archive, archive.Entries()[0], sink,
               [&](std::uint64_t written) { percents.push_back(EntryPercent(written, data.size())); });
  EXPECT_EQ(percents, (std::vector<std::int32_t>{33, 66, 98, 100}));
  struct TStop {};
  TStringSink partial;
  EXPECT_THROW(InflateEntry(archive, archive.Entries()[0], partial, [](std::uint64_t) { throw TStop{}; }), TStop);
  EXPECT_EQ(partial.Data.size(), kZipBlockSize);
  EXPECT_EQ(EntryPercent(0, 0), 0);
}

// One fault made on purpose per case; every one refuses the whole archive.
struct TBadArchiveCase {
  const char* Name;
  std::function<std::string()> Make;
  TZipFault Fault;
};

class BadArchiveTest : public testing::TestWithParam<TBadArchiveCase> {};

TEST_P(BadArchiveTest, IsRefused) {
  const std::string bytes = GetParam().Make();
  try {
    ExtractAll(bytes);
    FAIL() << "archive accepted";
  } catch (const EZipError& e) {
    EXPECT_EQ(e.Fault(), GetParam().Fault) << e.what();
  }
}

std::string TwoFiles() { return BuildZip({{.Name = "a.txt", .Data = Text(3000)}, {.Name = "b.txt", .Data = "bbb"}}); }

INSTANTIATE_TEST_SUITE_P(
    Cases, BadArchiveTest,
    testing::Values(
        TBadArchiveCase{"empty_file", [] { return std::string(); }, TZipFault::NotAnArchive},
        TBadArchiveCase{"not_an_archive", [] { return std::string("<html>404 Not Found</html>") + std::string(100, ' '); },
                        TZipFault::NotAnArchive},
        TBadArchiveCase{"truncated", [] { auto z = TwoFiles(); z.resize(z.size() - 30); return z; },
                        TZipFault::NotAnArchive},
        TBadArchiveCase{"truncated_data", [] {
                          auto image = BuildZipImage({{.Name = "a.txt", .Data = Text(3000)}});
                          // Cut the data but keep a well-formed end record pointing past it.
                          std::string z = image.Bytes.substr(0, 100) + image.Bytes.substr(image.DirectoryOffset);
                          PutU32(z, z.size() - 6, 100);
                          return z;
                        }, TZipFault::Overlap},
        TBadArchiveCase{"crc_mismatch", [] { return BuildZip({{.Name = "a.txt", .Data = "hello", .Crc = 0x12345678}}); },
                        TZipFault::DataError},
        TBadArchiveCase{"crc_mismatch_stored",
                        [] { return BuildZip({{.Name = "a.txt", .Data = "hello", .Method = 0, .Crc = 1}}); },
                        TZipFault::DataError},
        TBadArchiveCase{"declared_smaller", [] {
                          return BuildZip({{.Name = "a.txt", .Data = Text(5000), .UncompressedSize = 4000}});
                        }, TZipFault::DataError},
        TBadArchiveCase{"declared_larger", [] {
                          return BuildZip({{.Name = "a.txt", .Data = Text(5000), .UncompressedSize = 6000}});
                        }, TZipFault::DataError},
        TBadArchiveCase{"corrupt_deflate", [] {
                          auto image = BuildZipImage({{.Name = "a.txt", .Data = Text(5000)}});
                          for (std::size_t i = 40; i < 60; ++i) image.Bytes[i] = '\xFF';
                          return image.Bytes;
                        }, TZipFault::DataError},
        TBadArchiveCase{"overlapping_entries", [] {
                          auto image = BuildZipImage({{.Name = "a.txt", .Data = "aaa"}, {.Name = "b.txt", .Data = "aaa"}});
                          // Both directory entries point at the first local header.
                          PutU32(image.Bytes, image.CentralOffsets[1] + 42, 0);
                          return image.Bytes;
                        }, TZipFault::BadStructure},
        TBadArchiveCase{"overlapping_spans", [] {
                          auto image = BuildZipImage({{.Name = "a.txt", .Data = Text(300)}, {.Name = "b.txt", .Data = "b"}});
                          // The first entry claims the second one's header as its data.
                          const auto packed = static_cast<std::uint32_t>(image.LocalOffsets[1] - 35 + 20);
                          PutU32(image.Bytes, image.CentralOffsets[0] + 20, packed);
                          PutU32(image.Bytes, 18, packed);
                          return image.Bytes;
                        }, TZipFault::Overlap},
        TBadArchiveCase{"local_name_differs", [] {
                          return BuildZip({{.Name = "a.txt", .Data = "x", .LocalName = std::string("..\\evil")}});
                        }, TZipFault::BadStructure},
        TBadArchiveCase{"local_header_missing", [] {
                          auto image = BuildZipImage({{.Name = "a.txt", .Data = "x"}});
                          PutU32(image.Bytes, image.CentralOffsets[0] + 42, 7);
                          return image.Bytes;
                        }, TZipFault::BadStructure},
        TBadArchiveCase{"count_disagrees", [] {
                          auto image = BuildZipImage({{.Name = "a.txt", .Data = "x"}, {.Name = "b.txt", .Data = "y"}});
                          PutU16(image.Bytes, image.EndOffset + 8, 1);
                          PutU16(image.Bytes, image.EndOffset + 10, 1);
                          return image.Bytes;
                        }, TZipFault::BadStructure},
        TBadArchiveCase{"encrypted", [] { return BuildZip({{.Name = "a.txt", .Data = "x", .Flags = 1}}); },
                        TZipFault::Unsupported},
        TBadArchiveCase{"bzip2", [] { return BuildZip({{.Name = "a.txt", .Data = "x", .Method = 12}}); },
                        TZipFault::Unsupported},
        TBadArchiveCase{"multi_disk", [] { auto z = TwoFiles(); PutU16(z, z.size() - 18, 1); return z; },
                        TZipFault::Unsupported},
        TBadArchiveCase{"duplicate_name", [] {
                          return BuildZip({{.Name = "Kelvara.exe", .Data = "1"}, {.Name = "KELVARA.EXE", .Data = "2"}});
                        }, TZipFault::DuplicateName},
        TBadArchiveCase{"file_where_directory", [] {
                          return BuildZip({{.Name = "Skin", .Data = "1"}, {.Name = "Skin/a.png", .Data = "2"}});
                        }, TZipFault::DuplicateName},
        TBadArchiveCase{"directory_with_data",
                        [] { return BuildZip({{.Name = "dir/", .Data = "data", .Method = 0}}); },
                        TZipFault::BadStructure},
        TBadArchiveCase{"declared_beyond_the_entry_ceiling",
                        [] { return BuildZip({{.Name = "a.bin", .Data = "x", .UncompressedSize = 600u << 20}}); },
                        TZipFault::TooLarge},
        TBadArchiveCase{"declared_beyond_the_total_ceiling", [] {
                          return BuildZip({{.Name = "a.bin", .Data = "x", .UncompressedSize = 300u << 20},
                                           {.Name = "b.bin", .Data = "y", .UncompressedSize = 300u << 20}});
                        },
                        TZipFault::TooLarge},
        TBadArchiveCase{"zip_bomb", [] { return BuildZip({{.Name = "zeros.bin", .Data = std::string(10u << 20, '\0')}}); },
                        TZipFault::TooLarge},
        TBadArchiveCase{"too_many_entries", [] {
                          std::vector<TZipSpec> entries;
                          for (int i = 0; i < 10001; ++i)
                            entries.push_back({.Name = std::string("f").append(std::to_string(i)), .Data = "", .Method = 0});
                          return BuildZip(entries);
                        },
                        TZipFault::TooLarge},
        TBadArchiveCase{"name_too_long", [] { return BuildZip({{.Name = std::string(1025, 'a'), .Data = "x"}}); },
                        TZipFault::TooLarge},
        TBadArchiveCase{"nested_too_deep", [] {
                          std::string name;
                          for (int i = 0; i < 32; ++i) name += "d/";
                          return BuildZip({{.Name = name + "x.txt", .Data = "x"}});
                        },
                        TZipFault::TooLarge},
        TBadArchiveCase{"twenty_entries_32700_deep", [] {
                          std::string deep;
                          for (int i = 0; i < 32700; ++i) deep += "d/";
                          std::vector<TZipSpec> entries;
                          for (int i = 0; i < 20; ++i)
                            entries.push_back({.Name = deep + std::to_string(i) + "/", .Data = "", .Method = 0});
                          return BuildZip(entries);
                        },
                        TZipFault::TooLarge},
        TBadArchiveCase{"bad_utf8", [] { return BuildZip({{.Name = "a\xC0\xAF.txt", .Data = "x", .Flags = 0x0800}}); },
                        TZipFault::UnsafeName}),
    [](const auto& info) { return std::string(info.param.Name); });

// Every unsafe name refuses the archive, even with safe entries around it.
struct TNameCase {
  const char* Name;
  TEntryNameFault Fault;
};

class UnsafeNameTest : public testing::TestWithParam<TNameCase> {};

TEST_P(UnsafeNameTest, RefusesArchive) {
  const std::string name = GetParam().Name;
  const std::string zip = BuildZip({{.Name = "good.txt", .Data = "g"}, {.Name = name, .Data = "evil"}});
  try {
    TZipArchive archive(Span(zip));
    FAIL() << "accepted " << name;
  } catch (const EZipError& e) {
    EXPECT_EQ(e.Fault(), TZipFault::UnsafeName);
  }
  std::wstring wide(name.begin(), name.end());
  EXPECT_EQ(CheckEntryName(wide), GetParam().Fault) << name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UnsafeNameTest,
    testing::Values(TNameCase{"../evil.txt", TEntryNameFault::ParentOrSelf},
                    TNameCase{"..\\evil.txt", TEntryNameFault::ParentOrSelf},
                    TNameCase{"a/../../evil.txt", TEntryNameFault::ParentOrSelf},
                    TNameCase{"a/./b.txt", TEntryNameFault::ParentOrSelf},
                    TNameCase{"..", TEntryNameFault::ParentOrSelf},
                    TNameCase{"/etc/passwd", TEntryNameFault::Absolute},
                    TNameCase{"\\Windows\\evil.dll", TEntryNameFault::Absolute},
                    TNameCase{"\\\\server\\share\\x", TEntryNameFault::Absolute},
                    TNameCase{"//server/share/x", TEntryNameFault::Absolute},
                    TNameCase{"\\\\?\\C:\\x", TEntryNameFault::Absolute},
                    TNameCase{"\\\\.\\PhysicalDrive0", TEntryNameFault::Absolute},
                    TNameCase{"C:evil.txt", TEntryNameFault::Colon},
                    TNameCase{"C:\\evil.txt", TEntryNameFault::Colon},
                    TNameCase{"Kelvara.exe:stream", TEntryNameFault::Colon},
                    TNameCase{"file.txt::$DATA", TEntryNameFault::Colon},
                    TNameCase{"evil.", TEntryNameFault::TrailingDotSpace},
                    TNameCase{"evil ", TEntryNameFault::TrailingDotSpace},
                    TNameCase{"dir./x", TEntryNameFault::TrailingDotSpace},
                    TNameCase{"CON", TEntryNameFault::ReservedDevice},
                    TNameCase{"nul.txt", TEntryNameFault::ReservedDevice},
                    TNameCase{"Sub/Aux.tar.gz", TEntryNameFault::ReservedDevice},
                    TNameCase{"com1", TEntryNameFault::ReservedDevice},
                    TNameCase{"LPT9.log", TEntryNameFault::ReservedDevice},
                    TNameCase{"CON .txt", TEntryNameFault::ReservedDevice},
                    TNameCase{"a//b", TEntryNameFault::EmptyComponent},
                    TNameCase{"a?.txt", TEntryNameFault::BadCharacter},
                    TNameCase{"a*b", TEntryNameFault::BadCharacter},
                    TNameCase{"tab\tname", TEntryNameFault::BadCharacter},
                    TNameCase{"KELVAR~1.EXE", TEntryNameFault::ShortNameAlias},
                    TNameCase{"WIDGET~1/Widget.dll", TEntryNameFault::ShortNameAlias},
                    TNameCase{"Skin/SIDEBA~1", TEntryNameFault::ShortNameAlias},
                    TNameCase{"A~1.T", TEntryNameFault::ShortNameAlias},
                    TNameCase{"", TEntryNameFault::Empty}));

TEST(ZipArchive, EntriesJustWithinTheCeilingsPass) {
  std::string name;
  for (int i = 0; i < 31; ++i) name += "d/";
  const std::string zip =
      BuildZip({{.Name = name + "x.txt", .Data = "x"}, {.Name = std::string(1024, 'b'), .Data = "y"},
                {.Name = "zeros.bin", .Data = std::string(1u << 20, '\0')}});  // small: any ratio
  EXPECT_EQ(ExtractAll(zip).size(), 3u);
  TZipLimits tight;
  tight.Entries = 2;
  EXPECT_THROW(TZipArchive(Span(zip), {}, {}, tight), EZipError);
}

TEST(ZipArchive, NamesCollideAsTheGivenOrderTellsThemApart) {
  // UTF-8 names that differ in the letter case of a letter beyond ASCII.
  const std::string zip = BuildZip({{.Name = "\xC3\x84.txt", .Data = "x", .Flags = 0x0800},
                                    {.Name = "\xC3\xA4.txt", .Data = "y", .Flags = 0x0800}});
  EXPECT_NO_THROW(TZipArchive(Span(zip)));  // the default folds ASCII only
  const TNameOrder folding = [](std::wstring_view A, std::wstring_view B) {
    auto fold = [](std::wstring_view S) {
      std::wstring out(S);
      for (auto& c : out)
        if (c == L'\u00E4') c = L'\u00C4';
      return out;
    };
    const std::wstring a = fold(A), b = fold(B);
    return a < b ? -1 : (a == b ? 0 : 1);
  };
  try {
    TZipArchive archive(Span(zip), {}, folding);
    FAIL() << "accepted";
  } catch (const EZipError& e) {
    EXPECT_EQ(e.Fault(), TZipFault::DuplicateName);
  }
  // A file under one spelling, a directory needed under the other.
  const std::string nested = BuildZip({{.Name = "\xC3\x84", .Data = "x", .Flags = 0x0800},
                                       {.Name = "\xC3\xA4/b.txt", .Data = "y", .Flags = 0x0800}});
  EXPECT_THROW(TZipArchive(Span(nested), {}, folding), EZipError);
  EXPECT_NO_THROW(TZipArchive(Span(nested)));
}

TEST(UnsafeName, EmbeddedNul) {
  const std::string name("good.txt\0.exe", 13);
  const std::string zip = BuildZip({{.Name = name, .Data = "x"}});
  EXPECT_THROW(TZipArchive(Span(zip)), EZipError);
  EXPECT_EQ(CheckEntryName(std::wstring(L"a\0b", 3)), TEntryNameFault::EmbeddedNul);
}

TEST(SafeName, PlainRelativePathsPass) {
  for (const wchar_t* name : {L"Kelvara.exe", L"Skin/sidebar/Up.png", L"Widgets\\Weather\\", L"console/x", L"COM10.txt",
                              L"a.b.c", L"\u5347\u7EA7/\u8BF4\u660E.txt", L".hidden", L"...a",
                              // tildes that no short name has: too long, no digits, a long extension
                              L"Notes~1-backup.txt", L"widget~12", L"~1.txt", L"a~b.txt", L"file~1.html", L"a~1b"})
    EXPECT_EQ(CheckEntryName(name), TEntryNameFault::None) << std::wstring(name).size();
}

TEST(ZipArchive, CommentAfterEndRecordIsAllowed) {
  const std::string zip = BuildZipImage({{.Name = "a.txt", .Data = "x"}}, "PK\x05\x06 inside a comment").Bytes;
  EXPECT_EQ(ExtractAll(zip).size(), 1u);
}

}  // namespace
