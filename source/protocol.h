#pragma once
// One TCP connection to a game server: the non-blocking socket whose events arrive as window
// messages, the receive queue it cuts frames from, the send queue, the message counter, the
// XTEA switch, and the dispatchers of the login and avatar-selection states.
#include <winsock2.h>

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "digest.h"
#include "netbuffer.h"
#include "networkmessage.h"
#include "xtea.h"

class Core;
class SessionCallback;
struct AvatarEntry;

// A container window to place when the server opens the container asked for.
struct PendingOpen {
    uint16_t x;
    uint16_t y;
    uint8_t kind;
};

// The cursor position an examine request was made at.
struct PendingLook {
    int32_t x;
    int32_t y;
};

class Protocol {
public:
    // Window messages of the two connection slots.
    static const UINT FirstSocketMessage = 0x8001;
    static const UINT SecondSocketMessage = 0x8002;
    // The largest frame payload accepted from a server; a header announcing more ends the
    // connection before anything is allocated for it.
    static const int32_t MaxFramePayload = 4 * 1024 * 1024;
    // Bytes taken from the socket per read event.
    static const int32_t ReceiveChunk = 1024;

    Protocol(Core* core, uint32_t kind);
    virtual ~Protocol();
    Protocol(const Protocol&) = delete;
    Protocol& operator=(const Protocol&) = delete;

    // Connection and framing. Start mode 0 connects to the configured server (mode 1 belongs
    // to the move to another server).
    void Start(uint32_t mode);
    void Connect();
    bool initialse(HWND window, UINT message);
    bool ConnectTo(uint16_t port, const std::string& host);
    // The socket-event handler: socket and event as the window message carries them (event bits
    // in the low word, error code in the high word). False for another connection's socket.
    bool custom(WPARAM socketParam, LPARAM eventParam);
    // Sends one finished request as a frame (enciphered in place when encryption is on).
    void flush(NetworkMessage& message);
    void SendPing();
    void Cancel();
    void ClearPending();
    void SocketError(uint32_t code, const std::string& text);
    void SocketFailure(bool report, const std::string& text);
    // Marks the connection dead and closes its socket; Core does this before it lets go of a
    // connection, so that a dispatch running on it stops.
    void Close();

    // Login and avatar selection.
    uint8_t ParseLogin();
    uint8_t ParseCharacter();
    uint8_t ParseGame();
    void OnConnect();
    void SendLogin();
    void SendNewAccount();
    void SendLostPassword();
    void SendChangePassword();
    void login_reply();
    void avatar_list();
    void avatar();
    void SendCreateAvatar(uint8_t choice, const std::string& name);
    void SendSelectAvatar(uint32_t id);

    // Steam login and in-game requests (their own parts).
    void OnSteamCallback(WPARAM wParam, LPARAM lParam);
    void SendTalk(uint8_t channel, const std::string& text);
    void SendUseCancel();
    void SendTurn(uint8_t direction);
    void SendSit(uint8_t sit);
    // Uses the thing at a stack index of a map tile (x, y are the tile's map position).
    void SendUseMapItem(uint16_t x, uint16_t y, uint8_t stackIndex, uint16_t shapeId);
    void SendTyping(bool typing);
    void SendConfirmYes();
    void SendConfirmNo();
    void SendCastSelf(uint8_t slot);
    void SendCastCreature(uint8_t slot, uint32_t creatureId);
    void SendCastTile(uint8_t slot, int32_t x, int32_t y, int32_t z);
    void SendCastArmed(uint8_t slot);
    void SendWalk(uint8_t direction);
    void SendWalkRedirect(uint8_t direction);
    void SendTarget(uint8_t mode, uint32_t creatureId);

    SessionCallback* pending = nullptr;
    NetBuffer inBuffer{1024};
    int32_t frameHeaderSize = 0;
    int32_t frameLength = 0;
    std::deque<PendingOpen> pendingOpens;
    std::deque<std::string> pendingFriends;
    std::deque<uint8_t> pendingFriendGroups;
    std::deque<std::string> pendingFriendNotes;
    std::deque<PendingLook> pendingLooks;
    uint32_t lastError = 0;
    SOCKET socket = INVALID_SOCKET;
    NetBuffer outBuffer{1024};
    uint8_t encrypted = 0;
    uint32_t challenge = 0;
    Digest sessionKey{};
    uint8_t closed = 1;
    uint16_t messageCounter = 0;
    uint8_t newFrame = 0;
    uint32_t kind;
    Core* core;

private:
    void SetSessionKey(const Digest& key);
    void OnConnected();
    // One receive of at most ReceiveChunk bytes and the frames it completes; false when nothing
    // was received.
    bool Receive(uint32_t eventError);
    void ReadFrames();
    void DispatchFrame();
    void SendQueued(const char* failureText);
    void CloseSocket();
    // Ends the process with a text once the current dispatch is over; the connection is closed
    // at once, so nothing re-enters it meanwhile.
    void FailFatally(const std::string& text);
    bool ReadAvatarEntry(AvatarEntry& entry);
    void SendLoginBlock(uint8_t opcode, const std::vector<uint8_t>& plaintext);

    Xtea cipher;
    std::string fatalText;
};

// The text shown for a Winsock error code (0: the server closed the connection).
std::string SocketErrorText(uint32_t code, uint32_t kind, const std::string& detail);
