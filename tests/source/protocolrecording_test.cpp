// Recordings of a game connection: the block the server's start and stop write into
// data/Veltor.record, the frames and own requests recorded in between, the end request, and the
// faults of starts and stops that come at the wrong time.
#include <gtest/gtest.h>

#include <winsock2.h>

#include <memory>

#include "core.h"
#include "driver/gfxcore.h"
#include "font.h"
#include "protocol.h"
#include "protocolstate.h"
#include "recordingblocks.h"
#include "support/chatconsole.h"
#include "support/fakeplatform.h"
#include "support/hexbytes.h"
#include "support/recordingconnection.h"
#include "support/recordingdriver.h"
#include "support/startup.h"
#include "support/testcore.h"
#include "windows/game/console.h"
#include "windows/toolkit/windowtypes.h"

namespace {

using Bytes = std::vector<uint8_t>;

const uint64_t StartTime = 1700000000000;
const uint32_t DataVersion = 0x01020304;
// Server frames: 2-byte header (payload length - 1) and payload, in clear.
const Bytes StartFrame = {0x00, 0x00, 249};
const Bytes SevenByteFrame = {0x04, 0x00, 0, 0, 0, 0, 0};  // five keep-alives
// The stop: op 251 and four u32 fields nobody reads.
const Bytes StopFrame = FromHex("1000 fb 01000000 02000000 03000000 04000000");

Bytes FileBytes(const char* path = RecordingsPath) {
    Bytes bytes;
    if (FILE* file = fopen(path, "rb")) {
        uint8_t chunk[65536];
        while (size_t count = fread(chunk, 1, sizeof chunk, file))
            bytes.insert(bytes.end(), chunk, chunk + count);
        fclose(file);
    }
    return bytes;
}

void WriteFileBytes(const Bytes& bytes) {
    FILE* file = fopen(RecordingsPath, "wb");
    ASSERT_NE(file, nullptr);
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
}

uint64_t LittleEndian(const Bytes& bytes, size_t at, size_t size) {
    uint64_t value = 0;
    for (size_t i = 0; i < size; ++i) value |= uint64_t(bytes.at(at + i)) << (8 * i);
    return value;
}

Bytes Slice(const Bytes& bytes, size_t from, size_t to) {
    return Bytes(bytes.begin() + ptrdiff_t(from), bytes.begin() + ptrdiff_t(to));
}

std::vector<RecordingBlock> Blocks() {
    FILE* file = fopen(RecordingsPath, "rb");
    if (!file) return {};
    std::vector<RecordingBlock> blocks = ListRecordingBlocks(file);
    fclose(file);
    return blocks;
}

class RecordingTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CreateDirectoryA("data", nullptr));
        core = MakeTestCore();
        core->clientVersion = 14;
        core->dataVersion = DataVersion;
        core->frameTimeMs = StartTime;
        connection = std::make_unique<RecordingConnection>(core.get(), StateGame);
        protocol = connection->protocol;
        OpenConsole(core.get());
    }

    void TearDown() override {
        core.reset();
        connection.reset();
    }

    // The server sends the bytes and the connection handles them as the socket event would.
    void Deliver(const Bytes& bytes) {
        connection->server.Send(bytes);
        u_long held = 0;
        for (int tries = 0; tries < 500 && held < bytes.size(); ++tries) {
            Sleep(1);
            ioctlsocket(protocol->socket, FIONREAD, &held);
        }
        ASSERT_EQ(held, bytes.size());
        protocol->custom(WPARAM(protocol->socket), FD_READ);
    }

    // The server hangs up; the connection ends as its socket event ends it.
    void ServerCloses() {
        connection->server.Close();
        Sleep(20);
        ASSERT_TRUE(protocol->custom(WPARAM(protocol->socket), FD_CLOSE));
        core->DeleteClosedConnections();
        EXPECT_EQ(core->connection1, nullptr);
        protocol = nullptr;
    }

    std::vector<std::string> InfoLines() {
        std::vector<std::string> texts;
        for (const std::string& line : ChannelOf(core.get(), ChannelId::Info)->rawLines)
            texts.push_back(Font::PlainText(line));
        return texts;
    }

    FakePlatform fake;
    TemporaryFolder folder;
    std::unique_ptr<Core> core;
    std::unique_ptr<RecordingConnection> connection;
    Protocol* protocol = nullptr;
};

