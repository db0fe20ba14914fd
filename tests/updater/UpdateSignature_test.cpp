#include "UpdateSignature.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::vector<std::uint8_t> Bytes(std::string_view Text) { return {Text.begin(), Text.end()}; }

// RFC 4648's test vectors, both ways.
TEST(UpdateSignature, Base64FollowsTheStandard) {
  const std::pair<const char*, const wchar_t*> cases[] = {
      {"", L""}, {"f", L"Zg=="}, {"fo", L"Zm8="}, {"foo", L"Zm9v"}, {"foob", L"Zm9vYg=="},
      {"fooba", L"Zm9vYmE="}, {"foobar", L"Zm9vYmFy"}, {"\xff\xfe\xfd", L"//79"}, {"\xfb\xff", L"+/8="}};
  for (const auto& [plain, encoded] : cases) {
    EXPECT_EQ(EncodeBase64(Bytes(plain)), std::string(encoded, encoded + wcslen(encoded))) << plain;
    const auto decoded = DecodeBase64(encoded);
    ASSERT_TRUE(decoded) << plain;
    EXPECT_EQ(*decoded, Bytes(plain));
  }
}

// A signature has one spelling: anything else in the version file is no signature.
TEST(UpdateSignature, Base64RefusesEveryOtherSpelling) {
  for (const wchar_t* text : {L"Zg=", L"Zg", L"Z===", L"====", L"Zh==", L"Zm9=", L"Zg==Zg==", L"Zm9v\n",
                              L" Zm9v", L"Zm 9v", L"Zm9v-_==", L"=Zm9", L"Z=g=", L"\xFF3A\xFF47=="}) {
    EXPECT_FALSE(DecodeBase64(text)) << testing::PrintToString(std::wstring(text));
  }
}

TEST(UpdateSignature, PublicKeyIsSixtyFourBytesOfHex) {
  std::string hex;
  for (int i = 0; i < 64; ++i) hex += "0A";
  const auto key = ParseUpdatePublicKey(" " + hex + "\r\n");
  ASSERT_TRUE(key);
  EXPECT_EQ((*key)[0], 0x0A);
  EXPECT_EQ((*key)[63], 0x0A);
  EXPECT_TRUE(ParseUpdatePublicKey("0a" + hex.substr(2)));  // either case
  for (const std::string& bad : {hex.substr(2), hex + "00", hex.substr(1), "zz" + hex.substr(2),
                                 hex.substr(0, 64) + " " + hex.substr(64), std::string()}) {
    EXPECT_FALSE(ParseUpdatePublicKey(bad)) << bad;
  }
}

TEST(UpdateSignature, StatementNamesTheVersionAsReadAndTheArchiveHash) {
  TSha256 hash{};
  for (std::size_t i = 0; i < hash.size(); ++i) hash[i] = static_cast<std::uint8_t>(i * 9);
  const std::string hex = HexText(hash);
  EXPECT_EQ(hex.substr(0, 8), "0009121b");
  EXPECT_EQ(hex.size(), 64u);
  EXPECT_EQ(UpdateStatement(L"6.10.0.0", hash), "Kelvara update\nVersion=6.10.0.0\nSHA-256=" + hex + "\n");
  // Not normalised: "6.10" and "6.10.0.0" announce the same version but are different statements.
  EXPECT_NE(UpdateStatement(L"6.10", hash), UpdateStatement(L"6.10.0.0", hash));
  EXPECT_EQ(UpdateStatement(L"版本7", hash).substr(23, 8), "\xe7\x89\x88\xe6\x9c\xac" "7\n");
}

}  // namespace
