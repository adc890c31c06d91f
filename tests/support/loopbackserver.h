#pragma once
// The server's side of one connection on the loopback interface, driven from the test's own
// thread: every call returns at once (non-blocking sockets), so a test alternates between
// pumping the client's window messages and acting as the server.
#include <winsock2.h>

#include <cstdint>
#include <vector>

class LoopbackServer {
public:
    LoopbackServer();  // listens on 127.0.0.1 at a free port
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    // Takes a waiting connection; true once connected. After Close the next one is taken.
    bool Accept();
    bool Connected() const { return peer_ != INVALID_SOCKET; }
    // Sends all bytes (the loopback buffer takes what the tests send).
    void Send(const std::vector<uint8_t>& bytes);
    // Appends what has arrived to `received`; false once the client has closed.
    bool Poll();
    void Close();

    uint16_t port = 0;
    std::vector<uint8_t> received;

private:
    // Starts Winsock (once for the program) before the server makes its socket, so that a test
    // run alone finds it started.
    struct Winsock {
        Winsock();
    } winsock_;
    SOCKET listener_ = INVALID_SOCKET;
    SOCKET peer_ = INVALID_SOCKET;
    bool peerClosed_ = false;
};
