#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "frontscreen.h"
#include "support/drawntext.h"
#include "windows/front/account.h"
#include "windows/front/link.h"
#include "windows/front/login.h"
#include "windows/front/lost.h"
#include "windows/front/new.h"
#include "windows/front/password.h"
#include "windows/toolkit/windowtypes.h"

namespace {

using AccountTest = FrontScreenTest;

TEST_F(AccountTest, ThePanelIsACentredColumnWhoseSecondButtonDependsOnSteam) {
    for (uint8_t steam : {0, 1}) {
        SCOPED_TRACE(int(steam));
        core->steamReady = steam;
        Account panel(core.get());
        EXPECT_EQ((std::vector<int32_t>{panel.x, panel.y, panel.width, panel.height}),
                  (std::vector<int32_t>{308, 189, 184, 223}));
        EXPECT_EQ(panel.name, "Account");
        EXPECT_EQ(panel.typeId, WindowType::Account);
        EXPECT_TRUE(panel.modal);
        std::vector<std::string> column;
        for (const Button* button : panel.buttons)
            column.push_back(button->caption + " " + std::to_string(button->id) + " " +
                             std::to_string(button->x) + "," + std::to_string(button->y));
        EXPECT_EQ(column, (std::vector<std::string>{"Steam 98 48,57",
                                                    steam ? "Login 17 48,85" : "Create 24 48,85",
                                                    "Lost 82 48,113", "Password 83 48,141",
                                                    "ok 34 118,195", " 9 163,3"}));
    }
}

// Each button opens its dialog above the main screen and closes the panel.
TEST_F(AccountTest, EachButtonOpensItsDialogInsteadOfThePanel) {
    const struct {
        uint32_t id;
        uint8_t steam;
        std::function<bool(Window*)> isExpected;
        size_t inputs;
    } cases[] = {
        {17, 1, [](Window* w) { return dynamic_cast<Login*>(w) != nullptr; }, 2},
        {24, 0, [](Window* w) { return dynamic_cast<New*>(w) != nullptr; }, 2},
        {82, 0, [](Window* w) { return dynamic_cast<Lost*>(w) != nullptr; }, 1},
        {83, 0, [](Window* w) { return dynamic_cast<Password*>(w) != nullptr; }, 4},
        {98, 0, [](Window* w) { return dynamic_cast<Link*>(w) != nullptr; }, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        core->steamReady = c.steam;
        Account* panel = Open(new Account(core.get()));
        Press(panel, c.id);
        ASSERT_EQ(core->windows.size(), 1 + c.inputs);
        auto* dialog = dynamic_cast<AccountForm*>(core->windows[0]);
        ASSERT_TRUE(c.isExpected(dialog));
        EXPECT_EQ(core->focusedInput, dialog->inputs[0]);
        dialog->Close();
        EXPECT_TRUE(core->windows.empty());
    }
}

TEST_F(AccountTest, EveryWayOfClosingThePanelWritesTheSettings) {
    UseSettingsFile();
    const std::vector<std::pair<std::string, std::function<void(Account*)>>> closings = {
        {"ok", [&](Account* panel) { Press(panel, 34); }},
        {"close button", [&](Account* panel) { Press(panel, 9); }},
        {"Enter", [](Account* panel) { panel->OnSubmit(); }},
        {"a dialog", [&](Account* panel) { Press(panel, 82); }},
    };
    for (const auto& [name, close] : closings) {
        SCOPED_TRACE(name);
        Account* panel = Open(new Account(core.get()));
        EXPECT_FALSE(SettingsWritten());
        close(panel);
        EXPECT_FALSE(Listed(panel));
        EXPECT_TRUE(SettingsWritten());
        while (!core->windows.empty()) core->RemoveWindow(core->windows.back());
    }
}

TEST_F(AccountTest, TheLoginWindowIsCentredWithMaskedInputs) {
    Login* login = Open(new Login(core.get()));
    EXPECT_EQ((std::vector<int32_t>{login->x, login->y, login->width, login->height}),
              (std::vector<int32_t>{287, 231, 226, 139}));
    EXPECT_EQ(login->name, "Login");
    EXPECT_EQ(login->typeId, WindowType::Login);
    ASSERT_EQ(login->inputs, (std::vector<Input*>{login->accountInput, login->passwordInput}));
    EXPECT_EQ((std::vector<int32_t>{login->accountInput->x, login->accountInput->y,
                                    login->passwordInput->x, login->passwordInput->y}),
              (std::vector<int32_t>{385, 278, 385, 298}));
    for (Input* input : login->inputs) {
        EXPECT_TRUE(input->password);
        EXPECT_EQ(input->maxLength, 64u);
    }
    const std::vector<DrawnText> texts = DrawnTexts(DrawLog(login));
    for (const DrawnText& expected :
         {DrawnText{96, 7, 0xCEFFFFFF, "Login"}, DrawnText{31, 52, 0xC0FFFFFF, "Account"},
          DrawnText{31, 72, 0xC0FFFFFF, "Password"}})
        EXPECT_NE(std::find(texts.begin(), texts.end(), expected), texts.end()) << expected.text;
}

TEST_F(AccountTest, ALoginWithAnEmptyFieldShowsAMessageAndConnectsNothing) {
    const struct {
        std::string account, password;
    } cases[] = {{"", "secret"}, {"tester", ""}, {"", ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.account + "/" + c.password);
        Login* login = Open(new Login(core.get()));
        Type(c.account);
        core->focusedInput = login->passwordInput;
        Type(c.password);
        login->passwordInput->OnSubmit();
        EXPECT_EQ(Messages(),
                  std::vector<std::string>{"Login Information: Please fill in both login forms."});
        EXPECT_TRUE(Listed(login));
        EXPECT_EQ(login->accountInput->text, c.account);
        EXPECT_EQ(login->passwordInput->text, c.password);
        EXPECT_EQ(core->connection1, nullptr);
        EXPECT_EQ(core->connectKind, 0u);
        EXPECT_EQ(core->loginName, "");
        while (!core->windows.empty()) core->RemoveWindow(core->windows.back());
    }
}

TEST_F(AccountTest, ALoginStoresTheTypedTextsConnectsAndCloses) {
    Login* login = Open(new Login(core.get()));
    Type(" ");  // a space is a name
    core->focusedInput = login->passwordInput;
    Type("Secret 1");
    EXPECT_EQ(login->passwordInput->shownText, std::string(8, '\x95'));
    login->passwordInput->OnSubmit();
    EXPECT_EQ(core->loginName, " ");
    EXPECT_EQ(core->password, "Secret 1");
    EXPECT_EQ(core->connectKind, 1u);
    EXPECT_TRUE(ConnectingShown());
    EXPECT_TRUE(ServerReached());
    EXPECT_TRUE(Messages().empty());
    for (Window* window : core->windows) EXPECT_EQ(dynamic_cast<Status*>(window) != nullptr, true);
}

TEST_F(AccountTest, TheLoginButtonSubmitsAndTheCloseButtonClosesWithTheInputs) {
    Login* login = Open(new Login(core.get()));
    Type("tester");
    Press(login, 17);
    EXPECT_EQ(Messages().size(), 1u);
    core->RemoveWindow(core->windows.back());
    Press(login, 9);
    EXPECT_TRUE(core->windows.empty());
    EXPECT_EQ(core->focusedInput, nullptr);
}

TEST_F(AccountTest, AnInputTakesNoMoreThanItsLongest) {
    const struct {
        std::function<AccountForm*(Core*)> make;
        std::vector<size_t> longest;
    } cases[] = {
        {[](Core* core) { return new Login(core); }, {64, 64}},
        {[](Core* core) { return new New(core); }, {64, 224}},
        {[](Core* core) { return new Lost(core); }, {224}},
        {[](Core* core) { return new Password(core); }, {64, 64, 64, 64}},
        {[](Core* core) { return new Link(core); }, {64, 64}},
    };
    for (const auto& c : cases) {
        AccountForm* dialog = Open(c.make(core.get()));
        SCOPED_TRACE(dialog->name);
        ASSERT_EQ(dialog->inputs.size(), c.longest.size());
        for (size_t i = 0; i < c.longest.size(); ++i) {
            core->focusedInput = dialog->inputs[i];
            Type(std::string(300, 'a'));
            EXPECT_EQ(dialog->inputs[i]->text.size(), c.longest[i]);
        }
        dialog->Close();
    }
}

}  // namespace
