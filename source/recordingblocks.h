#pragma once
// The recordings file: the recordings the game server asked for, kept as blocks one after another
// in data/Veltor.record. A block starts with a 32-byte header (all little-endian):
//
//   u32 length of the whole block (0 until the recording stops), u32 0, u32 client version,
//   u32 data version, u64 frame time at the start, u64 frame time at the stop (0 until then)
//
// then the u32 size of the thumbnail and the thumbnail, then the records until the stop. A record
// is the u32 milliseconds since the start, a kind byte and the bytes: a received frame exactly as
// it arrived, or the payload of one of the player's own requests.
#include <cstdint>
#include <cstdio>
#include <vector>

constexpr const char* RecordingsPath = "data/Veltor.record";
constexpr uint32_t RecordingHeaderSize = 32;
constexpr uint32_t RecordingStopTimeOffset = 24;
// The thumbnail: the game field scaled to 190 x 150, 4 bytes a pixel as read back from a render
// target.
constexpr int32_t ThumbnailWidth = 190;
constexpr int32_t ThumbnailHeight = 150;
constexpr uint32_t ThumbnailBytes = ThumbnailWidth * ThumbnailHeight * 4;
// Where the records of a block begin.
constexpr uint32_t RecordingRecordsOffset = RecordingHeaderSize + 4 + ThumbnailBytes;
constexpr uint8_t ReceivedFrameRecord = 0;
constexpr uint8_t OwnRequestRecord = 1;

struct RecordingBlock {
    uint64_t offset;
    uint32_t length;
};

// The complete blocks from the start of an open file, in file order. The walk stops at a length
// of 0 (a recording that never stopped), at one too short for a block's header and thumbnail,
// and at one that runs past the end of the file.
std::vector<RecordingBlock> ListRecordingBlocks(FILE* file);
// Where the complete blocks end: the first byte after the last of them.
uint64_t RecordingBlocksEnd(const std::vector<RecordingBlock>& blocks);
