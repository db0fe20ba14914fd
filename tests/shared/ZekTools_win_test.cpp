#include "ZekTools.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "TempDir.h"

namespace {

TEST(ModulePath, IsThisExecutableAndItsDirectory) {
  const std::wstring file = GetModuleFile();
  const std::wstring dir = GetModuleDir();
  ASSERT_GE(file.size(), std::wstring(L"shared_win_tests.exe").size());
  EXPECT_EQ(file.substr(file.size() - 20), L"shared_win_tests.exe");
  ASSERT_FALSE(dir.empty());
  EXPECT_EQ(dir.back(), L'\\');
  EXPECT_EQ(file.rfind(dir, 0), 0u);
  EXPECT_EQ(file.find(L'\\', dir.size()), std::wstring::npos);
}

struct TVersionCase {
  const char* Name;
  std::wstring File;  // relative to the test's directory unless absolute
  const wchar_t* Value;
  const wchar_t* Expected;
};

class FileVersionTest : public testing::TestWithParam<TVersionCase> {};

TEST_P(FileVersionTest, ReadsFirstTranslation) {
  const TVersionCase& c = GetParam();
  TTempDir temp;
  WriteBytes(temp / L"plain.txt", "no resource here");
  const std::wstring file = c.File == L"<text file>" ? temp / L"plain.txt" : GetModuleDir() + c.File;
  EXPECT_EQ(GetFileVersionValue(file, c.Value), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FileVersionTest,
    testing::Values(TVersionCase{"stand_in_file_version", L"Kelvara.exe", L"FileVersion", KELVARA_FILE_VERSION_W},
                    TVersionCase{"stand_in_product_name", L"Kelvara.exe", L"ProductName", L"Kelvara"},
                    TVersionCase{"stand_in_missing_value", L"Kelvara.exe", L"NoSuchValue", L""},
                    TVersionCase{"executable_without_resource", L"shared_win_tests.exe", L"FileVersion", L""},
                    TVersionCase{"text_file", L"<text file>", L"FileVersion", L""},
                    TVersionCase{"missing_file", L"NoSuchProgram.exe", L"FileVersion", L""}),
    [](const testing::TestParamInfo<TVersionCase>& info) { return info.param.Name; });

// Writes the per-user Internet settings for one case and puts the originals back after it.
class SystemProxyTest : public testing::Test {
 protected:
  static constexpr wchar_t kKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

  void SetUp() override {
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &FKey, nullptr),
              ERROR_SUCCESS);
    FSavedEnable = Save(L"ProxyEnable");
    FSavedServer = Save(L"ProxyServer");
  }
  void TearDown() override {
    Restore(L"ProxyEnable", FSavedEnable);
    Restore(L"ProxyServer", FSavedServer);
    ::RegCloseKey(FKey);
  }

