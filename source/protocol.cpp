#include "protocol.h"

#include <ws2tcpip.h>

#include <cstdio>
#include <cstdlib>
#include <share.h>

#include "core.h"
#include "platform.h"
#include "sessioncallback.h"
#include "steam.h"

namespace {

const char* const SupportLine =
    "\nIf the problem persists, please contact us on support@veltor.example, or on Discord.";

const struct {
    uint32_t code;
    const char* text;
    bool supportLine;
} SocketErrorTexts[] = {
    {0, "Server disconnected. Please try again later.", true},
    {10049,
     "Cannot assign requested address. Check your connection, restart your computer and perhaps even your router.",
     false},
    {10050, "Network Down. Please try again later.", true},
    {10051, "Network is unreachable. Please try again later.", true},
    {10053, "Could not maintain connection to game server.", true},
    {10054, "Connection Lost. Please try again later.", true},
    {10058, "The network has been shut down. Please try again later.", true},
    {10060, "Connection Time-Out. Please try again later.", true},
    {10061, "Connection lost. Please try again later.", true},
};

// Socket set-up failures are logged to "debug.txt" in the working folder.
void AppendDebugLine(const char* line) {
    if (FILE* file = _fsopen("debug.txt", "ab", _SH_DENYNO)) {
        std::fputs(line, file);
        std::fputs("\n", file);
        std::fclose(file);
    }
}

uint16_t ParsePort(const std::string& text) {
    char* end = nullptr;
    const unsigned long value = std::strtoul(text.c_str(), &end, 10);
    return end != text.c_str() && value <= 0xFFFF ? uint16_t(value) : 0;
}

}  // namespace

std::string SocketErrorText(uint32_t code, uint32_t kind, const std::string& detail) {
    for (const auto& known : SocketErrorTexts)
        if (known.code == code)
            return std::string(known.text) + (known.supportLine ? SupportLine : "");
    return "Socket Error (" + std::to_string(code) + " in " + std::to_string(kind) + ") " + detail;
}

Protocol::Protocol(Core* core, uint32_t kind) : kind(kind), core(core) { ClearPending(); }

Protocol::~Protocol() {
    CloseSocket();
    if (ticketPending) {
        ticketPending = 0;
        if (SteamUser* user = Steam::User()) user->CancelAuthTicket(ticketHandle);
    }
    delete pending;
    ClearPending();
    if (recordStream) recording_stop();
}

void Protocol::ClearPending() {
    pendingOpens.clear();
    pendingFriends.clear();
    pendingFriendGroups.clear();
    pendingFriendNotes.clear();
    pendingLooks.clear();
}

void Protocol::Start(uint32_t mode) {
    if (mode == 1) {
        Transfer();
        return;
    }
    messageCounter = 0;
    state = StateLogin;
    encrypted = 0;
    delete pending;
    pending = nullptr;
    closed = 0;
    Connect();
}

UINT Protocol::SocketMessage() const {
    return kind == 2 ? SecondSocketMessage : FirstSocketMessage;
}

void Protocol::Connect() {
    const char* failure = nullptr;
    if (!initialse(core->hwnd, SocketMessage()))
        failure = "Failed to initialise the event and create the socket. Please try again later.";
    else if (!gethostbyname(core->host.c_str()))
        failure = "Invalid host. Could not connect to game server. Please try again later.";
    else if (!ConnectTo(ParsePort(core->port), core->host))
        failure = "Could not connect to game server. Please try again later.";
    // A socket error already reported (and closed) the connection.
    if (failure && !closed) core->OnDisconnect(failure + std::string(SupportLine));
}

bool Protocol::initialse(HWND window, UINT message) {
    socket = ::socket(AF_INET6, SOCK_STREAM, IPPROTO_TCP);
    if (socket == INVALID_SOCKET) {
        AppendDebugLine("invalid socket");
        if (lastError == 0) lastError = WSAGetLastError();
        return false;
    }
    const DWORD dualStack = 0;
    setsockopt(socket, IPPROTO_IPV6, IPV6_V6ONLY, reinterpret_cast<const char*>(&dualStack),
               sizeof dualStack);
    const BOOL noDelay = TRUE;
    setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay),
               sizeof noDelay);
    if (WSAAsyncSelect(socket, window, message, FD_READ | FD_WRITE | FD_CONNECT | FD_CLOSE) != 0) {
        AppendDebugLine("unable to sync select");
        SocketFailure(true, "initialse: wsa sync select");
        return false;
    }
    return true;
}

