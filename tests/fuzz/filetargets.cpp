// Targets of the data file readers: each input is written as the data file and read the way
// start-up (or the game, for map records, the explored-area save and quest stages) reads it.
#include <algorithm>
#include <cstdio>
#include <memory>

#include "config.h"
#include "core.h"
#include "fuzz/fuzztarget.h"
#include "mapdriver.h"
#include "recordfile.h"
#include "render.h"
#include "renderer.h"
#include "shapes.h"
#include "spell.h"
#include "support/mapdata.h"
#include "support/packbytes.h"
#include "support/spritedata.h"
#include "support/startup.h"
#include "windows/toolkit/list.h"
#include "xtea.h"

namespace {

// Data files are small; none makes the client allocate more than this at once.
const size_t MaxFileInput = 4 << 20;
const size_t FileAllocationLimit = 64 << 20;

// A Core started in its own folder with every data file, kept for all inputs of a target.
class StartedFolder : public StartedCore {
public:
    StartedFolder() { SetUp(); }
    ~StartedFolder() override { TearDown(); }
    void TestBody() override {}
    Core& Get() { return *core; }
};

// Closes the windows an input opened, so that the next input starts with the same ones.
void CloseWindowsAfter(Core& core, size_t count) {
    CheckOpenBoxes(core);
    while (core.windows.size() > count) core.RemoveWindow(core.windows.back());
    core.DeleteClosedWindows();
}

// A file read by a started Core: the input becomes data/<file>, then `read` runs.
class StartedFileTarget : public FuzzTarget {
public:
    StartedFileTarget(const char* file, std::function<void(Core&)> read)
        : file_(file), read_(std::move(read)) {}

    void Run(const Bytes& input) override {
        Core& core = started_.Get();
        const size_t windows = core.windows.size();
        WriteDataFile(file_, input);
        try {
            read_(core);
        } catch (...) {
            CloseWindowsAfter(core, windows);
            throw;
        }
        CloseWindowsAfter(core, windows);
    }

private:
    StartedFolder started_;
    const char* file_;
    std::function<void(Core&)> read_;
};

void ReadSpells(Core& core) {
    for (Spell* spell : core.spells) delete spell;
    core.spells.clear();
    core.LoadSpells();
}

void ReadRecordings(Core& core) {
    List list(&core, nullptr, 0, 0, 200, 200);
    Renderer(&core, &list).Load();
}

// The quests file's index, then every stage the sample data's probes build.
class QuestsTarget : public StartedFileTarget {
public:
    QuestsTarget() : StartedFileTarget("Veltor.quests", [this](Core& core) { Read(core); }) {
        for (const std::string& line : ReadLines(TestDataPath("quests/sample/expected.txt"))) {
            unsigned id, stage, value;
            if (sscanf(line.c_str(), "probe %u %u %u", &id, &stage, &value) == 3)
                probes_.push_back({id | stage << 16, value});
        }
    }

private:
    void Read(Core& core) {
        core.quests.clear();
        core.questProgress.clear();
        core.LoadQuests();
        for (const auto& [key, value] : probes_) core.LoadQuest(key, value);
    }

    std::vector<std::pair<uint32_t, uint32_t>> probes_;
};

// The map driver of a started Core with a player in a world, for the atlas and the save.
class MapContext : public MapDriverTest {
public:
    MapContext() { SetUp(); }
    ~MapContext() override { TearDown(); }
    void TestBody() override {}

