// The sidebar's answer to a widget's proxy question, from the options.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "DefineUint.h"

// Asks the per-user system proxy: true when enabled, with its host and port.
using TSystemProxyQuery = std::function<bool(std::wstring& Host, std::int32_t& Port)>;

// ptOptions: always a proxy, "ProxySvr" and the decimal "ProxyPort". ptIE: the system
// proxy when enabled; otherwise false with the host untouched and the port "0". Any other
// value: false, both untouched.
bool ChooseProxy(TProxyType Type, const std::wstring& ProxySvr, std::int32_t ProxyPort,
                 const TSystemProxyQuery& SystemProxy, std::wstring& Host, std::wstring& Port);
