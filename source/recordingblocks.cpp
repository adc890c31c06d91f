#include "recordingblocks.h"

#include "recordfile.h"
#include "spanreader.h"

std::vector<RecordingBlock> ListRecordingBlocks(FILE* file) {
    std::vector<RecordingBlock> blocks;
    if (_fseeki64(file, 0, SEEK_END) != 0) return blocks;
    const int64_t fileLength = _ftelli64(file);
    uint64_t offset = 0;
    std::vector<uint8_t> head;
    while (fileLength >= 0 && offset + 4 <= uint64_t(fileLength) &&
           ReadFileRange(file, offset, offset + 4, head)) {
        const uint32_t length = SpanReader(head).U32();
        if (length < RecordingRecordsOffset || offset + length > uint64_t(fileLength)) break;
        blocks.push_back({offset, length});
        offset += length;
    }
    return blocks;
}

uint64_t RecordingBlocksEnd(const std::vector<RecordingBlock>& blocks) {
    return blocks.empty() ? 0 : blocks.back().offset + blocks.back().length;
}
