#include "support/loopbackserver.h"

#include <gtest/gtest.h>

namespace {

void MakeNonBlocking(SOCKET socket) {
    u_long on = 1;
    ioctlsocket(socket, FIONBIO, &on);
}

}  // namespace

LoopbackServer::Winsock::Winsock() {
    static const bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    EXPECT_TRUE(started);
}

LoopbackServer::LoopbackServer() {
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int size = sizeof address;
    EXPECT_EQ(bind(listener_, reinterpret_cast<sockaddr*>(&address), size), 0);
    EXPECT_EQ(listen(listener_, 1), 0);
    getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size);
    port = ntohs(address.sin_port);
    MakeNonBlocking(listener_);
}

LoopbackServer::~LoopbackServer() {
    Close();
    closesocket(listener_);
}

bool LoopbackServer::Accept() {
    if (peer_ == INVALID_SOCKET) {
        peer_ = accept(listener_, nullptr, nullptr);
        if (peer_ != INVALID_SOCKET) {
            peerClosed_ = false;
            MakeNonBlocking(peer_);
            const BOOL noDelay = TRUE;
            setsockopt(peer_, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay),
                       sizeof noDelay);
        }
    }
    return Connected();
}

void LoopbackServer::Send(const std::vector<uint8_t>& bytes) {
    ASSERT_TRUE(Connected());
    size_t sent = 0;
    while (sent < bytes.size()) {
        const int n = send(peer_, reinterpret_cast<const char*>(bytes.data() + sent),
                           int(bytes.size() - sent), 0);
        ASSERT_NE(n, SOCKET_ERROR) << WSAGetLastError();
        sent += n;
    }
}

bool LoopbackServer::Poll() {
    if (!Connected() || peerClosed_) return !peerClosed_;
    char chunk[4096];
    for (;;) {
        const int n = recv(peer_, chunk, sizeof chunk, 0);
        if (n > 0) {
            received.insert(received.end(), chunk, chunk + n);
        } else {
            if (n == 0 || WSAGetLastError() != WSAEWOULDBLOCK) peerClosed_ = true;
            return !peerClosed_;
        }
    }
}

void LoopbackServer::Close() {
    if (peer_ == INVALID_SOCKET) return;
    closesocket(peer_);
    peer_ = INVALID_SOCKET;
}
