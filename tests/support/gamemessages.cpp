#include "support/gamemessages.h"

#include <winsock2.h>

#include <algorithm>

#include "core.h"
#include "creature.h"
#include "protocol.h"
#include "protocolstate.h"
#include "support/hexbytes.h"
#include "windows/toolkit/status.h"
#include "world.h"

void GameMessages::SetUp() {
    CreatureWorld::SetUp();
    Reconnect();
    FloorAround(PlayerX, PlayerY, 2, PlayerZ);
    player = SpawnPlayer(Position{PlayerX, PlayerY, PlayerZ});
    player->id = PlayerId;
    rat = Spawn(Position{PlayerX + 1, PlayerY, PlayerZ});
    rat->id = RatId;
}

void GameMessages::Reconnect() {
    for (Window* window : std::vector<Window*>(core->windows))
        if (dynamic_cast<Status*>(window)) core->RemoveWindow(window);
    // A fatal end leaves its closed connection in place.
    delete core->connection1;
    core->connection1 = core->activeConnection = nullptr;
    connection = std::make_unique<RecordingConnection>(core.get(), StateGame);
    protocol = connection->protocol;
    u_long nonBlocking = 1;
    ioctlsocket(protocol->socket, FIONBIO, &nonBlocking);
    protocol->playerId = PlayerId;
}

void GameMessages::TearDown() {
    FakePlatform::boxes.clear();
    CreatureWorld::TearDown();
}

bool GameMessages::Deliver(const std::string& hex) { return Deliver(FromHex(hex)); }

bool GameMessages::Deliver(const std::vector<uint8_t>& payload) {
    // Frames of these tests stay below 32 KiB: a two-byte header of the payload size - 1.
    const size_t size = payload.size();
    std::vector<uint8_t> bytes(size + 3);
    bytes[0] = uint8_t(size);
    bytes[1] = uint8_t(size >> 8);
    std::copy(payload.begin(), payload.end(), bytes.begin() + 2);
    bytes.back() = 240;
    core->pingTimes.push_back(FakePlatform::wallClock);
    core->pingOutstanding = 1;
    connection->server.Send(bytes);
    const SOCKET socket = protocol->socket;
    try {
        for (int tries = 0; tries < 500 && core->pingOutstanding && Connected(); ++tries) {
            core->OnSocketMessage1(WPARAM(socket), FD_READ);
            if (core->pingOutstanding) Sleep(1);
        }
    } catch (const ProgramExit& exit) {
        exitCode = exit.code;
        if (!FakePlatform::boxes.empty()) fatalText = FakePlatform::boxes.back().text;
        FakePlatform::boxes.clear();
    }
    return core->pingOutstanding == 0;
}

bool GameMessages::Connected() const { return core->connection1 == protocol && !protocol->closed; }

std::string GameMessages::DisconnectText() const {
    for (Window* window : core->windows) {
        auto* status = dynamic_cast<Status*>(window);
        if (status && status->name == "Veltor - Error") return status->text;
    }
    return "";
}

std::string VarStop(uint32_t value) {
    std::string hex;
    while (value >= 128) {
        hex += ToHex({uint8_t(value & 127)});
        value >>= 7;
    }
    return hex + ToHex({uint8_t(value | 128)});
}
