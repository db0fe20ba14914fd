// The sidebar host's options: the global options, read once, and the bar's own
// settings in "Config\WidgetOptions.ini", section "Sidebar".
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "DefineUint.h"
#include "IniFile.h"
#include "ZekTools.h"

class TWidgetOptions {
 public:
  // Binds the sidebar options file below ProgramDir (with its trailing backslash);
  // reads nothing yet, and the file need not exist.
  explicit TWidgetOptions(const std::wstring& ProgramDir = GetModuleDir());
  // Releases the file without saving.
  ~TWidgetOptions() = default;
  TWidgetOptions(const TWidgetOptions&) = delete;
  TWidgetOptions& operator=(const TWidgetOptions&) = delete;

  // Reads the global options, then the six "Sidebar" keys; missing files give defaults.
  void Load();
  // Writes the six "Sidebar" keys in order. Creates "Config" when it is missing; a write
  // the system refuses raises EIniFileError and the keys after it are not written.
  void Save();

  TLanguage FLanguage = lgGB2312;
  TProxyType FProxyType = ptIE;
  std::wstring FProxySvr;
  std::int32_t FProxyPort = 0;
  std::unique_ptr<TIniFile> FIniOptions;
  // The bar's settings; the constructor gives them their defaults.
  bool FSidebarAutoHide;
  TWinDesk FSidebarWinDesk;
  std::int32_t FSidebarMonitor;
  TSidebarAlign FSidebarAlign;
  std::wstring FSidebarSkin;
  std::int32_t FWidgetInterval;

 private:
  std::wstring FProgramDir;
};

// The process's one options object, created and freed by the program entry.
extern TWidgetOptions* WidgetOptions;
