#include "loginblock.h"

#include "rsapublickey.h"

Digest MakeSessionKey(const std::string& password, uint32_t challenge) {
    Digest x = Md5Digest(password.data(), password.size());
    for (size_t i = 0; i < x.size(); ++i) x[i] ^= uint8_t(challenge >> (8 * (i % 4)));
    return Md5Digest(x.data(), x.size());
}

namespace {

void AppendName(std::vector<uint8_t>& block, const std::string& accountName) {
    block.push_back(uint8_t(accountName.size()));
    block.insert(block.end(), accountName.begin(), accountName.end());
}

}  // namespace

std::vector<uint8_t> LoginPlaintext(const Digest& sessionKey, const std::string& accountName) {
    std::vector<uint8_t> block(sessionKey.begin(), sessionKey.end());
    AppendName(block, accountName);
    return block;
}

std::vector<uint8_t> PasswordChangePlaintext(const Digest& sessionKey,
                                             const std::string& newPassword,
                                             const std::string& accountName) {
    std::vector<uint8_t> block(sessionKey.begin(), sessionKey.end());
    const Digest newDigest = Md5Digest(newPassword.data(), newPassword.size());
    block.insert(block.end(), newDigest.begin(), newDigest.end());
    AppendName(block, accountName);
    return block;
}

bool EncipherLoginBlock(const std::vector<uint8_t>& plaintext, uint8_t* out) {
    RsaPublicKey key(ServerModulus, sizeof ServerModulus, ServerExponent, sizeof ServerExponent);
    return RsaEncryptPkcs1(key, plaintext.data(), int32_t(plaintext.size()), out);
}
