#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/testcore.h"

namespace {

using Names = std::vector<std::string>;

// Each record as name[right entries][left entries].
std::string Describe(const std::vector<PanelRecord>& records) {
    auto join = [](const Names& entries) {
        std::string text;
        for (const std::string& entry : entries) text += (text.empty() ? "" : ",") + entry;
        return "[" + text + "]";
    };
    std::string text;
    for (const PanelRecord& r : records) text += r.name + join(r.right) + join(r.left);
    return text;
}

class PanelDataTest : public ::testing::Test {
protected:
    std::unique_ptr<Core> core = MakeTestCore();
};

TEST_F(PanelDataTest, RecordsAreReadAsTheLayoutSaverWritesThem) {
    const struct {
        std::string value, records;
    } cases[] = {
        {"", ""},
        // The count says how many entries belong to the right panel; they come first.
        {"Ann;1;R;L;", "Ann[R][L]"},
        {"Ann;0;L1;L2;", "Ann[][L1,L2]"},
        {"Ann;2;R1;R2;", "Ann[R1,R2][]"},
        {"Ann;5;R1;R2;", "Ann[R1,R2][]"},
        {"Ann;1;R;L;|Bob;0;", "Ann[R][L]Bob[][]"},
        {"Hero;1;a;b|", "Hero[a][b]"},
        {"Ann;1;R;L", "Ann[R][L]"},  // the last entry without its ";"
        // Empty and blank places count but hold no entry; five blanks are an entry.
        {"Ann;2;;R;L;", "Ann[R][L]"},
        {"Ann;1; ;    ;     ;", "Ann[][     ]"},
        // A record without a readable count is skipped; the others are kept.
        {"Ann;x;R;|Bob;1;R;L;", "Bob[R][L]"},
        {"Ann;-1;R;", ""},
        {"Ann;+1;R;", ""},
        {"Ann; 1;R;", ""},
        {"Ann;1 ;R;", ""},
        {"Ann;;R;", ""},
        {"Ann;99999999999;R;", ""},
        {"Ann", ""},
        {"|||", ""},
    };
    for (const auto& c : cases) {
        core->panelRecords = {{"old", {"o"}, {}}};
        core->panelDataLayout = c.value;
        EXPECT_NO_THROW(core->ParsePanelData()) << c.value;
        EXPECT_EQ(Describe(core->panelRecords), c.records) << c.value;
    }
}

TEST_F(PanelDataTest, WrittenRecordsReadBackUnchanged) {
    const struct {
        std::vector<PanelRecord> records;
        std::string value;
    } cases[] = {
        {{{"Ann", {"R"}, {"L"}}}, "Ann;1;R;L;"},
        {{{"Ann", {"21,41,2,0,200", "20,3,0,0,120,1"}, {"50,2,1,0,157"}},
          {"Bob", {}, {"40,0,2,0,199"}},
          {"Cy", {"52,4,0,1,150"}, {}}},
         "Ann;2;21,41,2,0,200;20,3,0,0,120,1;50,2,1,0,157;|Bob;0;40,0,2,0,199;|"
         "Cy;1;52,4,0,1,150;"},
        {{{"Dee", {}, {}}}, "Dee;0;"},
        {{}, ""},
    };
    for (const auto& c : cases) {
        core->panelRecords = c.records;
        core->BuildPanelData();
        EXPECT_EQ(core->panelDataLayout, c.value);
        core->panelRecords.clear();
        core->ParsePanelData();
        EXPECT_EQ(Describe(core->panelRecords), Describe(c.records)) << c.value;
    }
}

TEST_F(PanelDataTest, TheEnteringAvatarGetsItsOwnSideElseTheLastRecordsElseTheSettings) {
    const std::vector<PanelRecord> records = {
        {"Ann", {"a1", "a2"}, {}},
        {"Bob", {"b1"}, {"b2"}},
    };
    const struct {
        const char* what;
        std::string avatar;
        std::vector<PanelRecord> records;
        bool left;
        std::string text;
        uint8_t fallback;
    } cases[] = {
        {"own right side", "Ann", records, false, "a1;a2;", 0},
        {"own left side", "Bob", records, true, "b2;", 0},
        {"own side empty", "Ann", records, true, "b2;", 1},
        {"no own record", "Cy", records, false, "b1;", 1},
        {"names are exact", "ann", records, false, "b1;", 1},
        {"last record's side empty", "Cy", {{"Bob", {"b1"}, {}}}, true, "LEFT", 1},
        {"no records", "Ann", {}, false, "RIGHT", 1},
        {"no records", "Ann", {}, true, "LEFT", 1},
    };
    core->panelLeftLayout = "LEFT";
    core->panelRightLayout = "RIGHT";
    for (const auto& c : cases) {
        core->avatarName = c.avatar;
        core->panelRecords = c.records;
        core->panelLayoutFallback = 1 - c.fallback;
        EXPECT_EQ(core->GetPanelData(c.left), c.text) << c.what;
        EXPECT_EQ(core->panelLayoutFallback, c.fallback) << c.what;
    }
}

}  // namespace
