// Targets of the protocol: bytes from the game server, received by a connection of a Core on the
// null driver, cut into frames and handed to the dispatcher of the connection's state.
#include <winsock2.h>

#include <algorithm>

#include "core.h"
#include "fuzz/fuzztarget.h"
#include "protocol.h"
#include "support/gamemessages.h"
#include "support/spritedata.h"
#include "support/testcore.h"

namespace {

// Inputs hold a few long texts or a few thousand messages; the client takes in frames of up to
// Protocol::MaxFramePayload bytes and may hold about twice that while it cuts them.
const size_t MaxStreamInput = 70000;
const size_t MaxCutterInput = 2048;
const size_t StreamAllocationLimit = 2 * size_t(Protocol::MaxFramePayload) + (1 << 20);
// Bytes the server side sends at once: less than the loopback interface holds.
const size_t WholePieces = 16384;

// A Core with the sample shapes and one connection in the login or avatar-selection state.
class FrontSession {
public:
    explicit FrontSession(ProtocolState state)
        : core(MakeTestCore()), connection(InitCore(core.get()), state) {
        core->connectKind = 1;
        core->loginName = "tester";
        core->password = "secret";
    }
    ~FrontSession() { FakePlatform::boxes.clear(); }

    Core& GetCore() { return *core; }
    RecordingConnection& Connection() { return connection; }

private:
    static Core* InitCore(Core* core) {
        core->shapes = LoadSpriteCase(core, "sample").release();
        core->InitStatusEffects();
        return core;
    }

    FakePlatform fake;
    std::unique_ptr<Core> core;
    RecordingConnection connection;
};

// A connection in the game state with a world around the player and one other creature. The
// Core deletes the world, whichever the input left.
class GameSession : public GameMessages {
public:
    GameSession() { SetUp(); }
    ~GameSession() override {
        FakePlatform::boxes.clear();
        core.reset();
    }
    void TestBody() override {}

    Core& GetCore() { return *core; }
    RecordingConnection& Connection() { return *connection; }
};

// Hands the client every byte that has arrived, one read event at a time, while its connection
// lasts.
void Receive(Core& core, Protocol* protocol) {
    const SOCKET socket = protocol->socket;
    for (int idle = 0; idle < 3;) {
        if (core.connection1 != protocol || protocol->closed) return;
        u_long waiting = 0;
        ioctlsocket(socket, FIONREAD, &waiting);
        if (waiting == 0) {
            ++idle;
            Sleep(0);
            continue;
        }
        idle = 0;
        core.OnSocketMessage1(WPARAM(socket), FD_READ);
    }
}

// Sends the stream from the server's side in pieces of the given size, each received before the
// next is sent.
void Feed(Core& core, RecordingConnection& connection, const uint8_t* bytes, size_t size,
          size_t piece) {
    Protocol* protocol = connection.protocol;
    for (size_t at = 0; at < size; at += piece) {
        if (core.connection1 != protocol || protocol->closed) return;
        connection.server.Send(
            std::vector<uint8_t>(bytes + at, bytes + std::min(size, at + piece)));
        Receive(core, protocol);
    }
}

template <typename Session>
void RunSession(Session& session, const uint8_t* bytes, size_t size, size_t piece) {
    Feed(session.GetCore(), session.Connection(), bytes, size, piece);
    CheckOpenBoxes(session.GetCore());
}

// The sessions restore the real platform calls when they end; the harness's fakes stay.
class KeepPlatform {
public:
    KeepPlatform() : saved_(platform) {}
    ~KeepPlatform() { platform = saved_; }

private:
    PlatformCalls saved_;
};

// The stream of one state's frames, received whole.
class DispatchTarget : public FuzzTarget {
public:
    explicit DispatchTarget(ProtocolState state) : state_(state) {}

    void Run(const Bytes& input) override {
        KeepPlatform keep;
        if (state_ == StateGame) {
            GameSession session;
            RunSession(session, input.data(), input.size(), WholePieces);
        } else {
            FrontSession session(state_);
            RunSession(session, input.data(), input.size(), WholePieces);
        }
    }

private:
    ProtocolState state_;
};

// The frame cutter: the first byte chooses how many bytes arrive at a time (1 to 256), the rest
// is a login-state stream. Its inputs are short, as each piece costs a round trip.
class FramesTarget : public FuzzTarget {
public:
    void Run(const Bytes& input) override {
        if (input.empty()) return;
        KeepPlatform keep;
        FrontSession session(StateLogin);
        RunSession(session, input.data() + 1, input.size() - 1, size_t(input[0]) + 1);
    }
};

}  // namespace

void AddProtocolTargets(std::vector<TargetInfo>& targets) {
    const auto add = [&](const char* name, std::function<std::unique_ptr<FuzzTarget>()> make) {
        targets.push_back({name, MaxStreamInput, StreamAllocationLimit, std::move(make)});
    };
    targets.push_back({"frames", MaxCutterInput, StreamAllocationLimit,
                       [] { return std::make_unique<FramesTarget>(); }});
    for (const auto& [name, state] :
         {std::pair{"login", StateLogin}, std::pair{"avatars", StateAvatarSelection},
          std::pair{"game", StateGame}})
        add(name, [state = state] { return std::make_unique<DispatchTarget>(state); });
}
