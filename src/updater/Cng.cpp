#include "Cng.h"

#include <windows.h>
#include <bcrypt.h>

#include <algorithm>
#include <cstring>

namespace {

constexpr std::size_t kCoordinate = 32;

class TAlgorithm {
 public:
  explicit TAlgorithm(LPCWSTR Id) {
    if (!BCRYPT_SUCCESS(::BCryptOpenAlgorithmProvider(&FHandle, Id, nullptr, 0))) FHandle = nullptr;
  }
  ~TAlgorithm() {
    if (FHandle) ::BCryptCloseAlgorithmProvider(FHandle, 0);
  }
  TAlgorithm(const TAlgorithm&) = delete;
  TAlgorithm& operator=(const TAlgorithm&) = delete;
  BCRYPT_ALG_HANDLE Get() const { return FHandle; }

 private:
  BCRYPT_ALG_HANDLE FHandle = nullptr;
};

class TKey {
 public:
  TKey() = default;
  ~TKey() {
    if (FHandle) ::BCryptDestroyKey(FHandle);
  }
  TKey(const TKey&) = delete;
  TKey& operator=(const TKey&) = delete;
  BCRYPT_KEY_HANDLE* Out() { return &FHandle; }
  BCRYPT_KEY_HANDLE Get() const { return FHandle; }

 private:
  BCRYPT_KEY_HANDLE FHandle = nullptr;
};

// A BCRYPT_ECCKEY_BLOB: its header, then the numbers.
std::vector<UCHAR> KeyBlob(ULONG Magic, std::span<const std::uint8_t> Numbers) {
  std::vector<UCHAR> blob(sizeof(BCRYPT_ECCKEY_BLOB) + Numbers.size());
  const BCRYPT_ECCKEY_BLOB header{Magic, kCoordinate};
  std::memcpy(blob.data(), &header, sizeof(header));
  std::memcpy(blob.data() + sizeof(header), Numbers.data(), Numbers.size());
  return blob;
}

bool Import(const TAlgorithm& Algorithm, LPCWSTR Type, const std::vector<UCHAR>& Blob, TKey& Key) {
  return Algorithm.Get() &&
         BCRYPT_SUCCESS(::BCryptImportKeyPair(Algorithm.Get(), nullptr, Type, Key.Out(), const_cast<UCHAR*>(Blob.data()),
                                              static_cast<ULONG>(Blob.size()), 0));
}

}  // namespace

std::optional<TSha256> Sha256(std::span<const std::uint8_t> Data) {
  const TAlgorithm sha(BCRYPT_SHA256_ALGORITHM);
  BCRYPT_HASH_HANDLE hash = nullptr;
  if (!sha.Get() || !BCRYPT_SUCCESS(::BCryptCreateHash(sha.Get(), &hash, nullptr, 0, nullptr, 0, 0))) return std::nullopt;
  bool ok = true;
  // In pieces: one call takes at most a ULONG of bytes.
  for (std::size_t at = 0; ok && at < Data.size();) {
    const auto n = static_cast<ULONG>(std::min<std::size_t>(Data.size() - at, 1u << 30));
    ok = BCRYPT_SUCCESS(::BCryptHashData(hash, const_cast<UCHAR*>(Data.data() + at), n, 0));
    at += n;
  }
  TSha256 digest{};
  ok = ok && BCRYPT_SUCCESS(::BCryptFinishHash(hash, digest.data(), static_cast<ULONG>(digest.size()), 0));
  ::BCryptDestroyHash(hash);
  if (!ok) return std::nullopt;
  return digest;
}

bool VerifyP256(const TUpdatePublicKey& Key, const TSha256& Hash, std::span<const std::uint8_t> Signature) {
  if (Signature.size() != kP256SignatureSize) return false;
  const TAlgorithm ecdsa(BCRYPT_ECDSA_P256_ALGORITHM);
  TKey key;
  if (!Import(ecdsa, BCRYPT_ECCPUBLIC_BLOB, KeyBlob(BCRYPT_ECDSA_PUBLIC_P256_MAGIC, Key), key)) return false;
  return ::BCryptVerifySignature(key.Get(), nullptr, const_cast<UCHAR*>(Hash.data()), static_cast<ULONG>(Hash.size()),
                                 const_cast<UCHAR*>(Signature.data()), static_cast<ULONG>(Signature.size()),
                                 0) == 0;  // STATUS_SUCCESS, nothing else
}

std::optional<std::vector<std::uint8_t>> SignP256(std::span<const std::uint8_t> PrivateKey, const TSha256& Hash) {
  if (PrivateKey.size() != kP256PrivateKeySize) return std::nullopt;
  const TAlgorithm ecdsa(BCRYPT_ECDSA_P256_ALGORITHM);
  TKey key;
  std::vector<UCHAR> blob = KeyBlob(BCRYPT_ECDSA_PRIVATE_P256_MAGIC, PrivateKey);
  const bool imported = Import(ecdsa, BCRYPT_ECCPRIVATE_BLOB, blob, key);
  ::SecureZeroMemory(blob.data(), blob.size());
  if (!imported) return std::nullopt;
  std::vector<std::uint8_t> signature(kP256SignatureSize);
  ULONG size = 0;
  if (!BCRYPT_SUCCESS(::BCryptSignHash(key.Get(), nullptr, const_cast<UCHAR*>(Hash.data()),
                                       static_cast<ULONG>(Hash.size()), signature.data(),
                                       static_cast<ULONG>(signature.size()), &size, 0)) ||
      size != kP256SignatureSize)
    return std::nullopt;
  return signature;
}

std::vector<std::uint8_t> NewP256Key() {
  const TAlgorithm ecdsa(BCRYPT_ECDSA_P256_ALGORITHM);
  TKey key;
  if (!ecdsa.Get() || !BCRYPT_SUCCESS(::BCryptGenerateKeyPair(ecdsa.Get(), key.Out(), 256, 0)) ||
      !BCRYPT_SUCCESS(::BCryptFinalizeKeyPair(key.Get(), 0)))
    return {};
  std::vector<UCHAR> blob(sizeof(BCRYPT_ECCKEY_BLOB) + kP256PrivateKeySize);
  ULONG size = 0;
  if (!BCRYPT_SUCCESS(::BCryptExportKey(key.Get(), nullptr, BCRYPT_ECCPRIVATE_BLOB, blob.data(),
                                        static_cast<ULONG>(blob.size()), &size, 0)) ||
      size != blob.size())
    return {};
  std::vector<std::uint8_t> numbers(blob.begin() + sizeof(BCRYPT_ECCKEY_BLOB), blob.end());
  ::SecureZeroMemory(blob.data(), blob.size());
  return numbers;
}
