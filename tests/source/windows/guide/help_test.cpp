// The guide window: its languages and pages, the language menu, the help channel and web
// buttons, moving, and the layout of every page of both languages within the window.
#include "windows/guide/help.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "config.h"
#include "font.h"
#include "keynames.h"
#include "protocolstate.h"
#include "render.h"
#include "support/chatconsole.h"
#include "support/packbytes.h"
#include "support/recordingconnection.h"
#include "support/recordingdriver.h"
#include "support/startup.h"
#include "windows/game/action.h"
#include "windows/game/channel.h"
#include "windows/game/chatbox.h"
#include "windows/game/console.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/list.h"
#include "windows/toolkit/weblink.h"
#include "windows/toolkit/windowtypes.h"

namespace {

using Bytes = std::vector<uint8_t>;

constexpr size_t MaxLines = 41;

std::vector<std::string> openedPages;
void RecordPage(const std::string& address) { openedPages.push_back(address); }

// The text of a line without its colour escapes.
std::string Plain(const std::string& line) {
    std::string plain;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == 0) {
            i += 4;
            continue;
        }
        plain += line[i];
    }
    return plain;
}

bool IsBlank(const std::string& line) {
    const std::string plain = Plain(line);
    return std::all_of(plain.begin(), plain.end(), [](char c) { return c == ' ' || c == '\n'; });
}

class Guide : public StartedCore {
protected:
    void SetUp() override {
        StartedCore::SetUp();
        RecordingDriver::Install();
        // The sample font: the pages are laid out with its glyph widths.
        CopyDataFile(VELTOR_SAMPLE_DATA "/Veltor.font", "Veltor.font");
        core->render->LoadFonts();
        openedPages.clear();
        savedOpener = webPageOpener;
        webPageOpener = RecordPage;
    }

    void TearDown() override {
        webPageOpener = savedOpener;
        StartedCore::TearDown();
        connection.reset();
    }

    Help* Open() {
        auto* guide = new Help(core);
        core->AddWindow(guide)->OnOpen();
        return guide;
    }

    // The lines of a page of the language.
    std::vector<std::string> PageLines(Help& guide, uint8_t language, size_t page) {
        guide.lines.clear();
        guide.LayoutPage(guide.pageBodies[language][page]);
        return guide.lines;
    }

    void Press(Help& guide, uint32_t id) { guide.OnCommand(guide.FindButton(id)); }

    bool LinksShown(Help& guide) {
        for (uint32_t id : {Help::HelpChannelButton, Help::WikiButton, Help::DiscordButton})
            if (!guide.FindButton(id)->visible) return false;
        return true;
    }
    bool LinksHidden(Help& guide) {
        for (uint32_t id : {Help::HelpChannelButton, Help::WikiButton, Help::DiscordButton})
            if (guide.FindButton(id)->visible) return false;
        return true;
    }

    WebPageOpener savedOpener = nullptr;
    std::unique_ptr<RecordingConnection> connection;
};

TEST_F(Guide, OpensInTheLanguageOfTheSettingExactly) {
    core->language = "Portuguese";
    Help* guide = Open();
    EXPECT_EQ(guide->languageIndex, 1);
    EXPECT_EQ(guide->pageList, guide->pageLists[1]);
    EXPECT_EQ(guide->pageList->items[0], "1. Bem-vindo");
    core->RemoveWindow(guide);

    core->language = "portuguese";
    guide = Open();
    EXPECT_EQ(guide->languageIndex, 0);
    EXPECT_EQ(guide->pageList->items[0], "1. Welcome");
    EXPECT_EQ(core->language, "portuguese");
    EXPECT_EQ(guide->x, int32_t(core->clientWidth) / 2 - 300);
    EXPECT_EQ(guide->y, int32_t(core->clientHeight) / 2 - 297);
}

TEST_F(Guide, SwitchingLanguageKeepsThePage) {
    Help* guide = Open();
    EXPECT_TRUE(LinksShown(*guide));
    guide->pageList->Select(12);
    guide->OnListSelect(12);
    EXPECT_TRUE(LinksHidden(*guide));
    guide->SetLanguage(1);
    EXPECT_EQ(guide->pageList->selected, 12);
    EXPECT_EQ(guide->pageList->items[12], "13. Atributos");
    EXPECT_EQ(core->language, "Portuguese");
    EXPECT_TRUE(LinksHidden(*guide));
    guide->pageList->Select(0);
    guide->OnListSelect(0);
    EXPECT_TRUE(LinksShown(*guide));
}