  void SetEnable(DWORD value) {
    ::RegSetValueExW(FKey, L"ProxyEnable", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  }
  void SetServer(const std::wstring& value) {
    ::RegSetValueExW(FKey, L"ProxyServer", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  }
  void Remove(const wchar_t* name) { ::RegDeleteValueW(FKey, name); }

  HKEY FKey = nullptr;

 private:
  struct TSaved {
    DWORD Type = 0;
    std::vector<BYTE> Data;
  };
  std::optional<TSaved> Save(const wchar_t* name) {
    TSaved saved;
    DWORD size = 0;
    if (::RegQueryValueExW(FKey, name, nullptr, &saved.Type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
    saved.Data.resize(size);
    ::RegQueryValueExW(FKey, name, nullptr, &saved.Type, saved.Data.data(), &size);
    return saved;
  }
  void Restore(const wchar_t* name, const std::optional<TSaved>& saved) {
    if (!saved)
      ::RegDeleteValueW(FKey, name);
    else
      ::RegSetValueExW(FKey, name, 0, saved->Type, saved->Data.data(), static_cast<DWORD>(saved->Data.size()));
  }
  std::optional<TSaved> FSavedEnable, FSavedServer;
};

TEST_F(SystemProxyTest, EnabledValuesSplitAtFirstColon) {
  struct TCase {
    const wchar_t* Server;  // nullptr: no ProxyServer value
    const wchar_t* Host;
    std::int32_t Port;
  };
  const TCase cases[] = {
      {L"proxyhost:8080", L"proxyhost", 8080},
      {L"proxyhost", L"proxyhost", 0},
      {L"http=web:80;https=sec:443", L"http=web", 0},
      {nullptr, L"", 0},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(c.Server ? c.Server : L"(absent)")));
    SetEnable(1);
    if (c.Server)
      SetServer(c.Server);
    else
      Remove(L"ProxyServer");
    std::wstring host = L"before";
    std::int32_t port = -1;
    EXPECT_TRUE(GetSystemProxy(host, port));
    EXPECT_EQ(host, c.Host);
    EXPECT_EQ(port, c.Port);
  }
}

TEST_F(SystemProxyTest, DisabledLeavesHostAndPortAlone) {
  SetEnable(0);
  SetServer(L"proxyhost:8080");
  std::wstring host = L"before";
  std::int32_t port = 77;
  EXPECT_FALSE(GetSystemProxy(host, port));
  EXPECT_EQ(host, L"before");
  EXPECT_EQ(port, 77);
}

TEST_F(SystemProxyTest, MissingOrTextualEnableRaises) {
  std::wstring host;
  std::int32_t port = 0;
  Remove(L"ProxyEnable");
  EXPECT_THROW(GetSystemProxy(host, port), ERegistryError);
  const std::wstring yes = L"1";
  ::RegSetValueExW(FKey, L"ProxyEnable", 0, REG_SZ, reinterpret_cast<const BYTE*>(yes.c_str()), 4);
  EXPECT_THROW(GetSystemProxy(host, port), ERegistryError);
}

// The directory tree every FindFiles case searches, and what the callback saw.
class FindFilesTest : public testing::Test {
 protected:
  void SetUp() override {
    for (const wchar_t* file : {L"a.txt", L"b.dat", L".hidden.txt", L"sub\\c.txt", L"sub\\.d.txt",
                                L"sub\\deep\\e.txt", L".dotdir\\f.txt"})
      WriteBytes(FRoot / file, "x");
    ::SetFileAttributesW((FRoot / L"b.dat").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
    Seen().clear();
  }

  std::vector<std::wstring> Relative(const std::vector<std::wstring>& list) const {
    std::vector<std::wstring> names;
    for (const std::wstring& path : list) names.push_back(path.substr(FRoot.Path().size()));
    return names;
  }

  static std::vector<std::wstring>& Seen() {
    static std::vector<std::wstring> seen;
    return seen;
  }
  static void Record(const std::wstring& FullPath, const WIN32_FIND_DATAW& Record) {
    Seen().push_back(FullPath.substr(FullPath.find_last_of(L'\\') + 1) +
                     ((Record.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? L"/" : L""));
  }
  static bool Contains(const std::vector<std::wstring>& list, const std::wstring& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
  }

  TTempDir FRoot;
};

TEST_F(FindFilesTest, FlatListsFilesButNoDotNames) {
  std::vector<std::wstring> list{L"kept"};
  FindFiles(list, FRoot.Path().substr(0, FRoot.Path().size() - 1), L"*", false, &Record);
  ASSERT_EQ(list.front(), L"kept");  // never cleared
  list.erase(list.begin());
  std::vector<std::wstring> names = Relative(list);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::wstring>{L"a.txt", L"b.dat"}));
  // The callback still sees every entry, dot entries and directories included.
  for (const wchar_t* entry : {L"./", L"../", L".hidden.txt", L".dotdir/", L"sub/", L"a.txt", L"b.dat"})
    EXPECT_TRUE(Contains(Seen(), entry)) << testing::PrintToString(std::wstring(entry));
}

TEST_F(FindFilesTest, RecursiveListsParentsFilesFirstAndSkipsDotDirectories) {
  std::vector<std::wstring> list;
  FindFiles(list, FRoot.Path(), L"*.txt", true, &Record);
  const std::vector<std::wstring> names = Relative(list);
  EXPECT_EQ(names, (std::vector<std::wstring>{L"a.txt", L"sub\\c.txt", L"sub\\deep\\e.txt"}));
  EXPECT_TRUE(Contains(Seen(), L".hidden.txt"));
  EXPECT_TRUE(Contains(Seen(), L".d.txt"));
  EXPECT_FALSE(Contains(Seen(), L"f.txt"));  // .dotdir is never entered
}

TEST_F(FindFilesTest, MissingDirectoryChangesNothing) {
  std::vector<std::wstring> list{L"kept"};
  FindFiles(list, FRoot / L"no-such-dir", L"*", true, &Record);
  EXPECT_EQ(list, std::vector<std::wstring>{L"kept"});
  EXPECT_TRUE(Seen().empty());
}

TEST(UpdateLayeredFromDC, MakesWindowLayeredInPlaceKeepingItsStyles) {
  HWND wnd = ::CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP, 120, 90, 40, 30, nullptr, nullptr,
                               nullptr, nullptr);
  ASSERT_NE(wnd, nullptr);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), 40, -30, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC screen = ::GetDC(nullptr);
  HDC dc = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_NE(bitmap, nullptr);
  std::fill_n(static_cast<DWORD*>(bits), 40 * 30, 0x80404040u);  // half-transparent grey, premultiplied
  HGDIOBJ old = ::SelectObject(dc, bitmap);

  UpdateLayeredFromDC(wnd, 40, 30, dc, 255);

  const LONG_PTR exStyle = ::GetWindowLongPtrW(wnd, GWL_EXSTYLE);
  EXPECT_TRUE(exStyle & WS_EX_LAYERED);
  EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
  RECT rect{};
  ::GetWindowRect(wnd, &rect);
  EXPECT_EQ(rect.left, 120);
  EXPECT_EQ(rect.top, 90);

  ::SelectObject(dc, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(dc);
  ::ReleaseDC(nullptr, screen);
  ::DestroyWindow(wnd);
}

}  // namespace
