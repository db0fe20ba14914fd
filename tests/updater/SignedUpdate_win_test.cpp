// Signing and verifying updates through CNG, and the signed build's archive check.
#include "SignedUpdate.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "Cng.h"
#include "TempDir.h"
#include "VCLUnZip.h"
#include "ZipBuilder.h"

namespace {

// The test keys of tests/fixtures/updater, read from the source tree.
std::string FixtureText(const char* Name) {
  std::ifstream in(std::string(ORVO_UPDATER_FIXTURES) + "/" + Name);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::uint8_t> PrivateKey(const char* Name) { return *ParseHex(FixtureText(Name)); }
TUpdatePublicKey PublicKey(const char* Name) { return *ParseUpdatePublicKey(FixtureText(Name)); }

std::span<const std::uint8_t> Bytes(const std::string& Text) {
  return {reinterpret_cast<const std::uint8_t*>(Text.data()), Text.size()};
}

std::wstring Wide(const std::string& Ascii) { return {Ascii.begin(), Ascii.end()}; }

const std::string kArchive = BuildZip({{.Name = "Readme.txt", .Data = "new readme"}});

TEST(SignedUpdate, OnlyTheSignedArchiveForTheSignedVersionByTheKeyVerifies) {
  const auto signature = SignUpdate(PrivateKey("test-signing.key"), L"6.10.0.0", Bytes(kArchive));
  ASSERT_TRUE(signature);
  EXPECT_EQ(signature->size(), 88u);  // base64 of r and s
  const auto other = SignUpdate(PrivateKey("other-signing.key"), L"6.10.0.0", Bytes(kArchive));
  ASSERT_TRUE(other);
  std::string tampered = kArchive;
  tampered[tampered.size() / 2] ^= 1;
  std::string flipped = *signature;
  flipped[10] = flipped[10] == 'A' ? 'B' : 'A';
  const std::string shortSignature = EncodeBase64(std::vector<std::uint8_t>(63, 1));

  struct TCase {
    const char* What;
    std::wstring Version;
    std::string Signature;
    std::string Archive;
    TSignatureVerdict Verdict;
  } cases[] = {
      {"as signed", L"6.10.0.0", *signature, kArchive, TSignatureVerdict::Verified},
      {"archive changed", L"6.10.0.0", *signature, tampered, TSignatureVerdict::Invalid},
      {"version changed", L"6.11.0.0", *signature, kArchive, TSignatureVerdict::Invalid},
      {"the same version spelt otherwise", L"6.10", *signature, kArchive, TSignatureVerdict::Invalid},
      {"another key", L"6.10.0.0", *other, kArchive, TSignatureVerdict::Invalid},
      {"signature changed", L"6.10.0.0", flipped, kArchive, TSignatureVerdict::Invalid},
      {"no signature", L"6.10.0.0", "", kArchive, TSignatureVerdict::Missing},
      {"not base64", L"6.10.0.0", "not a signature", kArchive, TSignatureVerdict::Malformed},
      {"63 bytes", L"6.10.0.0", shortSignature, kArchive, TSignatureVerdict::Malformed},
  };
  const TUpdatePublicKey key = PublicKey("test-signing.pub");
  for (const auto& c : cases) {
    EXPECT_EQ(CheckUpdateSignature(key, c.Version, Wide(c.Signature), Bytes(c.Archive)), c.Verdict) << c.What;
  }
}

// Made by OpenSSL ("openssl dgst -sha256 -sign") with the test key over the statement for
// this archive: the platform's ECDSA and ours speak the same standard.
TEST(SignedUpdate, VerifiesASignatureMadeElsewhere) {
  const std::string emptyArchive("PK\x05\x06" + std::string(18, '\0'));
  const wchar_t* openssl = L"b3X22abYRKOz+TvzgcOQz/0OwvLUh4uzDtIgZATneHvMZ//35R/OHt65wUkij9F+ebE1kspZvtHBJF75cLJ5zQ==";
  const TUpdatePublicKey key = PublicKey("test-signing.pub");
  EXPECT_EQ(CheckUpdateSignature(key, L"6.10.0.0", openssl, Bytes(emptyArchive)), TSignatureVerdict::Verified);
  EXPECT_EQ(CheckUpdateSignature(key, L"6.10.0.1", openssl, Bytes(emptyArchive)), TSignatureVerdict::Invalid);
}

TEST(SignedUpdate, ANewKeySignsWhatItsPublicHalfVerifies) {
  const auto key = NewP256Key();
  ASSERT_EQ(key.size(), kP256PrivateKeySize);
  TUpdatePublicKey publicKey;
  std::copy(key.begin(), key.begin() + kP256PublicKeySize, publicKey.begin());
  const auto signature = SignUpdate(key, L"7", Bytes(kArchive));
  ASSERT_TRUE(signature);
  EXPECT_EQ(CheckUpdateSignature(publicKey, L"7", Wide(*signature), Bytes(kArchive)), TSignatureVerdict::Verified);
  EXPECT_EQ(CheckUpdateSignature(PublicKey("test-signing.pub"), L"7", Wide(*signature), Bytes(kArchive)),
            TSignatureVerdict::Invalid);
  EXPECT_NE(NewP256Key(), key);
}

TEST(SignedUpdate, RefusesKeysThatAreNoKeys) {
  EXPECT_FALSE(SignUpdate(std::vector<std::uint8_t>(95, 1), L"7", Bytes(kArchive)));
  // A point that is not on the curve.
  const auto signature = SignUpdate(PrivateKey("test-signing.key"), L"7", Bytes(kArchive));
  TUpdatePublicKey offCurve{};
  offCurve[31] = 1;
  offCurve[63] = 1;
  EXPECT_EQ(CheckUpdateSignature(offCurve, L"7", Wide(*signature), Bytes(kArchive)), TSignatureVerdict::Invalid);
}

// The signed build checks each read of the archive: what is installed is what was signed,
// even when the file changes between the check and the installation.
TEST(SignedUpdate, TheInstallerInstallsOnlySignedBytes) {
  TTempDir dir;
  WriteBytes(dir / L"Readme.txt", "old readme");
  TVCLUnZip unzip;
  unzip.DoProcessMessages = false;
  unzip.SetDestDir(dir.Path());
  unzip.ZipName = dir / L"Update\\Update.zip";
  const auto signature = SignUpdate(PrivateKey("test-signing.key"), L"6.10.0.0", Bytes(kArchive));
  unzip.Authenticate = SignatureAuthenticator(PublicKey("test-signing.pub"), L"6.10.0.0", Wide(*signature));

  WriteBytes(unzip.ZipName, kArchive);
  unzip.Check();
  WriteBytes(unzip.ZipName, BuildZip({{.Name = "Readme.txt", .Data = "planted"}}));
  try {
    unzip.UnZip();
    FAIL() << "installed bytes nobody signed";
  } catch (const EUnZipError& e) {
    EXPECT_EQ(e.Failure(), TUnZipFailure::Unauthentic);
  }
  EXPECT_EQ(ReadBytes(dir / L"Readme.txt"), "old readme");
  EXPECT_FALSE(FileExists(dir / L"Update\\Install.journal"));

  WriteBytes(unzip.ZipName, kArchive);
  unzip.Check();
  EXPECT_EQ(unzip.UnZip(), 1);
  EXPECT_EQ(ReadBytes(dir / L"Readme.txt"), "new readme");
}

}  // namespace