TEST_F(Guide, TheLanguageBoxLeavesItsLastTenPixelsOut) {
    Help* guide = Open();
    for (const int32_t dx : {103, 212, 213, 222}) {
        SCOPED_TRACE(dx);
        guide->OnMouseUp(guide->x + dx, guide->y + 60);
        Window* menu = core->FindWindow(WindowType::Action);
        EXPECT_EQ(menu != nullptr, dx <= 212);
        if (!menu) continue;
        const auto& entries = static_cast<Action*>(menu)->entries;
        ASSERT_EQ(entries.size(), 2u);
        EXPECT_EQ(entries[0].code, 40u);
        EXPECT_EQ(entries[1].label, "Portuguese");
        core->RemoveWindow(menu);
    }
}

TEST_F(Guide, TheHelpButtonJoinsTheChannelOnce) {
    connection = std::make_unique<RecordingConnection>(core, StateGame);
    core->channelsPreset = "";
    Chatbox* chat = OpenConsole(core)->mainChatbox;
    connection->SentSinceLastCall();
    Help* guide = Open();
    Press(*guide, Help::HelpChannelButton);
    Channel* help = chat->FindChannelByName("Help");
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->id, 2u);
    EXPECT_EQ(help->rawLines.size(), 2u);
    EXPECT_EQ(chat->current, help);
    EXPECT_EQ(connection->SentSinceLastCall(), std::vector<Bytes>{(Bytes{202, 2})});

    chat->SelectChannelByName("Main");
    Press(*guide, Help::HelpChannelButton);
    EXPECT_EQ(chat->current, help);
    EXPECT_EQ(help->rawLines.size(), 2u);
    EXPECT_TRUE(connection->SentSinceLastCall().empty());
}

TEST_F(Guide, TheWebButtonsOpenTheConfiguredPages) {
    Help* guide = Open();
    Press(*guide, Help::WikiButton);
    Press(*guide, Help::DiscordButton);
    EXPECT_EQ(openedPages, (std::vector<std::string>{WikiMainPage, DiscordInvite}));
}

TEST_F(Guide, DraggingStopsFivePixelsFromEveryEdge) {
    Help* guide = Open();
    guide->OnMouseDown(guide->x + 50, guide->y + 5);
    ASSERT_EQ(guide->dragging, 1);
    const int32_t listDx = guide->pageList->x - guide->x, listDy = guide->pageList->y - guide->y;
    const int32_t farX = int32_t(core->clientWidth) - guide->width - 5;
    const int32_t farY = int32_t(core->clientHeight) - guide->height - 5;
    for (const int32_t to : {-500, 5000}) {
        SCOPED_TRACE(to);
        guide->OnDrag(to, to);
        // The near edge, unless the far one is nearer still.
        EXPECT_EQ(guide->x, to < 0 ? std::min(5, farX) : farX);
        EXPECT_EQ(guide->y, to < 0 ? std::min(5, farY) : farY);
        EXPECT_EQ(guide->pageList->x - guide->x, listDx);
        EXPECT_EQ(guide->pageList->y - guide->y, listDy);
    }
}

