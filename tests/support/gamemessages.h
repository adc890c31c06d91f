#pragma once
// Game-state messages delivered to a connection in the game state, over the loopback interface
// and through the client's own frame reading: a world of the sample shapes around the player,
// one other creature, and a ping reply after each delivery whose handling shows that the
// messages before it were read in step.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "support/creatureworld.h"
#include "support/fakeplatform.h"
#include "support/recordingconnection.h"

class Protocol;

class GameMessages : public CreatureWorld {
protected:
    static constexpr uint32_t PlayerId = 1000, RatId = 5;
    // Where the player stands, with stone floor around it.
    static constexpr uint16_t PlayerX = 100, PlayerY = 100;
    static constexpr uint8_t PlayerZ = 7;

    void SetUp() override;
    void TearDown() override;

    // Delivers the messages (hexadecimal text) as one frame followed by a ping reply; true when
    // the ping reply was handled. A fatal end is caught: fatalText holds its box's text.
    bool Deliver(const std::string& hex);
    bool Deliver(const std::vector<uint8_t>& payload);
    // The text of the error status the connection ended with ("" when it goes on).
    std::string DisconnectText() const;
    bool Connected() const;
    // A new game connection after the last one ended; closes the error status it left.
    void Reconnect();

    FakePlatform fake;
    std::unique_ptr<RecordingConnection> connection;
    Protocol* protocol = nullptr;
    Creature* player = nullptr;
    Creature* rat = nullptr;
    std::string fatalText;
    uint32_t exitCode = 0;
};

// A stop-bit number of the tile stream: 7-bit groups, lowest first, the last with bit 7 set.
std::string VarStop(uint32_t value);