bool Protocol::ConnectTo(uint16_t port, const std::string& host) {
    if (socket == INVALID_SOCKET) return false;
    addrinfo hints = {};
    hints.ai_flags = AI_V4MAPPED;
    hints.ai_family = AF_INET6;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0) {
        if (lastError == 0) lastError = WSAGetLastError();
        return false;
    }
    bool started = false;
    if (found && found->ai_addr) {
        started = connect(socket, found->ai_addr, int(found->ai_addrlen)) == 0 ||
                  WSAGetLastError() == WSAEWOULDBLOCK;
        if (!started) SocketFailure(true, "connect to: !WSAEWOULDBLOCK");
    }
    if (found) freeaddrinfo(found);
    return started;
}

bool Protocol::custom(WPARAM socketParam, LPARAM eventParam) {
    if (socket == INVALID_SOCKET || SOCKET(socketParam) != socket) return false;
    const uint32_t events = WSAGETSELECTEVENT(eventParam);
    const uint32_t error = WSAGETSELECTERROR(eventParam);

    if ((events & FD_CONNECT) && socket != INVALID_SOCKET) {
        if (error != 0) {
            if (!core->gameHalted) SocketError(error, "");
        } else if (core->IsOtherConnectionActive(this)) {
            SendTransferHello();
        } else {
            OnConnected();
        }
    }
    if ((events & FD_READ) && socket != INVALID_SOCKET && !closed) Receive(error);
    if ((events & FD_WRITE) && socket != INVALID_SOCKET)
        SendQueued("custom FD WRITE: !WSAEWOULDBLOCK");
    if ((events & FD_CLOSE) && socket != INVALID_SOCKET) {
        // Frames that arrived before the close are still handled: a server that refuses the
        // login and hangs up must be heard first.
        while (socket != INVALID_SOCKET && !closed && Receive(error)) {
        }
        if (socket != INVALID_SOCKET) OnServerClose(error);
    }
    if (!fatalText.empty()) core->FatalError(fatalText);
    return true;
}

void Protocol::OnConnected() {
    NetworkMessage message;
    message.AddByte(1);
    message.AddU32(core->clientVersion);
    message.AddU32(core->dataVersion);
    flush(message);
}

bool Protocol::Receive(uint32_t eventError) {
    uint8_t* at = inBuffer.GetWritePointer(ReceiveChunk);
    const int received = recv(socket, reinterpret_cast<char*>(at), ReceiveChunk, 0);
    if (received == SOCKET_ERROR) {
        if (WSAGetLastError() != WSAEWOULDBLOCK) SocketFailure(true, "custom: !WSAEWOULDBLOCK");
        return false;
    }
    if (received == 0) {
        OnServerClose(eventError);
        return false;
    }
    // Only a receive past what was reserved fails here: the heap is already damaged.
    if (inBuffer.WriteDone(received) < 0) {
        ShowMessageBox(nullptr, "NetBuffer::WriteDone with size too large", "Internal Error",
                       MB_ICONERROR | MB_ABORTRETRYIGNORE);
        std::abort();
    }
    ReadFrames();
    return true;
}

