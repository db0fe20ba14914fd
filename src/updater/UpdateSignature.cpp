#include "UpdateSignature.h"

#include <algorithm>

#include "Utf8Text.h"

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

int Base64Digit(wchar_t c) {
  if (c >= L'A' && c <= L'Z') return c - L'A';
  if (c >= L'a' && c <= L'z') return c - L'a' + 26;
  if (c >= L'0' && c <= L'9') return c - L'0' + 52;
  if (c == L'+') return 62;
  if (c == L'/') return 63;
  return -1;
}

bool Blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

std::string UpdateStatement(std::wstring_view Version, const TSha256& ArchiveHash) {
  return "Kelvara update\nVersion=" + EncodeUtf8(Version) + "\nSHA-256=" + HexText(ArchiveHash) + "\n";
}

std::string HexText(std::span<const std::uint8_t> Bytes) {
  static constexpr char digits[] = "0123456789abcdef";
  std::string text;
  text.reserve(Bytes.size() * 2);
  for (const std::uint8_t b : Bytes) {
    text += digits[b >> 4];
    text += digits[b & 15];
  }
  return text;
}

std::optional<std::vector<std::uint8_t>> ParseHex(std::string_view Text) {
  while (!Text.empty() && Blank(Text.front())) Text.remove_prefix(1);
  while (!Text.empty() && Blank(Text.back())) Text.remove_suffix(1);
  if (Text.size() % 2) return std::nullopt;
  std::vector<std::uint8_t> bytes;
  bytes.reserve(Text.size() / 2);
  for (std::size_t at = 0; at < Text.size(); at += 2) {
    const int high = HexDigit(Text[at]), low = HexDigit(Text[at + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    bytes.push_back(static_cast<std::uint8_t>(high << 4 | low));
  }
  return bytes;
}

std::optional<TUpdatePublicKey> ParseUpdatePublicKey(std::string_view Hex) {
  const auto bytes = ParseHex(Hex);
  if (!bytes || bytes->size() != kP256PublicKeySize) return std::nullopt;
  TUpdatePublicKey key;
  std::copy(bytes->begin(), bytes->end(), key.begin());
  return key;
}

std::string EncodeBase64(std::span<const std::uint8_t> Bytes) {
  std::string text;
  text.reserve((Bytes.size() + 2) / 3 * 4);
  for (std::size_t at = 0; at < Bytes.size(); at += 3) {
    const std::size_t n = std::min<std::size_t>(3, Bytes.size() - at);
    std::uint32_t group = std::uint32_t{Bytes[at]} << 16;
    if (n > 1) group |= std::uint32_t{Bytes[at + 1]} << 8;
    if (n > 2) group |= Bytes[at + 2];
    for (std::size_t i = 0; i < 4; ++i) text += i <= n ? kAlphabet[(group >> (18 - 6 * i)) & 63] : '=';
  }
  return text;
}

std::optional<std::vector<std::uint8_t>> DecodeBase64(std::wstring_view Text) {
  if (Text.size() % 4) return std::nullopt;
  std::vector<std::uint8_t> bytes;
  bytes.reserve(Text.size() / 4 * 3);
  for (std::size_t at = 0; at < Text.size(); at += 4) {
    const bool last = at + 4 == Text.size();
    std::size_t padding = 0;
    std::uint32_t group = 0;
    for (std::size_t i = 0; i < 4; ++i) {
      const wchar_t c = Text[at + i];
      if (c == L'=' && last && i >= 2) {
        ++padding;
        group <<= 6;
        continue;
      }
      const int digit = Base64Digit(c);
      if (digit < 0 || padding) return std::nullopt;  // nothing after padding
      group = group << 6 | static_cast<std::uint32_t>(digit);
    }
    // The bits a padded group does not use are zero in the one canonical spelling.
    if ((padding == 1 && (group & 0xFF)) || (padding == 2 && (group & 0xFFFF))) return std::nullopt;
    bytes.push_back(static_cast<std::uint8_t>(group >> 16));
    if (padding < 2) bytes.push_back(static_cast<std::uint8_t>(group >> 8));
    if (padding < 1) bytes.push_back(static_cast<std::uint8_t>(group));
  }
  return bytes;
}
