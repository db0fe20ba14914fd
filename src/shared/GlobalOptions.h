// The global options every deliverable reads from "Config\GlobalOptions.ini";
// nothing in the suite writes that file.
#pragma once

#include <cstdint>
#include <string>

#include "DefineUint.h"
#include "ProfileValue.h"

inline constexpr wchar_t kGlobalOptionsFile[] = L"Config\\GlobalOptions.ini";
inline constexpr wchar_t kGlobalOptionsSection[] = L"GlobalOptions";

struct TGlobalOptions {
  TLanguage FLanguage = lgGB2312;
  TProxyType FProxyType = ptIE;
  std::wstring FProxySvr;
  std::int32_t FProxyPort = 0;
};

// Reads the four keys; a missing file or key gives the defaults above.
TGlobalOptions ReadGlobalOptions(const IProfileReader& Ini);
