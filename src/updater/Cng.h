// SHA-256 and ECDSA P-256 through the platform's CNG (bcrypt): the updater verifies, the
// publishing tool signs and makes keys. Keys are raw big-endian numbers (UpdateSignature.h).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "UpdateSignature.h"

// Nothing when CNG cannot hash (it always can on a sound system).
std::optional<TSha256> Sha256(std::span<const std::uint8_t> Data);

// True only for a signature of Hash by the key; false for every other answer of CNG (a key
// it does not take, a signature of another size, STATUS_INVALID_SIGNATURE).
bool VerifyP256(const TUpdatePublicKey& Key, const TSha256& Hash, std::span<const std::uint8_t> Signature);

// r then s; nothing when the private key (X, Y, d) is refused.
std::optional<std::vector<std::uint8_t>> SignP256(std::span<const std::uint8_t> PrivateKey, const TSha256& Hash);

// A new key pair as X, Y, d (kP256PrivateKeySize bytes); empty when CNG cannot make one.
std::vector<std::uint8_t> NewP256Key();
