// The maker's private signing key on disk: one line of hex, X, Y and the secret d. Win32.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Throws EPublishError when the file is missing or holds no key.
std::vector<std::uint8_t> ReadSigningKey(const std::wstring& Path);

// Makes a new key pair into a new file (an existing file is never overwritten: it may be the
// only copy of a key) and returns its public half. Throws EPublishError.
std::vector<std::uint8_t> MakeSigningKey(const std::wstring& Path);
