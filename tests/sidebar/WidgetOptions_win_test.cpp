#include "WidgetOptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TempDir.h"

namespace {

// The keys of one section in file order, as "key=value".
std::vector<std::wstring> SectionLines(const std::wstring& file, const wchar_t* section) {
  wchar_t buffer[4096] = {};
  const DWORD got = ::GetPrivateProfileSectionW(section, buffer, 4096, file.c_str());
  std::vector<std::wstring> lines;
  for (DWORD at = 0; at < got && buffer[at]; at += static_cast<DWORD>(lines.back().size()) + 1)
    lines.emplace_back(buffer + at);
  return lines;
}

struct TLoadCase {
  const char* Name;
  std::string Sidebar;  // body of [Sidebar]; "<none>" for no file at all
  bool AutoHide;
  TWinDesk WinDesk;
  std::int32_t Monitor;
  TSidebarAlign Align;
  const wchar_t* Skin;
  std::int32_t Interval;
};

class WidgetOptionsLoadTest : public testing::TestWithParam<TLoadCase> {};

TEST_P(WidgetOptionsLoadTest, ReadsSidebarSection) {
  const TLoadCase& c = GetParam();
  TTempDir dir;
  if (c.Sidebar != "<none>") WriteBytes(dir / L"Config\\WidgetOptions.ini", "[Sidebar]\r\n" + c.Sidebar);
  TWidgetOptions options(dir.Path());
  options.Load();
  EXPECT_EQ(options.FSidebarAutoHide, c.AutoHide);
  EXPECT_EQ(options.FSidebarWinDesk, c.WinDesk);
  EXPECT_EQ(options.FSidebarMonitor, c.Monitor);
  EXPECT_EQ(options.FSidebarAlign, c.Align);
  EXPECT_EQ(options.FSidebarSkin, c.Skin);
  EXPECT_EQ(options.FWidgetInterval, c.Interval);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WidgetOptionsLoadTest,
    testing::Values(
        TLoadCase{"missing_file", "<none>", false, wdNormal, 0, saRight, L"White.png", 10},
        TLoadCase{"empty_section", "", false, wdNormal, 0, saRight, L"White.png", 10},
        TLoadCase{"all_set",
                  "SidebarAutoHide=1\r\nSidebarWinDesk=2\r\nSidebarMonitor=1\r\nSidebarAlign=0\r\n"
                  "SidebarSkin=Blue.png\r\nWidgetInterval=4\r\n",
                  true, wdDesk, 1, saLeft, L"Blue.png", 4},
        TLoadCase{"yes_is_not_an_integer", "SidebarAutoHide=yes\r\n", false, wdNormal, 0, saRight, L"White.png", 10},
        TLoadCase{"two_is_true", "SidebarAutoHide=2\r\n", true, wdNormal, 0, saRight, L"White.png", 10},
        TLoadCase{"hex_and_low_byte", "SidebarWinDesk=0x101\r\nSidebarAlign=$100\r\nWidgetInterval=$1F\r\n", false,
                  wdTop, 0, saLeft, L"White.png", 31},
        TLoadCase{"out_of_range_kept", "SidebarWinDesk=7\r\nSidebarMonitor=-3\r\n", false, static_cast<TWinDesk>(7),
                  -3, saRight, L"White.png", 10},
        TLoadCase{"garbage_gives_defaults", "SidebarMonitor=one\r\nWidgetInterval=\r\n", false, wdNormal, 0, saRight,
                  L"White.png", 10}),
    [](const testing::TestParamInfo<TLoadCase>& info) { return info.param.Name; });

TEST(WidgetOptions, LoadReadsGlobalOptions) {
  TTempDir dir;
  WriteBytes(dir / L"Config\\GlobalOptions.ini",
             "[GlobalOptions]\r\nLanguage=0\r\nProxyType=2\r\nProxySvr=127.0.0.1\r\nProxyPort=$1F90\r\n");
  TWidgetOptions options(dir.Path());
  options.Load();
  EXPECT_EQ(options.FLanguage, lgEnglish);
  EXPECT_EQ(options.FProxyType, ptOptions);
  EXPECT_EQ(options.FProxySvr, L"127.0.0.1");
  EXPECT_EQ(options.FProxyPort, 8080);

  TTempDir empty;
  TWidgetOptions defaults(empty.Path());
  defaults.Load();
  EXPECT_EQ(defaults.FLanguage, lgGB2312);
  EXPECT_EQ(defaults.FProxyType, ptIE);
}

TEST(WidgetOptions, CreateAndDestroyWriteNothing) {
  TTempDir dir;
  {
    TWidgetOptions options(dir.Path());
    options.Load();
  }
  EXPECT_FALSE(FileExists(dir / L"Config"));
}

TEST(WidgetOptions, SaveWritesSixKeysInOrderAndKeepsOtherSections) {
  TTempDir dir;
  const std::wstring file = dir / L"Config\\WidgetOptions.ini";
  const std::string global = "[GlobalOptions]\r\nLanguage=0\r\n";
  WriteBytes(dir / L"Config\\GlobalOptions.ini", global);
  WriteBytes(file, "[Other]\r\nKeep=me\r\n[Sidebar]\r\nSidebarMonitor=3\r\n[Last]\r\nAlso=kept\r\n");

  TWidgetOptions options(dir.Path());
  options.Load();
  options.FSidebarAutoHide = true;
  options.FSidebarWinDesk = wdTop;
  options.FSidebarMonitor = 1;
  options.FSidebarAlign = saLeft;
  options.FSidebarSkin = L"蓝色.png";
  options.FWidgetInterval = 6;
  options.Save();

  EXPECT_EQ(SectionLines(file, L"Sidebar"),
            (std::vector<std::wstring>{L"SidebarMonitor=1", L"SidebarAutoHide=1", L"SidebarWinDesk=1",
                                       L"SidebarAlign=0", L"SidebarSkin=蓝色.png", L"WidgetInterval=6"}));
  EXPECT_EQ(SectionLines(file, L"Other"), std::vector<std::wstring>{L"Keep=me"});
  EXPECT_EQ(SectionLines(file, L"Last"), std::vector<std::wstring>{L"Also=kept"});
  EXPECT_EQ(ReadBytes(dir / L"Config\\GlobalOptions.ini"), global);

  TWidgetOptions again(dir.Path());
  again.Load();
  EXPECT_TRUE(again.FSidebarAutoHide);
  EXPECT_EQ(again.FSidebarWinDesk, wdTop);
  EXPECT_EQ(again.FSidebarMonitor, 1);
  EXPECT_EQ(again.FSidebarAlign, saLeft);
  EXPECT_EQ(again.FSidebarSkin, L"蓝色.png");
  EXPECT_EQ(again.FWidgetInterval, 6);
}

TEST(WidgetOptions, SaveIntoFreshInstallationCreatesConfig) {
  TTempDir dir;
  TWidgetOptions options(dir.Path());
  options.Load();
  options.Save();
  EXPECT_EQ(SectionLines(dir / L"Config\\WidgetOptions.ini", L"Sidebar"),
            (std::vector<std::wstring>{L"SidebarAutoHide=0", L"SidebarWinDesk=0", L"SidebarMonitor=0",
                                       L"SidebarAlign=1", L"SidebarSkin=White.png", L"WidgetInterval=10"}));
}

TEST(WidgetOptions, RefusedSaveRaisesAndLosesNoOtherFile) {
  {
    // "Config" is a file: nothing can be written below it.
    TTempDir dir;
    WriteBytes(dir / L"Config", "not a directory");
    TWidgetOptions options(dir.Path());
    options.Load();
    EXPECT_THROW(options.Save(), EIniFileError);
    EXPECT_EQ(ReadBytes(dir / L"Config"), "not a directory");
  }
  {
    // The options file's name is taken by a directory; the global options stay as they were.
    TTempDir dir;
    const std::string global = "[GlobalOptions]\r\nProxyType=0\r\n";
    WriteBytes(dir / L"Config\\GlobalOptions.ini", global);
    ::CreateDirectoryW((dir / L"Config\\WidgetOptions.ini").c_str(), nullptr);
    TWidgetOptions options(dir.Path());
    options.Load();
    EXPECT_THROW(options.Save(), EIniFileError);
    EXPECT_EQ(ReadBytes(dir / L"Config\\GlobalOptions.ini"), global);
  }
}

}  // namespace