TEST_F(Guide, TwentyEightTitlesPerLanguage) {
    Help* guide = Open();
    const std::vector<std::string> portuguese = {"1. Bem-vindo",
                                                 "2. Movimento B\xE1sico",
                                                 "3. A\xE7\xF5"
                                                 "es",
                                                 "4. Looting e Movendo Itens",
                                                 "5. Chat",
                                                 "6. Canais de Chat e PM",
                                                 "7. Teclas de Atalho",
                                                 "8. Personalizar controles",
                                                 "9. Personagem e Equipamento",
                                                 "10. NPCs",
                                                 "11. Negocia\xE7\xE3o",
                                                 "12. Banco e Armazenamento",
                                                 "13. Atributos",
                                                 "14. Habilidades",
                                                 "15. Classes",
                                                 "16. Classes: Tier 2",
                                                 "17. Classes: Tier 3 (F\xEDsica)",
                                                 "18. Classes: Tier 3 (Hybrid)",
                                                 "19. Classes: Tier 3 (M\xE1gico)",
                                                 "20. Party",
                                                 "21. Morte",
                                                 "22. Arena PVP",
                                                 "23. Casa",
                                                 "24. Regras",
                                                 "25. Regras: Nomes",
                                                 "26. Regras: Trapa\xE7"
                                                 "a",
                                                 "27. Regras: Comportamento",
                                                 "28. Noble Account"};
    const std::vector<std::string> english = {"1. Welcome",
                                              "2. Basic Movement",
                                              "3. Actions",
                                              "4. Looting and Moving Items",
                                              "5. Chat",
                                              "6. Chat Channels and PM",
                                              "7. Hotkeys",
                                              "8. Customise Controls",
                                              "9. Character and Equipment",
                                              "10. NPCs",
                                              "11. Trading",
                                              "12. Bank and Storage",
                                              "13. Attributes",
                                              "14. Skills",
                                              "15. Classes",
                                              "16. Classes: Tier 2",
                                              "17. Classes: Tier 3 (Physical)",
                                              "18. Classes: Tier 3 (Hybrid)",
                                              "19. Classes: Tier 3 (Magical)",
                                              "20. Party",
                                              "21. Death",
                                              "22. PVP Arena",
                                              "23. Housing",
                                              "24. Rules",
                                              "25. Rules: Names",
                                              "26. Rules: Cheating",
                                              "27. Rules: Behaviour",
                                              "28. Noble Account"};
    EXPECT_EQ(guide->languageNames, (std::vector<std::string>{"English", "Portuguese"}));
    EXPECT_EQ(guide->pageLists[0]->items, english);
    EXPECT_EQ(guide->pageLists[1]->items, portuguese);
    EXPECT_EQ(guide->pageBodies[0].size(), 28u);
    EXPECT_EQ(guide->pageBodies[1].size(), 28u);
    EXPECT_EQ(guide->pageBodies[0][0].rfind("Welcome, newcomer", 0), 0u);
    EXPECT_EQ(guide->pageBodies[1][0].rfind("Bem-vindo, newcomer", 0), 0u);
}

TEST_F(Guide, KeyRunsNameTheBoundKeys) {
    const std::string green = MakeColorCode(128, 245, 128, 192);
    const auto run = [&](uint32_t slot) { return green + KeyNameText(core->keys[slot]); };
    Help* guide = Open();
    const std::vector<std::string>& english = guide->pageBodies[0];
    EXPECT_NE(english[0].find(green + "Ctrl+" + KeyNameText(core->keys[KeyHelp]) + "\n\n"),
              std::string::npos);
    EXPECT_NE(guide->pageBodies[1][0].find(green + " Ctrl + " + KeyNameText(core->keys[KeyHelp])),
              std::string::npos);
    // North, west, south, east, then the diagonals, in that order.
    size_t at = 0;
    for (uint32_t slot : {KeyNorth, KeyWest, KeySouth, KeyEast, KeyNorthWest, KeyNorthEast,
                          KeySouthWest, KeySouthEast}) {
        at = english[1].find(run(slot), at);
        ASSERT_NE(at, std::string::npos) << slot;
        ++at;
    }
    EXPECT_NE(english[4].find(green + "Ctrl+" + KeyNameText(core->keys[KeyMode])),
              std::string::npos);
    EXPECT_NE(english[10].find(green + "Ctrl+" + KeyNameText(core->keys[KeyTrade])),
              std::string::npos);
    EXPECT_NE(english[19].find(green + "Ctrl+" + KeyNameText(core->keys[KeyInvite])),
              std::string::npos);
    core->RemoveWindow(guide);

    // A help key bound anew shows the next time the guide opens.
    core->keys[KeyHelp] = 0x3B;  // F1
    ASSERT_FALSE(KeyNameText(0x3B).empty());
    guide = Open();
    EXPECT_NE(guide->pageBodies[0][0].find(green + "Ctrl+" + KeyNameText(0x3B) + "\n"),
              std::string::npos);
}

// --- Layout -------------------------------------------------------------------------------------

