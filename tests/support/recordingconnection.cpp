#include "support/recordingconnection.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core.h"
#include "protocol.h"

RecordingConnection::RecordingConnection(Core* core, ProtocolState state)
    : protocol(nullptr), state_(state) {
    SOCKET client = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(server.port);
    EXPECT_EQ(connect(client, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    for (int tries = 0; tries < 100 && !server.Accept(); ++tries) Sleep(2);
    EXPECT_TRUE(server.Connected());

    protocol = new Protocol(core, 1);
    protocol->socket = client;
    protocol->closed = 0;
    protocol->state = state;
    core->connection1 = core->activeConnection = protocol;
}

std::vector<std::vector<uint8_t>> RecordingConnection::SentPayloads(size_t atLeast) {
    // Frames: u16 payload length - 1, the counter (one byte before the game, two in it), payload.
    const size_t counterBytes = state_ == StateGame ? 2 : 1;
    std::vector<std::vector<uint8_t>> payloads;
    for (int tries = 0; tries < 50; ++tries) {
        server.Poll();
        payloads.clear();
        const std::vector<uint8_t>& bytes = server.received;
        for (size_t at = 0; at + 2 + counterBytes < bytes.size();) {
            const size_t start = at + 2 + counterBytes;
            const size_t end = start + size_t(bytes[at] | bytes[at + 1] << 8) + 1;
            if (end > bytes.size()) break;
            payloads.emplace_back(bytes.begin() + start, bytes.begin() + end);
            at = end;
        }
        if (payloads.size() >= atLeast && tries >= 2) break;
        Sleep(2);
    }
    return payloads;
}

std::vector<uint8_t> RecordingConnection::SentOpcodes(size_t atLeast) {
    std::vector<uint8_t> opcodes;
    for (const std::vector<uint8_t>& payload : SentPayloads(atLeast)) opcodes.push_back(payload[0]);
    return opcodes;
}

std::vector<std::vector<uint8_t>> RecordingConnection::SentSinceLastCall() {
    static const std::vector<uint8_t> Ping = {240};
    protocol->SendPing();
    ++pingsSent_;
    // A ping of an earlier call may arrive after that call: wait for every ping sent so far.
    std::vector<std::vector<uint8_t>> payloads = SentPayloads(consumed_ + 1);
    while (size_t(std::count(payloads.begin(), payloads.end(), Ping)) < pingsSent_) {
        const size_t before = payloads.size();
        payloads = SentPayloads(before + 1);
        if (payloads.size() == before) break;
    }
    std::vector<std::vector<uint8_t>> sent;
    for (size_t i = consumed_; i < payloads.size(); ++i)
        if (payloads[i] != Ping) sent.push_back(payloads[i]);
    consumed_ = payloads.size();
    return sent;
}
