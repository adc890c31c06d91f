// Recordings: while the game server asks for one, every frame the connection receives and every
// movement or speech request the player sends is appended to a block of the recordings file.
//
// The server's start (op 249) opens data/Veltor.record, cuts off whatever follows its last
// complete block (a recording the client never stopped, say at a crash) and writes the new block
// there; the stream stays open until the server's stop (op 251) or the end of the connection.
#include <io.h>

#include <cerrno>

#include "core.h"
#include "driver/gfxcore.h"
#include "netbuffer.h"
#include "notification.h"
#include "protocol.h"
#include "recordingblocks.h"
#include "windows/game/channel.h"
#include "windows/game/console.h"
#include "windows/toolkit/windowtypes.h"
#include "world.h"

namespace {

const uint8_t EndRecordingRequest = 251;
const uint8_t WaitNotification = 2;
const uint8_t InfoChannelId = 240;
// The line colours of the recording notices: a start or stop, and a recording that failed.
const uint8_t NoticeColour[4] = {128, 245, 128, 192};
const uint8_t ErrorColour[4] = {245, 128, 128, 192};
// With the pixel option the field is first scaled to this size, then to the thumbnail's.
const int32_t PixelStepWidth = 608, PixelStepHeight = 480;

// Adds a line to the console's Info channel when both exist. The console is looked for in the
// window list: a connection may stop its recording while the program ends, after the windows.
void AddInfoLine(Core* core, const uint8_t (&colour)[4], const std::string& text) {
    auto* console = static_cast<Console*>(core->FindWindow(WindowType::Console));
    Channel* channel = console ? console->FindChannel(InfoChannelId) : nullptr;
    if (channel) channel->AddLine(colour[0], colour[1], colour[2], colour[3], text);
}

// Draws the part (0, 0, width, height) of the source scaled into a new target of the given size;
// null when the device cannot hold the target.
GfxRenderTarget* ScaledCopy(GfxRenderTarget* source, float width, float height, int32_t targetWidth,
                            int32_t targetHeight) {
    GfxRenderTarget* target = GFX_CreateRenderTarget(targetWidth, targetHeight, 0, 0, 0);
    if (!target || !GFX_PrepareRenderTarget(target)) {
        GFX_DeleteRenderTarget(target);
        return nullptr;
    }
    GFX_BeginFrame(target);
    GfxDriver::DrawTargetPartScaled(0, 0, float(targetWidth), float(targetHeight), 0, 0, width,
                                    height, source);
    GFX_EndFrame();
    return target;
}

// The game field's picture for the block's thumbnail; zeros while there is no field window, or
// its surface, to take it from.
std::vector<uint8_t> FieldThumbnail(Core* core) {
    std::vector<uint8_t> pixels(ThumbnailBytes, 0);
    Window* field = core->fieldWindow;
    if (!field || !field->surface || !GFX_PrepareRenderTarget(field->surface)) return pixels;
    GfxRenderTarget* source = field->surface;
    float width = float(field->width), height = float(field->height);
    GfxRenderTarget* pixelStep = nullptr;
    if (core->options.pixel) {
        pixelStep = ScaledCopy(source, width, height, PixelStepWidth, PixelStepHeight);
        if (!pixelStep) return pixels;
        source = pixelStep;
        width = float(PixelStepWidth);
        height = float(PixelStepHeight);
    }
    if (GfxRenderTarget* thumbnail =
            ScaledCopy(source, width, height, ThumbnailWidth, ThumbnailHeight)) {
        GFX_ReadRenderTarget(thumbnail, 0, 0, ThumbnailWidth, ThumbnailHeight, pixels.data(),
                             ThumbnailWidth * 4);
        GFX_DeleteRenderTarget(thumbnail);
    }
    GFX_DeleteRenderTarget(pixelStep);
    return pixels;
}

// Writes the `size` low bytes of the value, little-endian, at a position of the stream.
bool WriteFieldAt(FILE* file, int64_t position, uint64_t value, size_t size) {
    NetBuffer field(8);
    field.AddU64(value);
    return _fseeki64(file, position, SEEK_SET) == 0 &&
           fwrite(field.GetData(), 1, size, file) == size;
}

// Opens the recordings file for the new block, which starts at the stream's position: after the
// last complete block, with anything behind it cut off. Null when the file cannot be written.
FILE* OpenRecordingsFile() {
    FILE* file = fopen(RecordingsPath, "r+b");
    // Only a missing file is made: "w+b" would empty one that cannot be opened for another reason.
    if (!file && errno == ENOENT) file = fopen(RecordingsPath, "w+b");
    if (!file) return nullptr;
    const int64_t end = int64_t(RecordingBlocksEnd(ListRecordingBlocks(file)));
    if (_chsize_s(_fileno(file), end) != 0 || _fseeki64(file, end, SEEK_SET) != 0) {
        fclose(file);
        return nullptr;
    }
    return file;
}

}  // namespace

