#include "support/recordingconnection.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core.h"
#include "protocol.h"
#include "protocolstate.h"

RecordingConnection::Winsock::Winsock() {
    static const bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    EXPECT_TRUE(started);
}

RecordingConnection::RecordingConnection(Core* core) : protocol(nullptr) {
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
    core->connection1 = core->activeConnection = protocol;
}

std::vector<uint8_t> RecordingConnection::SentOpcodes(size_t atLeast) {
    std::vector<uint8_t> opcodes;
    for (const std::vector<uint8_t>& request : SentRequests(atLeast)) opcodes.push_back(request.front());
    return opcodes;
}

std::vector<std::vector<uint8_t>> RecordingConnection::SentRequests(size_t atLeast) {
    // Frames: u16 payload length - 1, the counter (one byte before the game, two in it), payload.
    const size_t counterBytes = protocolState == StateGame ? 2 : 1;
    std::vector<std::vector<uint8_t>> requests;
    for (int tries = 0; tries < 50; ++tries) {
        server.Poll();
        requests.clear();
        const std::vector<uint8_t>& bytes = server.received;
        for (size_t at = 0; at + 2 + counterBytes < bytes.size();) {
            const size_t payload = size_t(bytes[at] | bytes[at + 1] << 8) + 1;
            const size_t start = at + 2 + counterBytes;
            const size_t end = std::min(bytes.size(), start + payload);
            requests.emplace_back(bytes.begin() + long(start), bytes.begin() + long(end));
            at += 2 + counterBytes + payload;
        }
        if (requests.size() >= atLeast && tries >= 2) break;
        Sleep(2);
    }
    return requests;
}
