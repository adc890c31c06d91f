#pragma once
// A connection whose requests go to a server played by the test on the loopback interface, so a
// test can read back what the client sent. It becomes the Core's first and active connection, in
// the protocol state given; the Core deletes it.
#include <cstdint>
#include <vector>

#include "protocolstate.h"
#include "support/loopbackserver.h"

class Core;
class Protocol;

class RecordingConnection {
public:
    explicit RecordingConnection(Core* core, ProtocolState state = StateLogin);

    // The payloads of the plain (not enciphered) requests received so far, waiting up to a
    // moment for `atLeast` of them.
    std::vector<std::vector<uint8_t>> SentPayloads(size_t atLeast = 0);
    // Their opcodes.
    std::vector<uint8_t> SentOpcodes(size_t atLeast = 0);
    // The payloads sent since the last call, read up to a ping sent now so that none is missed.
    std::vector<std::vector<uint8_t>> SentSinceLastCall();

    LoopbackServer server;
    Protocol* protocol;

private:
    ProtocolState state_;
    size_t consumed_ = 0;
    size_t pingsSent_ = 0;
};