void Protocol::recording_start() {
    if (core->recording) return;
    recordStream = OpenRecordingsFile();
    if (!recordStream) {
        SendEndRecording();
        return;
    }
    recordHeaderPos = _ftelli64(recordStream);
    recordFailed = 0;
    NetBuffer head{int32_t(RecordingRecordsOffset)};
    head.AddU32(0);
    head.AddU32(0);
    head.AddU32(core->clientVersion);
    head.AddU32(core->dataVersion);
    head.AddU64(core->frameTimeMs);
    head.AddU64(0);
    head.AddU32(ThumbnailBytes);
    const std::vector<uint8_t> thumbnail = FieldThumbnail(core);
    head.Append(thumbnail.data(), int32_t(thumbnail.size()));
    if (recordHeaderPos < 0 || !WriteToRecording(head.GetData(), size_t(head.GetLength()))) {
        fclose(recordStream);
        recordStream = nullptr;
        SendEndRecording();
        return;
    }
    recordStart = core->frameTimeMs;
    core->recording = 1;
    AddInfoLine(core, NoticeColour, "Start recording.");
}

void Protocol::recording_end() {
    for (int i = 0; i < 4; ++i) inBuffer.GetU32();
    if (inBuffer.Failed()) return;
    if (recordStream) {
        recording_stop();
    } else {
        // Nothing runs here to stop; the server has answered an end request, if any.
        endRequested = 0;
    }
}

void Protocol::recording_stop() {
    const int64_t end = _ftelli64(recordStream);
    const int64_t length = end - recordHeaderPos;
    const bool written =
        !recordFailed && end >= 0 && length <= int64_t(UINT32_MAX) &&
        WriteFieldAt(recordStream, recordHeaderPos, uint64_t(length), 4) &&
        WriteFieldAt(recordStream, recordHeaderPos + RecordingStopTimeOffset, core->frameTimeMs, 8);
    // A block whose length stayed 0 is passed over by the listing and cut off by the next start.
    const bool closed = fclose(recordStream) == 0;
    recordStream = nullptr;
    if (written && closed) AddInfoLine(core, NoticeColour, "Stop recording.");
    else AddInfoLine(core, ErrorColour, "Stop recording. Error: corrupted data.");
    core->recording = 0;
    endRequested = 0;
}

void Protocol::SendEndRecording() {
    if (endRequested) return;
    endRequested = 1;
    Send(EndRecordingRequest);
    if (core->world && core->world->notification)
        core->world->notification->Add(WaitNotification, "Please wait while ending recording.");
}

void Protocol::RecordClientMessage(const NetworkMessage& message) {
    if (recordStream)
        AppendRecord(OwnRequestRecord, message.GetData() + message.GetHeaderSize(),
                     size_t(message.GetLength()));
}

// The frame just completed, from its header on, before it is deciphered.
void Protocol::RecordFrame() {
    if (recordStream)
        AppendRecord(ReceivedFrameRecord,
                     inBuffer.GetData() + inBuffer.GetReadPosition() - frameHeaderSize,
                     size_t(frameHeaderSize) + size_t(inBuffer.GetRemaining()));
}

void Protocol::AppendRecord(uint8_t kind, const uint8_t* bytes, size_t size) {
    NetBuffer head(5);
    head.AddU32(uint32_t(core->frameTimeMs - recordStart));
    head.AddU8(kind);
    if (WriteToRecording(head.GetData(), size_t(head.GetLength()))) WriteToRecording(bytes, size);
}

bool Protocol::WriteToRecording(const uint8_t* bytes, size_t size) {
    if (recordFailed || fwrite(bytes, 1, size, recordStream) != size) recordFailed = 1;
    return !recordFailed;
}