TEST_F(RecordingTest, OneFrameThenTheConnectionClosesLeavesOneStoppedBlock) {
    Deliver(StartFrame);
    EXPECT_EQ(core->recording, 1);
    core->frameTimeMs = StartTime + 260;
    Deliver(SevenByteFrame);
    core->frameTimeMs = StartTime + 900;
    ServerCloses();

    const Bytes file = FileBytes();
    ASSERT_EQ(file.size(), 114048u);
    EXPECT_EQ(LittleEndian(file, 0, 4), 114048u);
    EXPECT_EQ(LittleEndian(file, 4, 4), 0u);
    EXPECT_EQ(LittleEndian(file, 8, 4), 14u);
    EXPECT_EQ(LittleEndian(file, 12, 4), DataVersion);
    EXPECT_EQ(LittleEndian(file, 16, 8), StartTime);
    EXPECT_EQ(LittleEndian(file, 24, 8), StartTime + 900);
    EXPECT_EQ(LittleEndian(file, 32, 4), 114000u);
    // No field window: the thumbnail is blank.
    EXPECT_EQ(Slice(file, 36, 114036), Bytes(114000, 0));
    EXPECT_EQ(ToHex(Slice(file, 114036, file.size())),
              "04010000"
              "00"
              "04000000000000");
    EXPECT_EQ(core->recording, 0);
    EXPECT_EQ(InfoLines().front(), "Start recording.");
    EXPECT_EQ(InfoLines().back(), "Stop recording.");
}

TEST_F(RecordingTest, OwnRequestsAreRecordedOnlyWhileRecording) {
    protocol->SendTurn(2);
    Deliver(StartFrame);
    core->frameTimeMs = StartTime + 1500;
    protocol->SendTurn(2);
    Deliver(StopFrame);
    const Bytes stopped = FileBytes();
    ASSERT_GE(stopped.size(), 114043u);
    EXPECT_EQ(ToHex(Slice(stopped, 114036, 114043)),
              "dc050000"
              "01"
              "2802");
    // Then the stop's own frame, as received.
    EXPECT_EQ(ToHex(Slice(stopped, 114043, stopped.size())),
              "dc050000"
              "00" +
                  ToHex(StopFrame));

    protocol->SendTurn(2);
    protocol->SendTalk(0, "hi");
    EXPECT_EQ(FileBytes(), stopped);
    EXPECT_EQ(connection->SentOpcodes(4), (std::vector<uint8_t>{40, 40, 40, 60}));
}

TEST_F(RecordingTest, StopWithoutRecordingReadsItsFieldsAndWritesNothing) {
    Deliver(StartFrame);
    Deliver(StopFrame);
    const Bytes before = FileBytes();
    ASSERT_EQ(Blocks().size(), 1u);

    // A message after the stop's fields in the same frame: a 0x01 left unread would be op 1,
    // which the game state does not know.
    Bytes frame = StopFrame;
    frame[0] = 0x11;
    frame.push_back(0x00);
    Deliver(frame);
    EXPECT_EQ(protocol->closed, 0);
    EXPECT_EQ(FileBytes(), before);
    EXPECT_EQ(InfoLines().size(), 2u);
}

TEST_F(RecordingTest, StartWhileRecordingIsIgnored) {
    Deliver(StartFrame);
    Deliver(StartFrame);
    Deliver(StopFrame);
    const Bytes file = FileBytes();
    const std::vector<RecordingBlock> blocks = Blocks();
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks[0].length, file.size());
    // The second start is only a received frame of the recording.
    EXPECT_EQ(ToHex(Slice(file, 114036, 114044)),
              "00000000"
              "00"
              "0000f9");
}

