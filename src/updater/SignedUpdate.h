// Signing and verifying an update: the version file's "Signature" (base64 of r and s) over
// the statement of UpdateSignature.h, hashed with SHA-256, through CNG.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "UpdateSignature.h"

enum class TSignatureVerdict {
  Verified,
  Missing,    // no signature in the version file
  Malformed,  // not canonical base64 of 64 bytes
  Invalid,    // does not verify: another archive, another version or another key
};

TSignatureVerdict CheckUpdateSignature(const TUpdatePublicKey& Key, std::wstring_view Version,
                                       std::wstring_view Signature, std::span<const std::uint8_t> Archive);

// The signature text for the version file; nothing when the key is refused.
std::optional<std::string> SignUpdate(std::span<const std::uint8_t> PrivateKey, std::wstring_view Version,
                                      std::span<const std::uint8_t> Archive);

// The archive check of a signed build (TVCLUnZip::Authenticate): throws EUnZipError
// (Unauthentic) for bytes that are not signed by Key for Version.
std::function<void(std::span<const std::uint8_t>)> SignatureAuthenticator(const TUpdatePublicKey& Key,
                                                                          std::wstring Version,
                                                                          std::wstring Signature);