TEST_F(Guide, LayoutCutsLinesAsThePageNeeds) {
    Help* guide = Open();
    const std::string white = MakeColorCode(255, 255, 255, 255);
    const auto layout = [&](const std::string& body) {
        guide->lines.clear();
        guide->LayoutPage(body);
        return guide->lines;
    };
    EXPECT_TRUE(layout("").empty());
    EXPECT_EQ(layout("A short line."), std::vector<std::string>{"A short line."});
    EXPECT_EQ(layout("\n\n"), (std::vector<std::string>{"\n", "\n"}));

    const std::string word(200, 'm');
    const std::vector<std::string> cut = layout(word);
    ASSERT_GE(cut.size(), 2u);
    EXPECT_EQ(cut[0].back(), '-');
    EXPECT_EQ(cut[0].substr(0, cut[0].size() - 1) + cut[1].substr(0, 1),
              word.substr(0, cut[0].size()));

    // The first letter that does not fit is accented: the line ends at the space before its word.
    std::string filler = "a";
    while (guide->font->MeasureText(filler + " \xE1\xE1\xE1") <= Help::LineWidth) filler += "a";
    const std::vector<std::string> accented = layout(filler + " \xE1\xE1\xE1 end");
    EXPECT_EQ(accented[0], filler + " ");

    // A heading cut in the middle goes on in white.
    const std::string heading = white + std::string(40, 'W') + " " + std::string(40, 'W');
    const std::vector<std::string> coloured = layout(heading);
    ASSERT_GE(coloured.size(), 2u);
    EXPECT_EQ(coloured[1].substr(0, 5), white);
}

TEST_F(Guide, AColourByteOfThirtyTwoIsNoBreak) {
    Help* guide = Open();
    const std::string spaced = MakeColorCode(32, 32, 32, 255);
    std::string body;
    for (int i = 0; i < 40; ++i) body += spaced + "word";
    guide->LayoutPage(body);
    for (const std::string& line : guide->lines) {
        // Every line holds whole escapes only.
        size_t i = 0;
        while (i < line.size()) i += line[i] == 0 ? 5 : 1;
        EXPECT_EQ(i, line.size());
    }
}

TEST_F(Guide, EveryPageFitsAndLeavesRoomForButtonsAndPictures) {
    struct Setting {
        const char* name;
        std::string playerName;
        uint32_t longKey;
    } settings[] = {{"default keys", "", 0}, {"long names", "Abcdefghijklmnopqrst", 285}};
    for (const Setting& setting : settings) {
        SCOPED_TRACE(setting.name);
        if (setting.longKey) {
            for (uint32_t slot : {KeyNorth, KeyWest, KeySouth, KeyEast, KeyHelp, KeyTrade})
                core->keys[slot] = setting.longKey;
            for (uint32_t slot :
                 {KeyNorthWest, KeyNorthEast, KeySouthWest, KeySouthEast, KeyMode, KeyInvite})
                core->keys[slot] = 69;
        }
        Help* guide = Open();
        for (uint8_t language : {0, 1}) {
            for (size_t page = 0; page < 28; ++page) {
                SCOPED_TRACE(testing::Message()
                             << "language " << int(language) << " page " << page + 1);
                EXPECT_LE(PageLines(*guide, language, page).size(), MaxLines);
            }
            const struct {
                size_t page;
                std::vector<size_t> blank;
            } reserved[] = {
                {0, {13, 14, 20, 21, 25, 26}},
                {1, language == 0 ? std::vector<size_t>{8, 9, 10, 11, 12}
                                  : std::vector<size_t>{10, 11, 12, 13, 14}},
                {5, {5, 6}},
            };
            for (const auto& r : reserved) {
                const std::vector<std::string> lines = PageLines(*guide, language, r.page);
                for (size_t line : r.blank) {
                    SCOPED_TRACE(testing::Message() << "language " << int(language) << " page "
                                                    << r.page + 1 << " line " << line);
                    const std::string text = line < lines.size() ? lines[line] : "";
                    EXPECT_TRUE(IsBlank(text)) << Plain(text);
                }
                // The text goes on right above the reserved lines.
                EXPECT_FALSE(IsBlank(lines[r.blank.front() - 1]));
            }
        }
        core->RemoveWindow(guide);
    }
}

}  // namespace
