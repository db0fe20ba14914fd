#include "ProxyChoice.h"

#include "ZekText.h"

bool ChooseProxy(TProxyType Type, const std::wstring& ProxySvr, std::int32_t ProxyPort,
                 const TSystemProxyQuery& SystemProxy, std::wstring& Host, std::wstring& Port) {
  if (Type == ptOptions) {
    Host = ProxySvr;
    Port = std::to_wstring(ProxyPort);
    return true;
  }
  if (Type != ptIE) return false;
  std::wstring systemHost;
  std::int32_t systemPort = 0;
  if (!SystemProxy(systemHost, systemPort)) {
    Port = L"0";
    return false;
  }
  Host = systemHost;
  Port = std::to_wstring(systemPort);
  return true;
}
