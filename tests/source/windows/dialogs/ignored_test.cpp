#include "windows/dialogs/ignored.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core.h"
#include "support/creatureworld.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/input.h"
#include "windows/toolkit/list.h"
#include "windows/toolkit/message.h"
#include "windows/toolkit/windowtypes.h"

namespace {

using Names = std::vector<std::string>;

class IgnoredTest : public CreatureWorld {
protected:
    Ignored* Open() {
        window = new Ignored(core.get());
        core->AddWindow(window);
        window->OnOpen();
        return window;
    }
    // The name as typed, bypassing the field's name formatting.
    void Add(const std::string& name) {
        window->input->SetText(name);
        window->OnCommand(window->FindButton(Ignored::AddButton));
    }
    void Remove() { window->OnCommand(window->FindButton(Ignored::RemoveButton)); }
    std::string Box() {
        auto* box = dynamic_cast<Message*>(core->FindWindow(WindowType::Message));
        if (!box) return "";
        const std::string shown = box->name + ": " + box->text;
        core->RemoveWindow(box);
        return shown;
    }

    Ignored* window = nullptr;
};

TEST_F(IgnoredTest, OpensWithTheMutedNamesAndTheFocusInTheField) {
    core->muted = {"Ann", "Bob"};
    Open();
    EXPECT_EQ(window->name, "Muted People");
    EXPECT_EQ(window->width, 326);
    EXPECT_EQ(window->height, 308);
    EXPECT_EQ(window->names->items, (Names{"Ann", "Bob"}));
    EXPECT_EQ(core->focusedInput, window->input);
    EXPECT_EQ(window->names->x, window->x + 38);
    EXPECT_EQ(window->input->y, window->y + 56);
}

TEST_F(IgnoredTest, TheFirstNameAddedIsSelectedAndOtherCapitalsAreAnotherName) {
    Open();
    Add("Bob");
    EXPECT_EQ(core->muted, Names{"Bob"});
    EXPECT_EQ(window->names->selected, 0);
    EXPECT_EQ(window->input->text, "");
    Add("bob");
    EXPECT_EQ(core->muted, (Names{"Bob", "bob"}));
    EXPECT_EQ(window->names->items, (Names{"Bob", "bob"}));
    EXPECT_EQ(Box(), "");
}

TEST_F(IgnoredTest, RefusalsLeaveTheListAsItWas) {
    SpawnPlayer(Position{100, 100, 7}, "Hero");
    core->muted = {"Ann"};
    Open();
    const struct {
        const char* name;
        const char* box;
    } refusals[] = {
        {"", "Muted List: No name has been entered. Make sure to enter a name."},
        {"Hero", "Muted List: You cannot mute yourself."},
        {"Ann", "Muted List: Ann is already muted."},
        {"Ann,Bob", "Muted List: A name with a comma cannot be muted."},
    };
    for (const auto& refusal : refusals) {
        Add(refusal.name);
        EXPECT_EQ(Box(), refusal.box);
    }
    EXPECT_EQ(core->muted, Names{"Ann"});
    EXPECT_EQ(window->names->items, Names{"Ann"});
}

TEST_F(IgnoredTest, RemoveTakesTheSelectedRow) {
    core->muted = {"Bob", "bob"};
    Open();
    window->names->Select(1);
    Remove();
    EXPECT_EQ(Box(), "Muted List: bob has been removed from the muted list.");
    EXPECT_EQ(core->muted, Names{"Bob"});
    EXPECT_EQ(window->names->items, Names{"Bob"});

    window->names->selected = -1;
    Remove();
    EXPECT_EQ(Box(), "");
    EXPECT_EQ(core->muted, Names{"Bob"});
}

TEST_F(IgnoredTest, RemoveWithAnEmptyListDoesNothing) {
    Open();
    Remove();
    EXPECT_EQ(Box(), "");
}

TEST_F(IgnoredTest, EnterClosesWithoutAdding) {
    Open();
    window->input->SetText("Carl");
    core->focusedInput->OnSubmit();
    EXPECT_EQ(core->FindWindow(WindowType::Ignored), nullptr);
    EXPECT_EQ(core->FindWindow(WindowType::List), nullptr);
    EXPECT_EQ(core->FindWindow(WindowType::Input), nullptr);
    core->DeleteClosedWindows();
    EXPECT_EQ(core->muted, Names{});
}

}  // namespace
