#include "SignedUpdate.h"

#include "Cng.h"
#include "VCLUnZip.h"

namespace {

std::optional<TSha256> StatementHash(std::wstring_view Version, std::span<const std::uint8_t> Archive) {
  const auto archiveHash = Sha256(Archive);
  if (!archiveHash) return std::nullopt;
  const std::string statement = UpdateStatement(Version, *archiveHash);
  return Sha256({reinterpret_cast<const std::uint8_t*>(statement.data()), statement.size()});
}

}  // namespace

TSignatureVerdict CheckUpdateSignature(const TUpdatePublicKey& Key, std::wstring_view Version,
                                       std::wstring_view Signature, std::span<const std::uint8_t> Archive) {
  if (Signature.empty()) return TSignatureVerdict::Missing;
  const auto signature = DecodeBase64(Signature);
  if (!signature || signature->size() != kP256SignatureSize) return TSignatureVerdict::Malformed;
  const auto hash = StatementHash(Version, Archive);
  return hash && VerifyP256(Key, *hash, *signature) ? TSignatureVerdict::Verified : TSignatureVerdict::Invalid;
}

std::optional<std::string> SignUpdate(std::span<const std::uint8_t> PrivateKey, std::wstring_view Version,
                                      std::span<const std::uint8_t> Archive) {
  const auto hash = StatementHash(Version, Archive);
  if (!hash) return std::nullopt;
  const auto signature = SignP256(PrivateKey, *hash);
  if (!signature) return std::nullopt;
  return EncodeBase64(*signature);
}

std::function<void(std::span<const std::uint8_t>)> SignatureAuthenticator(const TUpdatePublicKey& Key,
                                                                          std::wstring Version,
                                                                          std::wstring Signature) {
  return [Key, Version = std::move(Version), Signature = std::move(Signature)](std::span<const std::uint8_t> Bytes) {
    if (CheckUpdateSignature(Key, Version, Signature, Bytes) != TSignatureVerdict::Verified)
      throw EUnZipError(TUnZipFailure::Unauthentic, "the archive is not signed for this version");
  };
}