// Cuts every complete frame out of the receive queue and dispatches it. A frame header waits
// for both of its words; a frame waits until all of its bytes are held.
void Protocol::ReadFrames() {
    while (!closed) {
        if (!newFrame) {
            if (frameHeaderSize == 0 && inBuffer.GetUnread() >= 2) {
                frameLength = inBuffer.GetU16();
                frameHeaderSize = 2;
            }
            if (frameHeaderSize == 2 && frameLength >= 0x8000 && inBuffer.GetUnread() >= 2) {
                frameLength = (frameLength - 0x8000) + (int32_t(inBuffer.GetU16()) << 15);
                frameHeaderSize = 4;
            }
            const bool headerComplete =
                frameHeaderSize == 4 || (frameHeaderSize == 2 && frameLength < 0x8000);
            if (!headerComplete) return;
            if (frameLength >= MaxFramePayload) {
                core->OnDisconnect("Invalid frame from the game server: " +
                                   std::to_string(int64_t(frameLength) + 1) +
                                   " bytes is more than the client accepts." + SupportLine);
                return;
            }
            inBuffer.BeginFrame(frameLength + 1);
            newFrame = 1;
        }
        if (inBuffer.GetUnread() < inBuffer.GetRemaining()) return;

        newFrame = 0;
        ++framesReceived;
        bytesReceived += uint64_t(frameHeaderSize) + uint64_t(frameLength) + 1;
        RecordFrame();
        if (encrypted)
            cipher.Decrypt(inBuffer.GetData() + inBuffer.GetReadPosition(),
                           inBuffer.GetRemaining() / 8);
        DispatchFrame();
        if (closed) return;
        inBuffer.EndFrame();
        inBuffer.Consume(inBuffer.GetReadPosition());
        frameHeaderSize = frameLength = 0;
    }
}

// Hands every message of the current frame to the dispatcher of the protocol state, which may
// change from one message to the next. A message that cannot be read within its frame ends the
// connection.
void Protocol::DispatchFrame() {
    while (!closed && inBuffer.GetRemaining() > 0) {
        const ProtocolState dispatched = state;
        uint8_t op = 0;
        switch (dispatched) {
            case StateLogin: op = ParseLogin(); break;
            case StateAvatarSelection: op = ParseCharacter(); break;
            case StateGame: op = ParseGame(); break;
        }
        if (inBuffer.Failed() && !closed) {
            core->OnDisconnect("Invalid message from the game server. (" + std::to_string(op) +
                               ", state: " + std::to_string(dispatched) + ", protocol: " +
                               std::to_string(kind) + ": " + inBuffer.GetError() + ")");
        }
    }
}

void Protocol::flush(NetworkMessage& message) {
    if (core->gameHalted || socket == INVALID_SOCKET) return;
    if (encrypted) message.Encipher(cipher);
    message.WriteHeader(messageCounter, state == StateGame);
    outBuffer.Append(message.GetData(), message.GetLength());
    SendQueued("flush: !WSAEWOULDBLOCK");
}

void Protocol::SendQueued(const char* failureText) {
    if (outBuffer.GetLength() == 0) return;
    const int sent =
        send(socket, reinterpret_cast<const char*>(outBuffer.GetData()), outBuffer.GetLength(), 0);
    if (sent == SOCKET_ERROR) {
        if (WSAGetLastError() != WSAEWOULDBLOCK) SocketFailure(true, failureText);
    } else if (sent > 0) {
        outBuffer.Consume(sent);
    }
}

void Protocol::SendPing() {
    NetworkMessage message;
    message.AddByte(240);
    flush(message);
}

void Protocol::Cancel() {
    if (socket != INVALID_SOCKET) {
        closed = 1;
        shutdown(socket, SD_SEND);
    }
    delete pending;
    pending = nullptr;
}

void Protocol::OnServerClose(uint32_t eventError) {
    if (core->gameHalted) Close();
    else SocketError(eventError, "");
}

void Protocol::SocketFailure(bool report, const std::string& text) {
    if (lastError == 0) lastError = WSAGetLastError();
    if (report && socket != INVALID_SOCKET) SocketError(lastError, text);
}

void Protocol::SocketError(uint32_t code, const std::string& text) {
    lastError = code;
    CloseSocket();
    if (closed) return;
    closed = 1;
    core->OnDisconnect(SocketErrorText(code, kind, text));
}

void Protocol::Close() {
    closed = 1;
    CloseSocket();
}

void Protocol::CloseSocket() {
    if (socket == INVALID_SOCKET) return;
    closesocket(socket);
    socket = INVALID_SOCKET;
}

void Protocol::SetSessionKey(const Digest& key) {
    sessionKey = key;
    cipher.SetKey(key.data());
}

void Protocol::FailFatally(const std::string& text) {
    // What a message that ran out of bytes seems to say (a shape id of 0) is no reason to end the
    // program: the dispatcher ends the connection with the read failure.
    if (inBuffer.Failed()) return;
    Close();
    if (fatalText.empty()) fatalText = text;
}
