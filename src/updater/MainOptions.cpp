#include "MainOptions.h"

#include "GlobalOptions.h"
#include "ZekTools.h"

TMainOptions* MainOptions = nullptr;

TMainOptions::TMainOptions() : TMainOptions(GetModuleDir() + kGlobalOptionsFile) {}

TMainOptions::TMainOptions(const std::wstring& FileName) : FIniFile(std::make_unique<TIniFile>(FileName)) {
  const TGlobalOptions options = ReadGlobalOptions(*FIniFile);
  FLanguage = options.FLanguage;
  FProxyType = options.FProxyType;
  FProxySvr = options.FProxySvr;
  FProxyPort = options.FProxyPort;
}
