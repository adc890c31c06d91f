#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "frontscreen.h"
#include "support/drawntext.h"
#include "windows/front/link.h"
#include "windows/front/login.h"
#include "windows/front/lost.h"
#include "windows/front/new.h"
#include "windows/front/password.h"
#include "windows/toolkit/windowtypes.h"

namespace {

constexpr uint32_t LabelColour = 0xC0FFFFFF;
constexpr uint32_t WarningColour = 0xC0FF8080;

class DialogTest : public FrontScreenTest {
protected:
    // Types one text into each input, in order.
    void Fill(AccountForm* dialog, const std::vector<std::string>& texts) {
        for (size_t i = 0; i < texts.size(); ++i) {
            core->focusedInput = dialog->inputs[i];
            Type(texts[i]);
        }
    }
    void CloseAll() {
        while (!core->windows.empty()) core->RemoveWindow(core->windows.back());
    }
    std::vector<std::string> InputTexts(const AccountForm* dialog) {
        std::vector<std::string> texts;
        for (const Input* input : dialog->inputs) texts.push_back(input->text);
        return texts;
    }
};

struct Layout {
    std::string title;
    uint32_t typeId;
    WindowRect rect;
    std::vector<WindowRect> inputs;  // on the screen
    std::vector<uint8_t> masked;
    std::vector<std::string> labels;
    std::string action;  // "caption id", or "" for none
};

TEST_F(DialogTest, EachDialogHasItsTitleSizeInputsLabelsAndButtons) {
    const struct {
        std::function<AccountForm*(Core*)> make;
        uint8_t steam;
        Layout layout;
    } cases[] = {
        {[](Core* core) { return new New(core); },
         0,
         {"Create Account",
          WindowType::New,
          {262, 231, 276, 139},
          {{351, 278, 159, 18}, {351, 298, 159, 18}},
          {0, 0},
          {"Account", "E-mail"},
          "create 24"}},
        {[](Core* core) { return new Lost(core); },
         0,
         {"Lost Account",
          WindowType::Lost,
          {267, 241, 266, 119},
          {{346, 288, 159, 18}},
          {0},
          {"E-mail"},
          "send 81"}},
        {[](Core* core) { return new Password(core); },
         0,
         {"Change Password",
          WindowType::Password,
          {268, 211, 264, 179},
          {{395, 258, 109, 18}, {395, 278, 109, 18}, {395, 298, 109, 18}, {395, 318, 109, 18}},
          {1, 1, 1, 1},
          {"Account", "Password", "New Password", "New Password"},
          "change 81"}},
        {[](Core* core) { return new Link(core); },
         1,
         {"Link account to Steam",
          WindowType::Link,
          {287, 209, 226, 183},
          {{385, 300, 100, 18}, {385, 320, 100, 18}},
          {1, 1},
          {"Fill in Veltor account details", "to verify this Steam link.", "Account", "Password"},
          "link 98"}},
        {[](Core* core) { return new Link(core); },
         0,
         {"Link account to Steam",
          WindowType::Link,
          {287, 209, 226, 183},
          {{385, 300, 100, 18}, {385, 320, 100, 18}},
          {1, 1},
          {"Fill in Veltor account details", "to verify this Steam link.", "Account", "Password",
           "Make sure to use Steam"},
          ""}},
    };
    for (const auto& c : cases) {
        core->steamReady = c.steam;
        AccountForm* dialog = Open(c.make(core.get()));
        const Layout& layout = c.layout;
        SCOPED_TRACE(layout.title + (c.steam ? " with Steam" : ""));
        EXPECT_EQ(dialog->name, layout.title);
        EXPECT_EQ(dialog->typeId, layout.typeId);
        EXPECT_TRUE(dialog->modal);
        EXPECT_EQ(
            (std::vector<int32_t>{dialog->x, dialog->y, dialog->width, dialog->height}),
            (std::vector<int32_t>{layout.rect.x, layout.rect.y, layout.rect.w, layout.rect.h}));
        ASSERT_EQ(dialog->inputs.size(), layout.inputs.size());
        for (size_t i = 0; i < layout.inputs.size(); ++i) {
            const Input* input = dialog->inputs[i];
            EXPECT_EQ((std::vector<int32_t>{input->x, input->y, input->width, input->height}),
                      (std::vector<int32_t>{layout.inputs[i].x, layout.inputs[i].y,
                                            layout.inputs[i].w, layout.inputs[i].h}))
                << i;
            EXPECT_EQ(input->password, layout.masked[i]) << i;
            EXPECT_EQ(core->windows[1 + i], input);
        }
        std::vector<std::string> actions;
        for (const Button* button : dialog->buttons) {
            if (button->id == ButtonId::Close) continue;
            actions.push_back(button->caption + " " + std::to_string(button->id));
            EXPECT_EQ(button->x, dialog->width - 66);
            EXPECT_EQ(button->y, dialog->height - 28);
        }
        EXPECT_EQ(actions, layout.action.empty() ? std::vector<std::string>{}
                                                 : std::vector<std::string>{layout.action});

        const std::vector<std::string> log = DrawLog(dialog);
        EXPECT_EQ(DrawnTextsIn(log, 0xCEFFFFFF), std::vector<std::string>{layout.title});
        EXPECT_EQ(DrawnTextsIn(log, LabelColour), layout.labels);
        CloseAll();
    }
}

TEST_F(DialogTest, TheHintWithoutSteamStandsAboveTheBottomEdge) {
    Link* link = Open(new Link(core.get()));
    const std::vector<DrawnText> texts = DrawnTexts(DrawLog(link));
    const DrawnText hint{12, 157, LabelColour, "Make sure to use Steam"};
    EXPECT_NE(std::find(texts.begin(), texts.end(), hint), texts.end());
}

// The warning follows the key's toggle state frame by frame, in the dialogs that ask for a
// password, whichever input has the focus.
TEST_F(DialogTest, TheCapsLockWarningShowsWhileCapsLockIsOn) {
    const struct {
        std::function<AccountForm*(Core*)> make;
        bool warns;
    } cases[] = {
        {[](Core* core) { return new Login(core); }, true},
        {[](Core* core) { return new Password(core); }, true},
        {[](Core* core) { return new Link(core); }, true},
        {[](Core* core) { return new New(core); }, false},
        {[](Core* core) { return new Lost(core); }, false},
    };
    for (const auto& c : cases) {
        AccountForm* dialog = Open(c.make(core.get()));
        SCOPED_TRACE(dialog->name);
        core->focusedInput = nullptr;
        const DrawnText warning{dialog->x + 15, dialog->y + dialog->height - 24, WarningColour,
                                "Warning: CAPS Lock"};
        for (bool on : {false, true, false}) {
            if (on) FakePlatform::toggledKeys.insert(VK_CAPITAL);
            else FakePlatform::toggledKeys.clear();
            const std::vector<DrawnText> texts = DrawnTexts(DrawLog(dialog));
            const bool shown = std::find(texts.begin(), texts.end(), warning) != texts.end();
            EXPECT_EQ(shown, on && c.warns) << on;
            EXPECT_EQ(DrawnTextsIn(DrawLog(dialog), WarningColour).size(), shown ? 1u : 0u);
        }
        // A held key that is not toggled is not CAPS Lock on.
        FakePlatform::heldKeys.insert(VK_CAPITAL);
        EXPECT_TRUE(DrawnTextsIn(DrawLog(dialog), WarningColour).empty());
        FakePlatform::heldKeys.clear();
        CloseAll();
    }
}

TEST_F(DialogTest, AFailedCheckShowsItsMessageAndKeepsTheDialog) {
    const struct {
        std::function<AccountForm*(Core*)> make;
        std::vector<std::string> typed;
        std::string message;
    } cases[] = {
        {[](Core* core) { return new New(core); },
         {"", "a@b.c"},
         "Account Information: Please fill in both account forms."},
        {[](Core* core) { return new New(core); },
         {"tester", ""},
         "Account Information: Please fill in both account forms."},
        {[](Core* core) { return new Lost(core); },
         {""},
         "Account Information: Please fill in your e-mail address."},
        {[](Core* core) { return new Password(core); },
         {"tester", "old", "", "new"},
         "Account Information: Please fill in all the forms."},
        {[](Core* core) { return new Password(core); },
         {"", "old", "new", "new"},
         "Account Information: Please fill in all the forms."},
        {[](Core* core) { return new Link(core); },
         {"tester", ""},
         "Login Information: Please fill in both login forms."},
        {[](Core* core) { return new Link(core); },
         {"", "secret"},
         "Login Information: Please fill in both login forms."},
    };
    for (const auto& c : cases) {
        AccountForm* dialog = Open(c.make(core.get()));
        SCOPED_TRACE(dialog->name);
        Fill(dialog, c.typed);
        dialog->OnSubmit();
        EXPECT_EQ(Messages(), std::vector<std::string>{c.message});
        EXPECT_TRUE(Listed(dialog));
        EXPECT_EQ(InputTexts(dialog), c.typed);
        EXPECT_EQ(core->connection1, nullptr);
        EXPECT_EQ(core->connectKind, 0u);
        CloseAll();
    }
}

TEST_F(DialogTest, AMismatchedNewPasswordEmptiesOnlyTheTwoNewInputs) {
    Password* dialog = Open(new Password(core.get()));
    Fill(dialog, {"tester", "old", "new one", "new One"});
    Press(dialog, 81);
    EXPECT_EQ(InputTexts(dialog), (std::vector<std::string>{"tester", "old", "", ""}));
    EXPECT_EQ(Messages(),
              std::vector<std::string>{
                  "Account Information: Please make sure the new password is matched."});
    EXPECT_EQ(core->connection1, nullptr);
    EXPECT_EQ(core->password, "");
}

TEST_F(DialogTest, ASubmitStoresItsFieldsAndConnectsWithItsKind) {
    const struct {
        std::function<AccountForm*(Core*)> make;
        uint8_t steam;
        std::vector<std::string> typed;
        uint32_t kind;
        std::vector<std::string> stored;  // login name, password, extra
    } cases[] = {
        {[](Core* core) { return new New(core); },
         0,
         {"newbie", "new@b.c"},
         2,
         {"newbie", "kept", "new@b.c"}},
        {[](Core* core) { return new Lost(core); },
         0,
         {"lost@b.c"},
         3,
         {"kept", "kept", "lost@b.c"}},
        {[](Core* core) { return new Password(core); },
         0,
         {"tester", "old", "new", "new"},
         4,
         {"tester", "old", "new"}},
        {[](Core* core) { return new Link(core); },
         1,
         {"tester", "secret"},
         6,
         {"tester", "secret", "kept"}},
        {[](Core* core) { return new Link(core); },
         0,
         {"tester", "secret"},
         6,
         {"tester", "secret", "kept"}},
    };
    for (const auto& c : cases) {
        core->steamReady = c.steam;
        core->loginName = core->password = core->loginExtra = "kept";
        AccountForm* dialog = Open(c.make(core.get()));
        SCOPED_TRACE(dialog->name + (c.steam ? " with Steam" : ""));
        Fill(dialog, c.typed);
        // Enter in the last input: it passes to the dialog, with or without an action button.
        dialog->inputs.back()->OnSubmit();
        EXPECT_EQ(core->connectKind, c.kind);
        EXPECT_EQ((std::vector<std::string>{core->loginName, core->password, core->loginExtra}),
                  c.stored);
        EXPECT_TRUE(ConnectingShown());
        EXPECT_TRUE(ServerReached());
        EXPECT_TRUE(Messages().empty());
        EXPECT_EQ(core->windows.size(), 1u) << "only the progress box stays";
        core->CloseConnection(0);
        core->DeleteClosedConnections();
        server.Close();
        CloseAll();
    }
}

TEST_F(DialogTest, TheActionButtonSubmits) {
    core->steamReady = 1;
    Link* link = Open(new Link(core.get()));
    Fill(link, {"tester", "secret"});
    Press(link, 98);
    EXPECT_EQ(core->connectKind, 6u);
    EXPECT_FALSE(Listed(link));
}

// Taken off the window list one by one (as the avatar list's arrival does, from the top), the
// inputs go before their dialog, which then leaves nothing behind.
TEST_F(DialogTest, InputsRemovedBeforeTheirDialogAreNotRemovedTwice) {
    Open(new Password(core.get()));
    CloseAll();
    EXPECT_TRUE(core->windows.empty());
    // Never opened: the dialog deletes its inputs itself.
    delete new Password(core.get());
}

}  // namespace
