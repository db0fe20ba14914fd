#include "WidgetOptions.h"

#include <windows.h>

#include "GlobalOptions.h"

TWidgetOptions* WidgetOptions = nullptr;

namespace {
constexpr wchar_t kSection[] = L"Sidebar";
constexpr wchar_t kConfigDir[] = L"Config";
constexpr wchar_t kOptionsFile[] = L"Config\\WidgetOptions.ini";

constexpr struct {
  bool AutoHide = false;
  TWinDesk WinDesk = wdNormal;
  std::int32_t Monitor = 0;
  TSidebarAlign Align = saRight;
  const wchar_t* Skin = L"White.png";
  std::int32_t Interval = 10;
} kDefaults;
}  // namespace

TWidgetOptions::TWidgetOptions(const std::wstring& ProgramDir)
    : FIniOptions(std::make_unique<TIniFile>(ProgramDir + kOptionsFile)),
      FSidebarAutoHide(kDefaults.AutoHide),
      FSidebarWinDesk(kDefaults.WinDesk),
      FSidebarMonitor(kDefaults.Monitor),
      FSidebarAlign(kDefaults.Align),
      FSidebarSkin(kDefaults.Skin),
      FWidgetInterval(kDefaults.Interval),
      FProgramDir(ProgramDir) {}

void TWidgetOptions::Load() {
  {
    const TIniFile global(FProgramDir + kGlobalOptionsFile);
    const TGlobalOptions options = ReadGlobalOptions(global);
    FLanguage = options.FLanguage;
    FProxyType = options.FProxyType;
    FProxySvr = options.FProxySvr;
    FProxyPort = options.FProxyPort;
  }
  const TIniFile& ini = *FIniOptions;
  FSidebarAutoHide = ini.ReadBool(kSection, L"SidebarAutoHide", kDefaults.AutoHide);
  FSidebarWinDesk = ini.ReadEnum(kSection, L"SidebarWinDesk", kDefaults.WinDesk);
  FSidebarMonitor = ini.ReadInteger(kSection, L"SidebarMonitor", kDefaults.Monitor);
  FSidebarAlign = ini.ReadEnum(kSection, L"SidebarAlign", kDefaults.Align);
  FSidebarSkin = ini.ReadString(kSection, L"SidebarSkin", kDefaults.Skin);
  FWidgetInterval = ini.ReadInteger(kSection, L"WidgetInterval", kDefaults.Interval);
}

void TWidgetOptions::Save() {
  // A fresh installation has no "Config" yet; without it no setting could ever be kept.
  ::CreateDirectoryW((FProgramDir + kConfigDir).c_str(), nullptr);
  TIniFile& ini = *FIniOptions;
  ini.WriteBool(kSection, L"SidebarAutoHide", FSidebarAutoHide);
  ini.WriteInteger(kSection, L"SidebarWinDesk", FSidebarWinDesk);
  ini.WriteInteger(kSection, L"SidebarMonitor", FSidebarMonitor);
  ini.WriteInteger(kSection, L"SidebarAlign", FSidebarAlign);
  ini.WriteString(kSection, L"SidebarSkin", FSidebarSkin);
  ini.WriteInteger(kSection, L"WidgetInterval", FWidgetInterval);
}
