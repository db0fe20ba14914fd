// Installing an archive over a directory: everything or nothing.
#include "VCLUnZip.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "InstallRecovery.h"
#include "TempDir.h"
#include "ZipBuilder.h"

namespace {

struct TFileState {
  std::string Bytes;
  DWORD Attributes;
  bool operator==(const TFileState&) const = default;
};

// Every file and directory below Dir, with contents and attributes.
void Snapshot(const std::wstring& Dir, const std::wstring& Prefix, std::map<std::wstring, TFileState>& Out) {
  WIN32_FIND_DATAW data;
  const HANDLE find = ::FindFirstFileW((Dir + L"*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      Out[Prefix + name + L"\\"] = {"", 0};
      Snapshot(Dir + name + L"\\", Prefix + name + L"\\", Out);
    } else {
      Out[Prefix + name] = {ReadBytes(Dir + name), data.dwFileAttributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN)};
    }
  } while (::FindNextFileW(find, &data));
  ::FindClose(find);
}

std::map<std::wstring, TFileState> Snapshot(const TTempDir& Dir) {
  std::map<std::wstring, TFileState> out;
  Snapshot(Dir.Path(), L"", out);
  return out;
}

// The installation in Dir outside its working folder "Update\".
std::map<std::wstring, TFileState> InstallationAt(const std::wstring& Dir) {
  std::map<std::wstring, TFileState> all;
  Snapshot(Dir, L"", all);
  for (auto it = all.begin(); it != all.end();)
    it = it->first.rfind(L"Update\\", 0) == 0 ? all.erase(it) : std::next(it);
  return all;
}

class UnZipTest : public testing::Test {
 protected:
  void SetUp() override {
    WriteBytes(dir / L"Kelvara.exe", "old exe");
    WriteBytes(dir / L"Readme.txt", "old readme");
    WriteBytes(dir / L"Locked.dat", "old read-only");
    ::SetFileAttributesW((dir / L"Locked.dat").c_str(), FILE_ATTRIBUTE_READONLY);
    ::CreateDirectoryW((dir / L"Skin").c_str(), nullptr);
    WriteBytes(dir / L"Skin\\a.png", "old png");
    ::CreateDirectoryW((dir / L"Update").c_str(), nullptr);
    unzip.SetDestDir(dir.Path());
    unzip.ZipName = dir / L"Update\\Update.zip";
    unzip.OnUnZipComplete = [this](TVCLUnZip&, std::int32_t count) { completions.push_back(count); };
    unzip.OnFilePercentDone = [this](TVCLUnZip& sender, std::int32_t percent) {
      percents.push_back(percent);
      if (cancelAfter >= 0 && static_cast<int>(percents.size()) > cancelAfter) sender.CancelTheOperation();
    };
  }
  void TearDown() override {
    // Read-only files would keep the temporary directory.
    std::map<std::wstring, TFileState> all = Snapshot(dir);
    for (const auto& [path, _] : all) ::SetFileAttributesW((dir / path).c_str(), FILE_ATTRIBUTE_NORMAL);
  }
  void Archive(const std::vector<TZipSpec>& Entries) { WriteBytes(unzip.ZipName, BuildZip(Entries)); }

  // What stays the same whatever happens: the installation outside the working folder.
  std::map<std::wstring, TFileState> Installation() { return InstallationAt(dir.Path()); }

  TTempDir dir;
  TVCLUnZip unzip;
  std::vector<std::int32_t> completions;
  std::vector<std::int32_t> percents;
  int cancelAfter = -1;
};

const std::string kBig(100000, 'k');

std::vector<TZipSpec> GoodUpdate() {
  return {{.Name = "Kelvara.exe", .Data = "new exe " + kBig},
          {.Name = "Readme.txt", .Data = "new readme", .Method = 0},
          {.Name = "Locked.dat", .Data = "new read-only", .External = 0x21},
          {.Name = "Widgets/", .Data = "", .Method = 0, .External = 0x10},
          {.Name = "Widgets/Weather/Images/sun.png", .Data = "sun"},
          {.Name = "Empty.txt", .Data = ""},
          {.Name = "Hidden.ini", .Data = "h", .External = 0x22}};
}

