#pragma once
// The recordings list: one entry per recording block of data/Veltor.record, each with its
// thumbnail and a name, shown as the lines of a list control. The selected recording can be
// deleted, which rewrites the file without its block. While it exists it is Core's recordings
// list, which the yes/no box's delete answer acts on.
#include <cstdint>
#include <string>
#include <vector>

class Core;
class List;
struct GfxImage;

struct RecordingEntry {
    uint32_t length;  // of the entry's block, which follows the previous entry's
    uint64_t startMs;
    uint64_t stopMs;
    GfxImage* thumbnail;  // null when the block's thumbnail is not a 190 x 150 picture
    std::string name;
};

class Renderer {
public:
    // The entries are shown in the list (the window that places the list owns it).
    Renderer(Core* core, List* list);
    ~Renderer();
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    // Reads the entries from the start of the file: every complete block, as far as the blocks
    // can be followed (see ListRecordingBlocks).
    void Load();
    // Removes the selected entry and its block. The file is rewritten only once it has been read
    // whole and every entry's block is still where the entry says; otherwise, or when the new
    // file cannot be written, the file and the entries stay as they were.
    void DeleteRecording();

    std::vector<RecordingEntry> entries;
    List* list;
    Core* core;

private:
    void ReleaseEntries();
    // Fills the list with the entries' names and selects the line at the index.
    void ShowEntries(int32_t selection);
};

// An entry's name: the start date and time (UTC) and how long the recording ran.
std::string RecordingName(uint64_t startMs, uint64_t stopMs);
