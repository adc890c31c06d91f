// The game state (state 2) messages of a connection.
#include <string>

#include "core.h"
#include "protocol.h"

namespace {

// Sent by the server to keep the connection alive: not counted.
const uint8_t KeepAlive = 0;
const uint8_t PingReply = 240;
const uint8_t CounterCheck = 241;

}  // namespace

// One message of a game frame; the frame dispatcher calls again while the frame has bytes left.
uint8_t Protocol::ParseGame() {
    ++messageCounter;
    const uint8_t op = inBuffer.GetByte();
    switch (op) {
        case KeepAlive: --messageCounter; break;
        case 16: attach(); break;
        // Messages without fields that change nothing here.
        case 32:
        case 33:
        case 81:
        case 200:
        case 201:
        case 207: break;
        case PingReply: core->OnPingReply(); break;
        case CounterCheck: CheckCounter(); break;
        case 225: noble_days(); break;
        case 245: transfer_init(); break;
        case 246: transfer_done(); break;
        case 248: server_crashed(); break;
        case 249: recording_start(); break;
        case 251: recording_end(); break;
        case 253: server_suspended(); break;
        case 254: suspension_over(); break;
        default:
            core->OnDisconnect("unknown header. (" + std::to_string(op) +
                               ", state 2, protocol: " + std::to_string(kind) + ")");
            break;
    }
    return op;
}

// The server's count of the messages it sent, this one included, must match the client's.
void Protocol::CheckCounter() {
    const uint16_t count = inBuffer.GetU16();
    if (!inBuffer.Failed() && count != messageCounter) FailFatally("Counter out of sync.");
}
