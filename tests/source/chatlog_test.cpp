// Chat logs in a scratch folder with the local clock set by the test: the record, the file of
// the day, the folders, and the names that can be no folder.
#include "chatlog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core.h"
#include "font.h"
#include "support/fakeplatform.h"
#include "support/startup.h"
#include "support/testcore.h"
#include "windows/game/channel.h"

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// Every file and folder under the working folder.
std::vector<std::string> Entries() {
    std::vector<std::string> entries;
    for (const auto& entry : std::filesystem::recursive_directory_iterator("."))
        entries.push_back(entry.path().generic_string());
    return entries;
}

class ChatLog : public ::testing::Test {
protected:
    void SetUp() override {
        core = MakeTestCore();
        FakePlatform::localTime = {2026, 3, 4, 5, 14, 3, 7, 400};
    }

    // A page that logs: its name is in the logged list, as the settings file leaves it.
    Channel* LoggedPage(const std::string& name, uint32_t id = ChannelId::World) {
        core->loggedChannels.push_back(name);
        pages.push_back(std::make_unique<Channel>(core.get(), nullptr, id, name, 1));
        return pages.back().get();
    }

    FakePlatform fake;
    TemporaryFolder folder;
    std::unique_ptr<Core> core;
    std::vector<std::unique_ptr<Channel>> pages;
};

TEST_F(ChatLog, ALineIsOneRecordInTheFileOfTheDay) {
    Channel* world = LoggedPage("World");
    world->AppendLine("Hello");
    EXPECT_EQ(ReadFile("logs/World/2026-03-05.txt"), "[14:03:07.4] Hello\n");
}

TEST_F(ChatLog, ARecordIsThePlainTextOfTheLineAsAdded) {
    const struct {
        std::string line, record;
    } cases[] = {
        {MakeColorCode(255, 255, 255, 255) + "Bob" + MakeColorCode(224, 224, 224, 224) + ": hi",
         "[14:03:07.4] Bob: hi\n"},
        {"smile " + MakeSmileyMark(1), "[14:03:07.4] smile :)\n"},
        {"{r:red} :)", "[14:03:07.4] {r:red} :)\n"},
        {"two\nlines", "[14:03:07.4] two\nlines\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.record);
        EXPECT_EQ(ChatLogRecord(FakePlatform::localTime, c.line), c.record);
    }
    // Wrapping makes no second record.
    Channel* world = LoggedPage("World");
    world->AppendLine(std::string(300, 'w'));
    EXPECT_GT(world->displayLines.size(), 1u);
    EXPECT_EQ(ReadFile("logs/World/2026-03-05.txt"),
              "[14:03:07.4] " + std::string(300, 'w') + "\n");
}

TEST_F(ChatLog, MidnightStartsTheNextDaysFile) {
    Channel* world = LoggedPage("World");
    FakePlatform::localTime = {2026, 3, 4, 5, 23, 59, 59, 900};
    world->AppendLine("late");
    FakePlatform::localTime = {2026, 3, 5, 6, 0, 0, 0, 0};
    world->AppendLine("early");
    EXPECT_EQ(ReadFile("logs/World/2026-03-05.txt"), "[23:59:59.9] late\n");
    EXPECT_EQ(ReadFile("logs/World/2026-03-06.txt"), "[00:00:00.0] early\n");
}

TEST_F(ChatLog, EnablingTwiceAndDisablingOnceKeepsOneEntry) {
    Channel page(core.get(), nullptr, ChannelId::Trade, "Trade", 1);
    page.EnableLogging();
    page.EnableLogging();
    page.DisableLogging();
    EXPECT_EQ(core->loggedChannels, std::vector<std::string>{"Trade"});
    EXPECT_EQ(page.logging, 0);
    page.AppendLine("not logged");
    EXPECT_FALSE(std::filesystem::exists("logs/Trade/2026-03-05.txt"));
    // The next page of the name logs again.
    Channel again(core.get(), nullptr, ChannelId::Trade, "Trade", 1);
    EXPECT_EQ(again.logging, 1);
}

TEST_F(ChatLog, EnablingMakesTheFoldersEvenWithNamesInTheList) {
    core->loggedChannels = {"World"};  // restored from the settings; the folders are gone
    Channel help(core.get(), nullptr, ChannelId::Help, "Help", 1);
    help.EnableLogging();
    help.AppendLine("kept");
    EXPECT_EQ(ReadFile("logs/Help/2026-03-05.txt"), "[14:03:07.4] kept\n");
    // A folder removed while logging is made again for the next line.
    std::filesystem::remove_all("logs");
    help.AppendLine("again");
    EXPECT_EQ(ReadFile("logs/Help/2026-03-05.txt"), "[14:03:07.4] again\n");
}

TEST_F(ChatLog, InfoLogsWithTheOptionWithoutJoiningTheList) {
    core->options.loginfo = 1;
    Channel info(core.get(), nullptr, ChannelId::Info, "Info", 0);
    Channel main(core.get(), nullptr, ChannelId::Main, "Main", 0);
    EXPECT_EQ(info.logging, 1);
    EXPECT_EQ(main.logging, 0);
    EXPECT_TRUE(core->loggedChannels.empty());
}

TEST_F(ChatLog, NamesThatAreNoFolderWriteNothingAnywhere) {
    for (const std::string name : {"../x", "CON", "con.txt", "a:b", "a/b", "a\\b", "..", ".",
                                   "end.", "end ", "", "tab\there", "NUL", "COM1", "q?", "\"q\""}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(IsLogFolderName(name));
        Channel page(core.get(), nullptr, ChannelId::Private, name, 1);
        page.EnableLogging();
        page.AppendLine("secret");
        EXPECT_EQ(page.logging, 1);  // the name stays in the list
    }
    EXPECT_TRUE(Entries().empty() || Entries() == std::vector<std::string>{"./logs"});
    for (const std::string name : {"World", "Bob Smith", "x.y", "Console"})
        EXPECT_TRUE(IsLogFolderName(name)) << name;
}

}  // namespace
