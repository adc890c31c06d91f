// The login (state 0) and avatar-selection (state 1) messages of a connection.
#include "core.h"
#include "loginblock.h"
#include "protocol.h"
#include "shape.h"
#include "windows/front/avatars.h"
#include "windows/toolkit/windowtypes.h"

namespace {

std::string UnknownHeader(uint8_t op, int state, uint32_t kind) {
    return "unknown header. (" + std::to_string(op) + ", state: " + std::to_string(state) +
           ", protocol: " + std::to_string(kind) + ")";
}

}  // namespace

// Each handler reads all of its fields first and acts only when they were all there; a short
// message is reported by the frame dispatcher.
uint8_t Protocol::ParseLogin() {
    ++messageCounter;
    const uint8_t op = inBuffer.GetByte();
    switch (op) {
        case 0: --messageCounter; break;
        case 1:
            challenge = inBuffer.GetU32();
            if (!inBuffer.Failed()) OnConnect();
            break;
        case 2:
            encrypted = 1;
            state = StateAvatarSelection;
            break;
        case 3: login_reply(); break;
        case 4:
            inBuffer.GetU32();
            if (!inBuffer.Failed()) core->OnDisconnect("Ip block");
            break;
        case 5: core->OnDisconnect("Timeout"); break;
        case 6:
            inBuffer.GetU32();
            inBuffer.GetU16();
            if (!inBuffer.Failed()) core->OnDisconnect("Invalid login information.");
            break;
        case 250:
            inBuffer.GetByte();
            inBuffer.GetString();
            inBuffer.GetString();
            if (!inBuffer.Failed())
                core->OnDisconnect(
                    "Please, download the latest client manually on the Veltor website or via Steam.");
            break;
        default: core->OnDisconnect(UnknownHeader(op, StateLogin, kind)); break;
    }
    return op;
}

uint8_t Protocol::ParseCharacter() {
    ++messageCounter;
    const uint8_t op = inBuffer.GetByte();
    switch (op) {
        case 0: --messageCounter; break;
        case 8: avatar_list(); break;
        case 9: avatar(); break;
        case 10: login_reply(); break;
        case 11: state = StateGame; break;
        case 12: {
            const std::string text = inBuffer.GetString();
            if (!inBuffer.Failed()) FailFatally(text);
            break;
        }
        default: core->OnDisconnect(UnknownHeader(op, StateAvatarSelection, kind)); break;
    }
    return op;
}

void Protocol::OnConnect() {
    switch (core->connectKind) {
        case 1: SendLogin(); break;
        case 2: SendNewAccount(); break;
        case 3: SendLostPassword(); break;
        case 4: SendChangePassword(); break;
        case 5:
        case 6: RequestSteamTicket(); break;
        default: core->OnDisconnect("Failed to find proper connecting type."); break;
    }
}

void Protocol::SendLoginBlock(uint8_t opcode, const std::vector<uint8_t>& plaintext) {
    uint8_t block[LoginBlockSize];
    if (!EncipherLoginBlock(plaintext, block)) {
        core->OnDisconnect("Encryption error.");
        return;
    }
    NetworkMessage message;
    message.AddByte(opcode);
    for (uint8_t byte : block) message.AddByte(byte);
    flush(message);
    ClearPending();
}

void Protocol::SendLogin() {
    SetSessionKey(MakeSessionKey(core->password, challenge));
    SendLoginBlock(2, LoginPlaintext(sessionKey, core->loginName));
}

void Protocol::SendChangePassword() {
    SetSessionKey(MakeSessionKey(core->password, challenge));
    SendLoginBlock(5, PasswordChangePlaintext(sessionKey, core->loginExtra, core->loginName));
}

void Protocol::SendNewAccount() {
    NetworkMessage message;
    message.AddByte(3);
    message.AddString(core->loginName);
    message.AddString(core->loginExtra);
    flush(message);
}

void Protocol::SendLostPassword() {
    NetworkMessage message;
    message.AddByte(4);
    message.AddString(core->loginExtra);
    flush(message);
}

void Protocol::login_reply() {
    const std::string text = inBuffer.GetStringU16();
    if (!inBuffer.Failed()) core->ShowMessage("Veltor", text, 0);
}

// Reads one avatar entry; an unknown shape leaves the rest of the message unreadable (whether
// outfit colours follow depends on the shape) and ends the program.
bool Protocol::ReadAvatarEntry(AvatarEntry& entry) {
    entry.id = inBuffer.GetU32();
    entry.extraByte = inBuffer.GetByte();
    entry.shapeId = inBuffer.GetU16();
    if (inBuffer.Failed()) return false;
    const Shape* shape = core->GetShape(entry.shapeId);
    if (!shape) {
        FailFatally("Unknown shape id. (avatar)");
        return false;
    }
    entry.subId = shape->hasPaletteId ? inBuffer.GetU32() : 0;
    entry.level = inBuffer.GetU16();
    entry.name = inBuffer.GetString();
    entry.extraWord = inBuffer.GetU32();
    return !inBuffer.Failed();
}

void Protocol::avatar_list() {
    const uint32_t accountId = inBuffer.GetU32();
    inBuffer.GetByte();
    const uint8_t count = inBuffer.GetByte();
    std::vector<AvatarEntry> entries(count);
    for (AvatarEntry& entry : entries)
        if (!ReadAvatarEntry(entry)) return;
    const std::string notice = inBuffer.GetStringU16();
    const uint32_t nobleDaysLeft = inBuffer.GetU32();
    if (inBuffer.Failed()) return;
    core->accountId = accountId;
    core->nobleDaysLeft = nobleDaysLeft;

    // The test client plays the configured avatar at once; a number outside the list is not
    // used, and the list opens as usual.
    const int32_t automatic = core->testWalker.runCharacter;
    if (core->testWalker.testing && automatic >= 0 && automatic < int32_t(entries.size())) {
        SendSelectAvatar(entries[automatic].id);
        return;
    }

    if (Window* desktop = core->FindWindow(WindowType::Desktop))
        while (!core->windows.empty() && core->windows.back() != desktop)
            core->RemoveWindow(core->windows.back());
    Avatars* list = new Avatars(core);
    core->AddWindow(list);
    list->SetAvatarList(entries);
    if (!notice.empty()) core->ShowMessage("Message", notice, 0);
}

void Protocol::avatar() {
    AvatarEntry entry;
    if (!ReadAvatarEntry(entry)) return;
    if (Avatars* list = static_cast<Avatars*>(core->FindWindow(WindowType::Avatars)))
        list->AddAvatar(entry);
}

void Protocol::SendCreateAvatar(uint8_t choice, const std::string& name) {
    NetworkMessage message;
    message.AddByte(6);
    message.AddByte(choice);
    message.AddString(name);
    flush(message);
}

void Protocol::SendSelectAvatar(uint32_t id) {
    NetworkMessage message;
    message.AddByte(7);
    message.AddU32(id);
    flush(message);
}
