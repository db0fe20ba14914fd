// The publishing tool's last check: the archive installed by the updater's own installer,
// with its own rules, into an empty scratch directory, and compared with the source tree.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <vector>

#include "SourceTree.h"

// Throws EPublishError with the updater's refusal or the first difference (bytes, the
// read-only flag, a missing or an extra file). Authenticate is the signed build's check, or
// empty.
void TryInstallation(const std::wstring& ZipPath, const std::wstring& SourceDir, const std::vector<TSourceItem>& Items,
                     const std::function<void(std::span<const std::uint8_t>)>& Authenticate);
