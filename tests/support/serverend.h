#pragma once
// The server's end of one client connection, played by a test on the loopback interface: frames
// what the test sends, enciphers it once the connection's key is known, and cuts the client's
// frames out of what arrived, deciphering them with the same key.
#include <cstdint>
#include <optional>
#include <vector>

#include "digest.h"
#include "support/loopbackserver.h"
#include "xtea.h"

struct SentFrame {
    uint16_t sizeField;
    uint16_t counter;
    std::vector<uint8_t> payload;  // deciphered when the frame came enciphered
    size_t wireSize;               // header, counter and payload as sent
};

class ServerEnd {
public:
    // From now on frames go out enciphered and client frames are read deciphered.
    void SetKey(const Digest& key);
    // One frame holding the payload; enciphered frames are filled with keep-alives (zero bytes)
    // to whole blocks.
    void Deliver(std::vector<uint8_t> payload);
    // Takes a waiting connection and what the client sent; false once the client has closed.
    bool Poll();
    // The first client frame not yet taken, when it has arrived whole; its counter is one byte
    // or two, as the client's protocol state makes it. An enciphered frame is deciphered.
    std::optional<SentFrame> TakeFrame(int counterBytes, bool enciphered);
    // Closes the connection and forgets it: the next one starts in clear.
    void Restart();
    // Bytes received that no frame has taken yet.
    size_t Untaken() const { return server.received.size() - taken_; }

    LoopbackServer server;

private:
    Xtea cipher_;
    bool keyed_ = false;
    size_t taken_ = 0;
};
