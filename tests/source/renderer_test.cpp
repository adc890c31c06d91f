// The recordings list: the entries it reads from data/Veltor.record, how far it follows the
// blocks, and deleting a recording, directly and as the yes/no box's answer.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "core.h"
#include "driver/gfxcore.h"
#include "recordingblocks.h"
#include "renderer.h"
#include "support/fakeplatform.h"
#include "support/startup.h"
#include "support/testcore.h"
#include "windows/toolkit/list.h"
#include "windows/toolkit/sure.h"

namespace {

using Bytes = std::vector<uint8_t>;

// 2024-01-02 03:04:05 UTC.
const uint64_t Start = 1704164645000;

void Put(Bytes& bytes, size_t at, uint64_t value, size_t size) {
    for (size_t i = 0; i < size; ++i) bytes[at + i] = uint8_t(value >> (8 * i));
}

// A stopped block of the given length (at least a header and thumbnail), its records filled
// with the tag byte, its thumbnail's first pixel the tag too.
Bytes Block(uint32_t length, uint8_t tag, uint64_t start = Start, uint64_t stop = Start + 83000) {
    Bytes block(length, tag);
    Put(block, 0, length, 4);
    Put(block, 4, 0, 4);
    Put(block, 8, 14, 4);
    Put(block, 12, 99, 4);
    Put(block, 16, start, 8);
    Put(block, 24, stop, 8);
    Put(block, 32, ThumbnailBytes, 4);
    std::fill(block.begin() + 36, block.begin() + RecordingRecordsOffset, 0);
    block[36] = tag;
    return block;
}

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

void WriteRecordings(const Bytes& bytes) {
    FILE* file = fopen(RecordingsPath, "wb");
    ASSERT_NE(file, nullptr);
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
}

Bytes ReadRecordings() {
    Bytes bytes;
    FILE* file = fopen(RecordingsPath, "rb");
    if (!file) return {Bytes{0xEE}};  // missing: never what a test expects
    uint8_t chunk[65536];
    while (size_t count = fread(chunk, 1, sizeof chunk, file))
        bytes.insert(bytes.end(), chunk, chunk + count);
    fclose(file);
    return bytes;
}

const uint32_t Short = RecordingRecordsOffset + 12, Long = RecordingRecordsOffset + 3000;

class RendererTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CreateDirectoryA("data", nullptr));
        core = MakeTestCore();
        list = new List(core.get(), nullptr, 0, 0, 200, 100);
        core->AddWindow(list);
    }

    std::unique_ptr<Renderer> Loaded() {
        auto renderer = std::make_unique<Renderer>(core.get(), list);
        renderer->Load();
        return renderer;
    }

    std::vector<uint32_t> Lengths(const Renderer& renderer) {
        std::vector<uint32_t> lengths;
        for (const RecordingEntry& entry : renderer.entries) lengths.push_back(entry.length);
        return lengths;
    }

    FakePlatform fake;
    TemporaryFolder folder;
    std::unique_ptr<Core> core;
    List* list = nullptr;
};

TEST_F(RendererTest, ListsEveryCompleteBlockWithItsThumbnailAndName) {
    WriteRecordings(Join({Block(Short, 1), Block(Long, 2, Start + 3600000, Start + 3601000)}));
    auto renderer = Loaded();
    ASSERT_EQ(Lengths(*renderer), (std::vector<uint32_t>{Short, Long}));
    EXPECT_EQ(list->items, (std::vector<std::string>{"2024-01-02 03:04:05 (1:23)",
                                                     "2024-01-02 04:04:05 (0:01)"}));
    ASSERT_NE(renderer->entries[1].thumbnail, nullptr);
    EXPECT_EQ(GFX_ImagePixels(renderer->entries[1].thumbnail)[0], 2u);
    EXPECT_EQ(core->recordingList, renderer.get());
    renderer.reset();
    EXPECT_EQ(core->recordingList, nullptr);
}