TEST_F(UnZipTest, InstallsEveryEntry) {
  Archive(GoodUpdate());
  EXPECT_EQ(unzip.UnZip(), 7);
  EXPECT_EQ(completions, (std::vector<std::int32_t>{7}));
  const auto after = Installation();
  EXPECT_EQ(after.at(L"Kelvara.exe").Bytes, "new exe " + kBig);
  EXPECT_EQ(after.at(L"Readme.txt").Bytes, "new readme");
  EXPECT_EQ(after.at(L"Locked.dat"), (TFileState{"new read-only", FILE_ATTRIBUTE_READONLY}));
  EXPECT_EQ(after.at(L"Widgets\\Weather\\Images\\sun.png").Bytes, "sun");
  EXPECT_EQ(after.at(L"Empty.txt").Bytes, "");
  EXPECT_EQ(after.at(L"Hidden.ini").Attributes, static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
  EXPECT_EQ(after.at(L"Skin\\a.png").Bytes, "old png");  // not in the archive: untouched
  EXPECT_EQ(after.size(), 11u);  // nothing else: no temporary files left
  EXPECT_FALSE(FileExists(dir / L"Update\\Backup"));
  ASSERT_FALSE(percents.empty());
  EXPECT_EQ(percents.back(), 100);
  // The stored time (2025-01-01 12:00 local) is kept.
  WIN32_FILE_ATTRIBUTE_DATA data{};
  ASSERT_TRUE(::GetFileAttributesExW((dir / L"Readme.txt").c_str(), GetFileExInfoStandard, &data));
  FILETIME local{};
  SYSTEMTIME when{};
  ::FileTimeToLocalFileTime(&data.ftLastWriteTime, &local);
  ::FileTimeToSystemTime(&local, &when);
  EXPECT_EQ(when.wYear, 2025);
  EXPECT_EQ(when.wHour, 12);
}

TEST_F(UnZipTest, ASecondRunOverTheFirstWorks) {
  Archive(GoodUpdate());
  unzip.UnZip();
  EXPECT_EQ(unzip.UnZip(), 7);
  EXPECT_EQ(Installation().at(L"Locked.dat").Bytes, "new read-only");
}

// Archives refused before anything is written.
struct TRefusedCase {
  const char* Name;
  std::function<std::string()> Make;
  TUnZipFailure Failure;
};

class RefusedTest : public UnZipTest, public testing::WithParamInterface<TRefusedCase> {};

TEST_P(RefusedTest, WritesNothing) {
  WriteBytes(unzip.ZipName, GetParam().Make());
  const auto before = Installation();
  try {
    unzip.Check();
    FAIL() << "check passed";
  } catch (const EUnZipError& e) {
    EXPECT_EQ(e.Failure(), GetParam().Failure);
  }
  try {
    unzip.UnZip();
    FAIL() << "installed";
  } catch (const EUnZipError& e) {
    EXPECT_EQ(e.Failure(), GetParam().Failure);
  }
  EXPECT_EQ(Installation(), before);
  EXPECT_TRUE(completions.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedTest,
    testing::Values(
        TRefusedCase{"parent_entry", [] {
                       return BuildZip({{.Name = "Kelvara.exe", .Data = "new"}, {.Name = "..\\evil.txt", .Data = "x"}});
                     }, TUnZipFailure::Rejected},
        TRefusedCase{"corrupt_entry", [] {
                       return BuildZip({{.Name = "Kelvara.exe", .Data = "new"},
                                        {.Name = "Readme.txt", .Data = "new readme", .Crc = 7}});
                     }, TUnZipFailure::Rejected},
        TRefusedCase{"stream_name", [] { return BuildZip({{.Name = "Kelvara.exe:evil", .Data = "x"}}); },
                     TUnZipFailure::Rejected},
        TRefusedCase{"unicode_case_collision", [] {
                       return BuildZip({{.Name = "\xC3\x84.txt", .Data = "upper", .Flags = 0x0800},
                                        {.Name = "\xC3\xA4.txt", .Data = "lower", .Flags = 0x0800}});
                     }, TUnZipFailure::Rejected},
        TRefusedCase{"fullwidth_case_collision", [] {
                       return BuildZip({{.Name = "Skin/\xEF\xBC\xA1.png", .Data = "A", .Flags = 0x0800},
                                        {.Name = "skin/\xEF\xBD\x81.png", .Data = "a", .Flags = 0x0800}});
                     }, TUnZipFailure::Rejected},
        TRefusedCase{"file_where_a_folded_directory_is", [] {
                       return BuildZip({{.Name = "\xC3\x84", .Data = "file", .Flags = 0x0800},
                                        {.Name = "\xC3\xA4/b.txt", .Data = "b", .Flags = 0x0800}});
                     }, TUnZipFailure::Rejected},
        TRefusedCase{"short_name_alias", [] { return BuildZip({{.Name = "KELVAR~1.EXE", .Data = "x"}}); },
                     TUnZipFailure::Rejected},
        TRefusedCase{"path_too_long_for_the_destination",
                     [] { return BuildZip({{.Name = "Skin/" + std::string(220, 'n') + ".png", .Data = "x"}}); },
                     TUnZipFailure::Rejected},
        TRefusedCase{"zip_bomb", [] { return BuildZip({{.Name = "zeros.bin", .Data = std::string(8u << 20, '\0')}}); },
                     TUnZipFailure::Rejected},
        TRefusedCase{"html_page", [] { return std::string("<html>not found</html>"); }, TUnZipFailure::NotAnArchive},
        TRefusedCase{"empty_file", [] { return std::string(); }, TUnZipFailure::NotAnArchive}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(UnZipTest, NamesThatDifferBeyondTheFoldingAreDistinctFiles) {
  // Fullwidth A and plain A are two files, as are letters the file system does not fold.
  Archive({{.Name = "\xEF\xBC\xA1.txt", .Data = "fullwidth", .Flags = 0x0800},
           {.Name = "A.txt", .Data = "plain", .Flags = 0x0800}});
  EXPECT_EQ(unzip.UnZip(), 2);
  EXPECT_EQ(ReadBytes(dir / L"\uFF21.txt"), "fullwidth");
  EXPECT_EQ(ReadBytes(dir / L"A.txt"), "plain");
}

TEST_F(UnZipTest, AnArchiveLargerThanTheFreeSpaceIsRefusedByTheCheck) {
  Archive(GoodUpdate());
  const auto before = Installation();
  std::vector<std::wstring> asked;
  unzip.FreeSpace = [&](const std::wstring& Dir) {
    asked.push_back(Dir);
    return std::uint64_t{1} << 20;  // the update needs a little more
  };
  for (auto run : {+[](TVCLUnZip& u) { u.Check(); }, +[](TVCLUnZip& u) { u.UnZip(); }}) {
    try {
      run(unzip);
      FAIL() << "accepted";
    } catch (const EUnZipError& e) {
      EXPECT_EQ(e.Failure(), TUnZipFailure::NoSpace);
    }
  }
  EXPECT_EQ(asked.size(), 2u);
  EXPECT_EQ(Installation(), before);
  unzip.FreeSpace = [](const std::wstring&) { return std::uint64_t{2} << 20; };
  EXPECT_EQ(unzip.UnZip(), 7);
}

TEST_F(UnZipTest, AStopAfterAnyReplacementIsUndoneOrFinishedByTheNextStart) {
  // What the disk holds at each point a killed run could stop at, copied away; the next
  // start's recovery over each copy must leave the old or the new version whole.
  Archive(GoodUpdate());
  const auto before = Installation();
  std::vector<std::unique_ptr<TTempDir>> stops;
  std::vector<std::size_t> placed;
  unzip.OnPlaced = [&](std::size_t Placed) {
    placed.push_back(Placed);
    stops.push_back(std::make_unique<TTempDir>());
    CopyTree(dir.Path().substr(0, dir.Path().size() - 1), stops.back()->Path().substr(0, stops.back()->Path().size() - 1));
  };
  EXPECT_EQ(unzip.UnZip(), 7);
  const auto after = Installation();
  const std::size_t files = 6;
  ASSERT_EQ(placed.size(), files + 1);
  for (std::size_t k = 0; k <= files; ++k) {
    SCOPED_TRACE("stopped after " + std::to_string(placed[k]) + " replacements");
    const std::wstring copy = stops[k]->Path().substr(0, stops[k]->Path().size() - 1);
    EXPECT_TRUE(FileExists(copy + L"\\Update\\Install.journal"));
    const TRecovery recovery = RecoverInstallation(copy);
    EXPECT_EQ(recovery, k < files ? TRecovery::RolledBack : TRecovery::Finished);
    const auto state = InstallationAt(stops[k]->Path());
    EXPECT_TRUE(state == (k < files ? before : after)) << "neither the old nor the new version";
    std::map<std::wstring, TFileState> everything;
    Snapshot(stops[k]->Path(), L"", everything);
    for (const auto& [name, _] : everything)
      EXPECT_EQ(name.find(L".~"), std::wstring::npos) << testing::PrintToString(name);  // no temporary file left
    EXPECT_FALSE(FileExists(copy + L"\\Update\\Install.journal"));
    EXPECT_FALSE(FileExists(copy + L"\\Update\\Backup"));
    EXPECT_EQ(RecoverInstallation(copy), TRecovery::Nothing);  // and once is enough
  }
  for (const auto& stop : stops)
    for (const auto& [path, _] : Snapshot(*stop)) ::SetFileAttributesW((stop->Path() + path).c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(UnZipTest, AnUndoThatCannotMoveAFileBackKeepsTheJournalForTheNextStart) {
  Archive(GoodUpdate());
  std::unique_ptr<TTempDir> stop;
  unzip.OnPlaced = [&](std::size_t Placed) {
    if (Placed != 2) return;
    stop = std::make_unique<TTempDir>();
    CopyTree(dir.Path().substr(0, dir.Path().size() - 1), stop->Path().substr(0, stop->Path().size() - 1));
  };
  unzip.UnZip();
  ASSERT_TRUE(stop);
  const std::wstring copy = stop->Path().substr(0, stop->Path().size() - 1);
  // The first file's new version is held open without sharing: it cannot be moved aside.
  const HANDLE held = ::CreateFileW((copy + L"\\Kelvara.exe").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_EQ(RecoverInstallation(copy), TRecovery::Failed);
  EXPECT_TRUE(FileExists(copy + L"\\Update\\Install.journal"));
  EXPECT_TRUE(FileExists(copy + L"\\Update\\Backup"));
  ::CloseHandle(held);
  EXPECT_EQ(RecoverInstallation(copy), TRecovery::RolledBack);  // the next start
  EXPECT_EQ(ReadBytes(copy + L"\\Kelvara.exe"), "old exe");
  for (const auto& [path, _] : Snapshot(*stop)) ::SetFileAttributesW((stop->Path() + path).c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(UnZipTest, AnArchiveChangedAfterItsCheckIsCheckedAgain) {
  Archive(GoodUpdate());
  unzip.Check();
  const auto before = Installation();
  auto corrupt = GoodUpdate();
  corrupt[1].Crc = 7;  // same size, one entry no longer sound
  Archive(corrupt);
  try {
    unzip.UnZip();
    FAIL() << "installed";
  } catch (const EUnZipError& e) {
    EXPECT_EQ(e.Failure(), TUnZipFailure::Rejected);
  }
  EXPECT_EQ(Installation(), before);
  Archive(GoodUpdate());
  unzip.Check();
  EXPECT_EQ(unzip.UnZip(), 7);  // checked once, installed
}

TEST_F(UnZipTest, MissingArchiveIsNotAnArchive) {
  try {
    unzip.UnZip();
    FAIL();
  } catch (const EUnZipError& e) {
    EXPECT_EQ(e.Failure(), TUnZipFailure::NotAnArchive);
  }
}

TEST_F(UnZipTest, FailurePartWayRestoresEverything) {
  auto entries = GoodUpdate();
  // The last entry cannot be written: a directory stands where the file must go.
  entries.push_back({.Name = "Skin", .Data = "a file"});
  entries.erase(entries.begin() + 3);  // no "Widgets/" entry, so "Skin" is not a duplicate of anything
  Archive(entries);
  const auto before = Installation();
  try {
    unzip.UnZip();
    FAIL();
  } catch (const EUnZipError& e) {
    EXPECT_EQ(e.Failure(), TUnZipFailure::RolledBack);
  }
  EXPECT_EQ(Installation(), before);
  EXPECT_FALSE(FileExists(dir / L"Widgets"));  // new directories are gone too
  EXPECT_FALSE(FileExists(dir / L"Update\\Backup"));
  EXPECT_EQ(completions, (std::vector<std::int32_t>{0}));
}

TEST_F(UnZipTest, CancelRestoresEverything) {
  Archive(GoodUpdate());
  cancelAfter = 0;  // at the first block of the first entry
  const auto before = Installation();
  try {
    unzip.UnZip();
    FAIL();
  } catch (const EUnZipError& e) {
    EXPECT_EQ(e.Failure(), TUnZipFailure::Cancelled);
  }
  EXPECT_EQ(Installation(), before);
  EXPECT_EQ(completions, (std::vector<std::int32_t>{0}));
  EXPECT_FALSE(unzip.FBusy);
}

TEST_F(UnZipTest, CancelAfterSomeFilesRestoresThemToo) {
  Archive(GoodUpdate());
  cancelAfter = 3;  // once three files are in place
  const auto before = Installation();
  EXPECT_THROW(unzip.UnZip(), EUnZipError);
  EXPECT_EQ(percents.size(), 4u);
  EXPECT_EQ(Installation(), before);
}

TEST_F(UnZipTest, RunningProgramIsReplaced) {
  // A running executable cannot be overwritten in place, but it can be renamed.
  ::SetFileAttributesW((dir / L"Kelvara.exe").c_str(), FILE_ATTRIBUTE_NORMAL);
  ASSERT_TRUE(::CopyFileW(L"Kelvara.exe", (dir / L"Kelvara.exe").c_str(), FALSE));
  STARTUPINFOW startup{sizeof(startup)};
  PROCESS_INFORMATION process{};
  std::wstring commandLine = L"\"" + (dir / L"Kelvara.exe") + L"\" /ignoreclose";
  ASSERT_TRUE(::CreateProcessW((dir / L"Kelvara.exe").c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               dir.Path().c_str(), &startup, &process));
  ::WaitForInputIdle(process.hProcess, 5000);
  Archive({{.Name = "Kelvara.exe", .Data = "replacement"}});
  EXPECT_EQ(unzip.UnZip(), 1);
  EXPECT_EQ(ReadBytes(dir / L"Kelvara.exe"), "replacement");
  ::TerminateProcess(process.hProcess, 0);
  ::WaitForSingleObject(process.hProcess, 5000);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
}

}  // namespace
