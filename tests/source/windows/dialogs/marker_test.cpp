// The map marker dialog over the world map window on an in-memory atlas: choosing a kind and the
// name that follows it, editing, and the checks of a submit.
#include "windows/dialogs/marker.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mappart.h"
#include "startuptables.h"
#include "support/mapwindow.h"
#include "windows/dialogs/map.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/input.h"
#include "windows/toolkit/windowtypes.h"

namespace {

constexpr int32_t Pitch = int32_t(MarkerCellPitch);

class MarkerDialog : public MapWindowTest {
protected:
    Marker* OpenDialog(int32_t sx = 300, int32_t sy = 250) {
        auto* dialog = new Marker(core, sx, sy);
        core->AddWindow(dialog)->OnOpen();
        return dialog;
    }

    // A press on the grid cell showing the kind of the name.
    static void ClickKind(Marker& dialog, const std::string& kindName) {
        for (int32_t cell = 0; cell < int32_t(MarkerIconCount); ++cell) {
            if (MarkerIconName(cell) != kindName) continue;
            dialog.OnMouseDown(dialog.x + 33 + (cell % 5) * Pitch + 3,
                               dialog.y + 85 + (cell / 5) * Pitch + 3);
            return;
        }
        FAIL() << kindName;
    }

    bool IsOpen(const Window* window) const {
        for (const Window* listed : core->windows)
            if (listed == window) return true;
        return false;
    }
};

TEST_F(MarkerDialog, TheNameFollowsTheKindUntilTyped) {
    Marker* dialog = OpenDialog();
    EXPECT_EQ(dialog->width, 161);
    EXPECT_EQ(dialog->height, 240);
    ClickKind(*dialog, "Cave");
    EXPECT_EQ(dialog->nameInput->text, "Cave");
    ClickKind(*dialog, "Dock");
    EXPECT_EQ(dialog->nameInput->text, "Dock");
    EXPECT_EQ(MarkerIconOrder[dialog->selected], 5u);

    dialog->nameInput->SetText("My boat");
    ClickKind(*dialog, "Castle");
    EXPECT_EQ(dialog->nameInput->text, "My boat");
    EXPECT_EQ(dialog->selected, 4);
}

TEST_F(MarkerDialog, TheGridFrameOutsideTheCellsSelectsNothing) {
    Marker* dialog = OpenDialog();
    ClickKind(*dialog, "Bank");
    const int32_t selected = dialog->selected;
    for (const auto& point : {std::pair{32, 90}, {33 + 95, 90}, {60, 84}, {60, 85 + 95}}) {
        dialog->OnMouseDown(dialog->x + point.first, dialog->y + point.second);
        EXPECT_EQ(dialog->selected, selected) << point.first << "," << point.second;
    }
    EXPECT_EQ(dialog->nameInput->text, "Bank");
}

TEST_F(MarkerDialog, AddingStoresTheMarkerAndShowsCustomMarkers) {
    MapPart& part = Atlas(2000, 1500);
    Map* map = Open();
    map->baseScroll = map->scroll = {0, 0};
    core->options.smarkers = 0;
    const int32_t sx = map->x + map->view.x + 40, sy = map->y + map->view.y + 60;
    Marker* dialog = OpenDialog(sx, sy);
    ClickKind(*dialog, "Cave");
    dialog->OnSubmit();
    EXPECT_FALSE(IsOpen(dialog));
    ASSERT_EQ(part.markers.size(), 1u);
    EXPECT_EQ(part.markers[0].icon, 2);
    EXPECT_EQ(part.markers[0].text, "Cave");
    EXPECT_EQ(core->options.smarkers, 1);
    EXPECT_EQ(Sent(), std::vector<std::vector<uint8_t>>{MarkerRequest(1, 1040, 1060, 2, "Cave")});
}

TEST_F(MarkerDialog, SubmitChecksTheKindAndTheName) {
    Atlas(2000, 1500);
    Open();
    Marker* dialog = OpenDialog();
    dialog->OnSubmit();
    EXPECT_EQ(ShownMessage(), "No marker selected.");
    EXPECT_EQ(ShownMessageTitle(), "Add Marker");
    EXPECT_TRUE(IsOpen(dialog));
    core->RemoveWindow(core->FindWindow(WindowType::Message));

    ClickKind(*dialog, "Tree");
    dialog->nameInput->SetText("");
    dialog->OnSubmit();
    EXPECT_EQ(ShownMessage(), "No name entered.");
    EXPECT_TRUE(IsOpen(dialog));
}

TEST_F(MarkerDialog, EditingAKindOfNoCellAsksForOne) {
    MapPart& part = Atlas(2000, 1500);
    Map* map = Open();
    part.markers = {Label(4, 100, 100, 77, "Odd"), Label(5, 120, 100, 6, "Harbour")};
    auto* dialog = new Marker(core, 10, 10);
    core->AddWindow(dialog);
    dialog->EditMarker(4);
    EXPECT_EQ(dialog->editing, 1);
    EXPECT_EQ(dialog->selected, -1);
    EXPECT_EQ(dialog->nameInput->text, "Odd");
    EXPECT_EQ(dialog->FindButton(Marker::SubmitButton)->caption, "save");
    EXPECT_EQ(core->focusedInput, dialog->nameInput);
    dialog->OnSubmit();
    EXPECT_EQ(ShownMessage(), "No marker selected.");
    core->RemoveWindow(core->FindWindow(WindowType::Message));
    core->RemoveWindow(dialog);

    dialog = new Marker(core, 10, 10);
    core->AddWindow(dialog);
    dialog->EditMarker(5);
    EXPECT_EQ(MarkerIconOrder[dialog->selected], 5u);
    dialog->nameInput->SetText("Old harbour");
    dialog->OnSubmit();
    EXPECT_EQ(map->FindMarker(5).text, "Old harbour");
    EXPECT_EQ(Sent(), (std::vector<std::vector<uint8_t>>{
                          {73, 5}, MarkerRequest(5, 1120, 1100, 6, "Old harbour")}));
}

TEST_F(MarkerDialog, WithoutAMapTheDialogCloses) {
    Marker* dialog = OpenDialog();
    ClickKind(*dialog, "Key");
    dialog->OnSubmit();
    EXPECT_EQ(ShownMessage(), "No map found.");
    EXPECT_EQ(ShownMessageTitle(), "Add Marker");
    EXPECT_FALSE(IsOpen(dialog));
    EXPECT_TRUE(Sent().empty());
}

TEST_F(MarkerDialog, TheNameFieldFollowsADrag) {
    Marker* dialog = OpenDialog();
    dialog->OnMouseDown(dialog->x + 20, dialog->y + 5);
    ASSERT_EQ(dialog->dragging, 1);
    dialog->OnDrag(-500, -500);
    EXPECT_EQ(dialog->x, 5);
    EXPECT_EQ(dialog->y, 5);
    EXPECT_EQ(dialog->nameInput->x, 5 + 28);
    EXPECT_EQ(dialog->nameInput->y, 5 + 47);
}

}  // namespace
