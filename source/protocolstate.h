#pragma once
#include <cstdint>

// The protocol state: one for the whole process, shared by both connections. It chooses the
// dispatcher of received frames, the header reserve of new client messages and the width of
// the message counter in client frames.
enum ProtocolState : uint8_t {
    StateLogin = 0,
    StateAvatarSelection = 1,
    StateGame = 2,
};

extern ProtocolState protocolState;
