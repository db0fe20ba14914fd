// The updater's settings from "Config\GlobalOptions.ini": read once at start, never written.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "DefineUint.h"
#include "IniFile.h"

class TMainOptions {
 public:
  // Reads the options file below the program's directory; missing keys give the defaults.
  TMainOptions();
  explicit TMainOptions(const std::wstring& FileName);

  std::unique_ptr<TIniFile> FIniFile;
  TLanguage FLanguage = lgGB2312;
  TProxyType FProxyType = ptIE;
  std::wstring FProxySvr;
  std::int32_t FProxyPort = 0;
};

extern TMainOptions* MainOptions;
