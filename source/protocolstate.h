#pragma once
#include <cstdint>

// The protocol state of one connection (Protocol::state). It chooses the dispatcher of the
// connection's received frames and the width of the message counter in its frames.
enum ProtocolState : uint8_t {
    StateLogin = 0,
    StateAvatarSelection = 1,
    StateGame = 2,
};
