// The game state (state 2) messages of a connection.
#include <string>

#include "core.h"
#include "protocol.h"

// Keep-alives only, until the game messages are built.
uint8_t Protocol::ParseGame() {
    ++messageCounter;
    const uint8_t op = inBuffer.GetByte();
    if (op == 0) --messageCounter;
    else
        core->OnDisconnect("unknown header. (" + std::to_string(op) +
                           ", state: 2, protocol: " + std::to_string(kind) + ")");
    return op;
}