TEST_F(RecordingTest, NewRecordingFollowsTheLastCompleteBlockAndCutsOffAnUnfinishedOne) {
    Deliver(StartFrame);
    Deliver(StopFrame);
    const Bytes first = FileBytes();
    // A block the client never stopped: its length is still 0.
    Bytes unfinished = first;
    unfinished.resize(first.size() + 40000, 0x55);
    std::fill(unfinished.begin() + ptrdiff_t(first.size()),
              unfinished.begin() + ptrdiff_t(first.size() + 4), 0);
    WriteFileBytes(unfinished);

    Deliver(StartFrame);
    Deliver(StopFrame);
    const Bytes file = FileBytes();
    const std::vector<RecordingBlock> blocks = Blocks();
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[1].offset, first.size());
    EXPECT_EQ(RecordingBlocksEnd(blocks), file.size());
    EXPECT_EQ(Slice(file, 0, first.size()), first);
}

TEST_F(RecordingTest, UnwritableFileAsksTheServerToEndOncePerRecording) {
    ASSERT_TRUE(CreateDirectoryA(RecordingsPath, nullptr));  // cannot be opened as a file
    Deliver(StartFrame);
    Deliver(StartFrame);
    EXPECT_EQ(connection->SentOpcodes(1), (std::vector<uint8_t>{251}));
    EXPECT_EQ(core->recording, 0);
    // The server's stop answers it; a later start may ask again.
    Deliver(StopFrame);
    Deliver(StartFrame);
    EXPECT_EQ(connection->SentOpcodes(2), (std::vector<uint8_t>{251, 251}));
    EXPECT_EQ(InfoLines().size(), 0u);
}

TEST_F(RecordingTest, FailedWriteLeavesNoListedBlockAndSaysSo) {
    Deliver(StartFrame);
    protocol->recordFailed = 1;
    Deliver(StopFrame);
    EXPECT_TRUE(Blocks().empty());
    EXPECT_EQ(InfoLines().back(), "Stop recording. Error: corrupted data.");
    EXPECT_EQ(core->recording, 0);
}

TEST_F(RecordingTest, EndingTheProgramStopsTheRecording) {
    Deliver(StartFrame);
    core.reset();  // the windows go first, then the connections
    EXPECT_EQ(Blocks().size(), 1u);
}

// A window standing in for the game field, with a surface the recording driver names.
class FieldStandIn : public Window {
public:
    explicit FieldStandIn(Core* core) : Window(core) {
        width = 480;
        height = 352;
        surface = GFX_CreateRenderTarget(512, 512, 0, 0, 7);
    }
};

TEST_F(RecordingTest, ThumbnailIsTheFieldScaledDown) {
    struct Case {
        uint8_t pixelOption;
        std::vector<std::string> draws;
    };
    const Case cases[] = {
        {0, {"DrawTargetPartScaled(0,0,190,150,0,0,480,352,rt:7)"}},
        {1,
         {"DrawTargetPartScaled(0,0,608,480,0,0,480,352,rt:7)",
          "DrawTargetPartScaled(0,0,190,150,0,0,608,480,rt:0)"}},
    };
    for (const Case& test : cases) {
        RecordingDriver::Install();
        core->options.pixel = test.pixelOption;
        FieldStandIn field(core.get());
        core->fieldWindow = &field;
        Deliver(StartFrame);
        std::vector<std::string> draws;
        bool readBack = false;
        for (const std::string& call : RecordingDriver::Take()) {
            if (call.rfind("DrawTargetPartScaled", 0) == 0) draws.push_back(call);
            readBack = readBack || call.rfind("ReadTarget(rt:0,0,0,190,150,", 0) == 0;
        }
        EXPECT_EQ(draws, test.draws);
        EXPECT_TRUE(readBack);
        Deliver(StopFrame);
        core->fieldWindow = nullptr;
        UseNullDriver();
    }
}

}  // namespace
