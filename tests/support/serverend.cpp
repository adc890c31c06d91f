#include "support/serverend.h"

void ServerEnd::SetKey(const Digest& key) {
    cipher_.SetKey(key.data());
    keyed_ = true;
}

void ServerEnd::Deliver(std::vector<uint8_t> payload) {
    if (keyed_) {
        payload.resize((payload.size() + 7) / 8 * 8, 0);
        cipher_.Encrypt(payload.data(), payload.size() / 8);
    }
    const size_t size = payload.size() - 1;
    payload.insert(payload.begin(), {uint8_t(size), uint8_t(size >> 8)});
    server.Send(payload);
}

bool ServerEnd::Poll() {
    server.Accept();
    return server.Poll();
}

std::optional<SentFrame> ServerEnd::TakeFrame(int counterBytes, bool enciphered) {
    const size_t held = Untaken(), headerSize = size_t(2 + counterBytes);
    if (held < headerSize) return std::nullopt;
    const uint8_t* at = server.received.data() + taken_;
    SentFrame frame{};
    frame.sizeField = uint16_t(at[0] | at[1] << 8);
    frame.wireSize = headerSize + frame.sizeField + 1;
    if (held < frame.wireSize) return std::nullopt;
    frame.counter = counterBytes == 2 ? uint16_t(at[2] | at[3] << 8) : at[2];
    frame.payload.assign(at + headerSize, at + frame.wireSize);
    taken_ += frame.wireSize;
    if (enciphered) cipher_.Decrypt(frame.payload.data(), frame.payload.size() / 8);
    return frame;
}

void ServerEnd::Restart() {
    server.Close();
    server.received.clear();
    keyed_ = false;
    taken_ = 0;
}
