// Moving to another game server: the old connection learns where to go (op 245) and when the
// move is done (op 246); the new connection proves itself to the new server with the transfer key
// and token, then runs in game under that key.
#include <string>
#include <vector>

#include "core.h"
#include "loginblock.h"
#include "notification.h"
#include "protocol.h"
#include "world.h"
#include "xtea.h"

namespace {

const uint8_t TransferOp = 245;
const uint8_t TransferDoneOp = 246;

// The steps of a move are told in the notification lines when there is a world to show them.
void Notify(Core* core, uint8_t kind, const char* text) {
    if (core->world && core->world->notification) core->world->notification->Add(kind, text);
}

}  // namespace

void Protocol::transfer_init() {
    const std::string host = inBuffer.GetString();
    const uint16_t port = inBuffer.GetU16();
    const uint32_t token = inBuffer.GetU32();
    uint32_t words[4];
    for (uint32_t& word : words) word = inBuffer.GetU32();
    if (inBuffer.Failed()) return;
    Notify(core, 1, "Client: Transfer init");
    core->transferHost = host;
    core->transferPort = port;
    core->transferToken = token;
    XteaKeyFromWords(words, core->transferKey.data());
    core->Connect(1);
}

void Protocol::Transfer() {
    Notify(core, 1, "Client: initiate transfer network");
    messageCounter = 0;
    state = StateLogin;
    closed = 0;
    encrypted = 0;
    const char* failure = nullptr;
    if (!initialse(core->hwnd, SocketMessage()))
        failure = "Transfer: unable to initialise transfer network listener";
    else if (!ConnectTo(core->transferPort, core->transferHost))
        failure = "Transfer: unable to connect to tansfer host";
    if (!failure) return;
    // The game goes on over the old connection; this one is let go, so that a later move finds
    // its slot free.
    Notify(core, 1, failure);
    core->CloseConnection(kind);
}

void Protocol::SendTransferHello() {
    SetSessionKey(core->transferKey);
    std::vector<uint8_t> plaintext(sessionKey.begin(), sessionKey.end());
    for (int shift = 0; shift < 32; shift += 8)
        plaintext.push_back(uint8_t(core->transferToken >> shift));
    SendLoginBlock(TransferOp, plaintext);
    if (closed) return;
    state = StateGame;
    encrypted = 1;
    Notify(core, 0, "Client: flush transfer data (wait for repsonse)");
}

void Protocol::transfer_done() {
    // The move ends on the active connection, and only to a new one that has said its hello.
    Protocol* next = kind == 1 ? core->connection2 : core->connection1;
    if (core->activeConnection != this || !next || next->closed || next->state != StateGame) {
        core->OnDisconnect("Transfer failed: no connection to the new server.");
        return;
    }
    Notify(core, 1, "Client: Transfer done");
    Send(TransferDoneOp);
    if (closed) return;  // the send failed and ended the game
    // Pings sent here are never answered.
    core->pingOutstanding = 0;
    core->pingTimes.clear();
    core->SwitchActiveConnection();
    Notify(core, 0, "Client: Transfer close connection");
    core->CloseConnection(kind);
}
