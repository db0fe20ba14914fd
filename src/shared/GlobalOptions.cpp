#include "GlobalOptions.h"

TGlobalOptions ReadGlobalOptions(const IProfileReader& Ini) {
  const TGlobalOptions defaults;
  const std::wstring section = kGlobalOptionsSection;
  TGlobalOptions options;
  options.FLanguage = Ini.ReadEnum(section, L"Language", defaults.FLanguage);
  options.FProxyType = Ini.ReadEnum(section, L"ProxyType", defaults.FProxyType);
  options.FProxySvr = Ini.ReadString(section, L"ProxySvr", defaults.FProxySvr);
  options.FProxyPort = Ini.ReadInteger(section, L"ProxyPort", defaults.FProxyPort);
  return options;
}