    // Runs the driver over the atlas and save in data/: every map of the sample atlas selected
    // with its key, then the world map's reveal. The driver writes the save as it goes.
    void Exercise(const std::map<uint16_t, MapKey>& keys) {
        const size_t windows = core->windows.size();
        try {
            Start();
            for (const auto& [id, key] : keys) driver->SetMap(Selection(id, key, 0, 0, 1100, 1100));
            if (SelectWorld(1100, 1100)) Move(1150, 1150);
            driver.reset();
        } catch (...) {
            driver.reset();
            CloseWindowsAfter(*core, windows);
            throw;
        }
        CloseWindowsAfter(*core, windows);
    }
};

// The input is the world-map atlas.
class AtlasTarget : public FuzzTarget {
public:
    void Run(const Bytes& input) override {
        WriteDataFile("Veltor.maps", input);
        std::remove("data/Veltor.game");
        context_.Exercise(keys_);
    }

private:
    MapContext context_;
    std::map<uint16_t, MapKey> keys_ = SampleMapKeys();
};

// The input is the explored-area save, read with the sample atlas.
class SaveTarget : public FuzzTarget {
public:
    void Run(const Bytes& input) override {
        CopyDataFile(MAP_TESTDATA "/Veltor.maps", "Veltor.maps");
        WriteDataFile("Veltor.game", input);
        context_.Exercise(keys_);
    }

private:
    MapContext context_;
    std::map<uint16_t, MapKey> keys_ = SampleMapKeys();
};

// The input is one map record as it reads once deciphered, after its check block: it is
// enciphered with a key into an atlas of its own, once as the world map and once as another map.
class MapRecordTarget : public FuzzTarget {
public:
    void Run(const Bytes& input) override {
        const MapKey key = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
        Bytes record(key.size() + input.size());
        std::copy(key.begin(), key.end(), record.begin());
        std::copy(input.begin(), input.end(), record.begin() + std::ptrdiff_t(key.size()));
        Xtea cipher;
        cipher.SetKey(key.data());
        cipher.Encrypt(record.data(), record.size() / 8);
        for (uint16_t id : {1, 2}) {
            PackBytes atlas;
            atlas.U32(0).U32(1).U16(id).U32(14).Raw(record);
            WriteDataFile("Veltor.maps", atlas.bytes);
            std::remove("data/Veltor.game");
            context_.Exercise({{id, key}});
        }
    }

private:
    MapContext context_;
};

// The books index is read only by start-up: a second Core starts over the same folder.
class BooksTarget : public FuzzTarget {
public:
    void Run(const Bytes& input) override {
        WriteDataFile("Veltor.books", input);
        Core* core = nullptr;
        try {
            core = new Core(GetModuleHandleA(nullptr), SW_HIDE, 0);
        } catch (const ProgramExit&) {
            DiscardFailedStart();
            throw;
        }
        CheckOpenBoxes(*core);
        delete core;
        DrainMessages();
    }

private:
    StartedFolder started_;
};

template <typename Target>
std::function<std::unique_ptr<FuzzTarget>()> Make() {
    return [] { return std::make_unique<Target>(); };
}

std::function<std::unique_ptr<FuzzTarget>()> MakeStarted(const char* file,
                                                         void (*read)(Core& core)) {
    return [file, read] { return std::make_unique<StartedFileTarget>(file, read); };
}

}  // namespace

void AddFileTargets(std::vector<TargetInfo>& targets) {
    const auto add = [&](const char* name, std::function<std::unique_ptr<FuzzTarget>()> make) {
        targets.push_back({name, MaxFileInput, FileAllocationLimit, std::move(make)});
    };
    add("settings", MakeStarted("Veltor.config",
                                [](Core& core) { Config config(&core, "data/Veltor.config"); }));
    add("skin", MakeStarted("Veltor.skin", [](Core& core) { Render(&core).LoadSkin(); }));
    add("fonts", MakeStarted("Veltor.font", [](Core& core) { core.render->LoadFonts(); }));
    add("sprites", MakeStarted("Veltor.data", [](Core& core) { Shapes shapes(&core); }));
    add("spells", MakeStarted("Veltor.spells", ReadSpells));
    add("quests", Make<QuestsTarget>());
    add("books", Make<BooksTarget>());
    add("recordings", MakeStarted("Veltor.record", ReadRecordings));
    add("atlas", Make<AtlasTarget>());
    add("maprecords", Make<MapRecordTarget>());
    add("save", Make<SaveTarget>());
}