TEST_F(RendererTest, ListingStopsWhereTheBlocksCannotBeFollowed) {
    Bytes unfinished = Block(Long, 3);
    Put(unfinished, 0, 0, 4);
    Bytes pastTheEnd = Block(Long, 4);
    Put(pastTheEnd, 0, Long + 1, 4);
    Bytes tooShort = Block(Long, 5);
    Put(tooShort, 0, 8, 4);
    const struct {
        const char* name;
        Bytes file;
        size_t listed;
    } cases[] = {
        {"no file", {}, 0},
        {"length 0", Join({Block(Short, 1), unfinished, Block(Short, 2)}), 1},
        {"past the end", Join({Block(Short, 1), pastTheEnd}), 1},
        {"shorter than a header", Join({tooShort, Block(Short, 2)}), 0},
        {"a few bytes", {1, 2}, 0},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        DeleteFileA(RecordingsPath);
        if (!test.file.empty()) WriteRecordings(test.file);
        auto renderer = Loaded();
        EXPECT_EQ(renderer->entries.size(), test.listed);
        EXPECT_EQ(list->items.size(), test.listed);
    }
}

TEST_F(RendererTest, DeletingTheOnlyEntryEmptiesTheFile) {
    WriteRecordings(Block(Short, 1));
    auto renderer = Loaded();
    list->Select(0);
    renderer->DeleteRecording();
    EXPECT_EQ(ReadRecordings(), Bytes{});
    EXPECT_TRUE(renderer->entries.empty());
    EXPECT_TRUE(list->items.empty());
    renderer->DeleteRecording();  // nothing selected any more
    EXPECT_EQ(ReadRecordings(), Bytes{});
}

TEST_F(RendererTest, DeletingKeepsTheOtherBlocksInOrderAndWhatFollowsThem) {
    const Bytes tail = {0, 0, 0, 0, 9, 9, 9};  // an unfinished recording
    WriteRecordings(Join({Block(Short, 1), Block(Long, 2), Block(Short, 3), tail}));
    auto renderer = Loaded();
    list->Select(1);
    renderer->DeleteRecording();
    EXPECT_EQ(ReadRecordings(), Join({Block(Short, 1), Block(Short, 3), tail}));
    EXPECT_EQ(Lengths(*renderer), (std::vector<uint32_t>{Short, Short}));
    EXPECT_EQ(list->items.size(), 2u);
    EXPECT_EQ(list->selected, 1);
    EXPECT_EQ(GFX_ImagePixels(renderer->entries[1].thumbnail)[0], 3u);
}

TEST_F(RendererTest, FileChangedSinceTheListingIsLeftAlone) {
    WriteRecordings(Join({Block(Short, 1), Block(Long, 2)}));
    auto renderer = Loaded();
    const Bytes cases[] = {
        Block(Short, 1),                          // cut short: the second block is not all there
        Join({Block(Long, 1), Block(Short, 2)}),  // other blocks
    };
    for (const Bytes& changed : cases) {
        WriteRecordings(changed);
        list->Select(0);
        renderer->DeleteRecording();
        EXPECT_EQ(ReadRecordings(), changed);
        EXPECT_EQ(renderer->entries.size(), 2u);
    }
}

TEST_F(RendererTest, YesOfTheDeleteQuestionDeletesTheSelectedRecording) {
    core->RegisterBoxAnswers();
    WriteRecordings(Join({Block(Short, 1), Block(Long, 2)}));
    auto renderer = Loaded();
    list->Select(0);
    auto* box = new Sure(core.get(), "Delete", "Delete the recording?", Sure::DeleteRecording);
    core->AddWindow(box);
    box->OnSubmit();
    EXPECT_EQ(ReadRecordings(), Block(Long, 2));
    // Without a recordings list the answer only closes the box.
    renderer.reset();
    list->Select(0);
    auto* second = new Sure(core.get(), "Delete", "Delete the recording?", Sure::DeleteRecording);
    core->AddWindow(second);
    second->OnSubmit();
    EXPECT_EQ(ReadRecordings(), Block(Long, 2));
}

}  // namespace
