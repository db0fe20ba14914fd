// What a signed update proves and the text forms of its key and signature. The signature
// covers the version the version file announces together with the archive's SHA-256, so an
// old signed archive cannot be offered again as a newer version. Portable.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

using TSha256 = std::array<std::uint8_t, 32>;

inline constexpr std::size_t kP256PublicKeySize = 64;   // X then Y, big-endian
inline constexpr std::size_t kP256PrivateKeySize = 96;  // X, Y, then the secret d
inline constexpr std::size_t kP256SignatureSize = 64;   // r then s, big-endian

using TUpdatePublicKey = std::array<std::uint8_t, kP256PublicKeySize>;

// The statement that is signed, as UTF-8 lines: a fixed first line, "Version=" with the
// announced version exactly as read, "SHA-256=" with the archive's hash in lower-case hex.
std::string UpdateStatement(std::wstring_view Version, const TSha256& ArchiveHash);

std::string HexText(std::span<const std::uint8_t> Bytes);
// Hex digits in pairs, either case, spaces and line ends around them allowed; anything else
// is no key.
std::optional<std::vector<std::uint8_t>> ParseHex(std::string_view Text);
std::optional<TUpdatePublicKey> ParseUpdatePublicKey(std::string_view Hex);

std::string EncodeBase64(std::span<const std::uint8_t> Bytes);
// Canonical base64 only (padding, no white space, zero filler bits): one signature has one
// spelling.
std::optional<std::vector<std::uint8_t>> DecodeBase64(std::wstring_view Text);
