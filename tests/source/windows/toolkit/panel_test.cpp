#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "notification.h"
#include "support/testcore.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/panel.h"
#include "windows/toolkit/panellist.h"
#include "windows/toolkit/scrollbar.h"
#include "windows/toolkit/windowtypes.h"
#include "world.h"

namespace {

constexpr int32_t ClientWidth = 800, ClientHeight = 600;
// The console's strip under the columns in the normal layout.
constexpr int32_t ConsoleHeight = 220;
// The left column's height: the client less the console and the line under the column.
constexpr int32_t ColumnHeight = ClientHeight - ConsoleHeight - 1;

class Strip : public Window {
public:
    explicit Strip(Core* core) : Window(core) {
        Build();
        y = ClientHeight - ConsoleHeight;
        width = ClientWidth;
        height = ConsoleHeight;
    }
};

// A menu that keeps its rows.
struct RowMenu {
    void AddEntry(uint32_t code, const std::string& label) { rows.push_back({code, label}); }
    std::vector<PanelMenuRow> rows;
};

class PanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        core = MakeTestCore();
        core->world = new World(core.get());
        console = core->AddWindow(new Strip(core.get()));
        left = AddColumn(Panel::Left);
        right = AddColumn(Panel::Right);
    }

    Panel* AddColumn(int32_t side) {
        auto* column = new Panel(core.get(), console, side);
        core->AddWindow(column);
        column->Place(ClientWidth, ClientHeight);
        return column;
    }

    // A standard panel window of a full height, added to the column.
    Panellist* Add(Panel* column, int32_t height, uint32_t type = WindowType::Panellist) {
        Panellist* window = Make(column, height, type);
        column->Add(window);
        return window;
    }

    Panellist* Make(Panel* column, int32_t height, uint32_t type = WindowType::Panellist) {
        auto* window = new Panellist(core.get(), column);
        window->Build();
        window->typeId = type;
        window->SetHeight(height);
        return window;
    }

    static std::vector<int32_t> Ys(const std::vector<Panellist*>& windows) {
        std::vector<int32_t> ys;
        for (const Panellist* window : windows) ys.push_back(window->y);
        return ys;
    }

    bool IsOpen(const Window* window) const {
        for (const Window* open : core->windows)
            if (open == window) return true;
        return false;
    }

    std::vector<std::string> Notices() const {
        std::vector<std::string> texts;
        for (const Notification::Place& place : core->world->notification->places)
            for (const NotificationLine* line : {&place.current, &place.waiting})
                if (line->state != Notification::StateEmpty) texts.push_back(line->text);
        return texts;
    }

    std::unique_ptr<Core> core;
    Window* console = nullptr;
    Panel* left = nullptr;
    Panel* right = nullptr;
};

TEST_F(PanelTest, ColumnsStandBesideTheConsoleWithTheirFreeArea) {
    EXPECT_EQ(left->typeId, WindowType::PanelLeft);
    EXPECT_EQ(right->typeId, WindowType::PanelRight);
    EXPECT_EQ((std::vector<int32_t>{left->x, left->y, left->width, left->height}),
              (std::vector<int32_t>{0, 0, 156, ColumnHeight}));
    EXPECT_EQ(right->x, ClientWidth - 156);

    // Windows stack from the top 1 pixel apart; the free area lies below them, and windows
    // pinned to the bottom stand under it, the first pinned lowest.
    Panellist* a = Add(left, 100);
    Panellist* b = Add(left, 120);
    Panellist* c = Add(left, 50);
    Panellist* d = Add(left, 40);
    left->Pin(c, false);
    left->Pin(d, false);
    EXPECT_EQ(Ys(left->normal), (std::vector<int32_t>{0, 101}));
    EXPECT_EQ(left->y, 222);
    EXPECT_EQ(c->y + c->height, ColumnHeight);
    EXPECT_EQ(d->y + d->height + 1, c->y);
    EXPECT_EQ(left->y + left->height + 1, d->y);
    EXPECT_EQ(left->bottomUsed, 92);
    for (Panellist* window : {a, b, c, d}) EXPECT_EQ(window->x, 0);
}

TEST_F(PanelTest, PinningToTheTopReservesTheWindowsPlace) {
    Panellist* status = Add(left, 157);
    left->Pin(status, true);
    Panellist* other = Add(left, 100);
    EXPECT_EQ(status->y, 0);
    EXPECT_EQ(left->topReserve, 158);
    EXPECT_EQ(other->y, 158);
    EXPECT_FALSE(status->movable);

    // Below the pinned window the next one is offered a pin to the top, and to the bottom as the
    // last; the pinned one only its unpinning.
    RowMenu menu;
    other->AddPanelMenu(&menu);
    ASSERT_EQ(menu.rows.size(), 3u);
    EXPECT_EQ(menu.rows[0].code, PanelAction::MoveToOtherPanel);
    EXPECT_EQ(menu.rows[0].label, "Move to Right Panel");
    EXPECT_EQ(menu.rows[1].label, "Pin to Top");
    EXPECT_EQ(menu.rows[2].label, "Pin to Bottom");
    RowMenu pinned;
    status->AddPanelMenu(&pinned);
    ASSERT_EQ(pinned.rows.size(), 1u);
    EXPECT_EQ(pinned.rows[0].code, PanelAction::Unpin);
    RowMenu onTheRight;
    Add(right, 100)->AddPanelMenu(&onTheRight);
    EXPECT_EQ(onTheRight.rows[0].label, "Move to Left Panel");

    left->Unpin(status);
    EXPECT_EQ(left->topReserve, 0);
    EXPECT_EQ(Ys(left->normal), (std::vector<int32_t>{0, 158}));
    EXPECT_TRUE(status->movable);
}

TEST_F(PanelTest, PinningTheLastWindowToTheBottomAndBackRoundTrips) {
    Add(left, 100);
    Panellist* last = Add(left, 80);
    const int32_t freeY = left->y, freeHeight = left->height;

    left->Pin(last, false);
    EXPECT_EQ(left->normal.size(), 1u);
    ASSERT_EQ(left->bottom, std::vector<Panellist*>{last});
    EXPECT_EQ(last->y, ColumnHeight - 80);
    EXPECT_EQ(left->y, 101);

    left->Unpin(last);
    EXPECT_TRUE(left->bottom.empty());
    EXPECT_EQ(left->normal.back(), last);
    EXPECT_EQ(last->y, 101);
    EXPECT_EQ(left->bottomUsed, 0);
    EXPECT_EQ(left->y, freeY);
    EXPECT_EQ(left->height, freeHeight);
}

TEST_F(PanelTest, ADraggedWindowSwapsWithTheNeighbourWhoseMiddleItPasses) {
    Panellist* a = Add(left, 100);
    Panellist* b = Add(left, 100);
    core->ActivateWindow(b);
    b->OnMouseDown(10, b->y + 5);  // the title band
    ASSERT_TRUE(b->dragging);

    // Not yet above a's middle (50): the order stays.
    b->OnDrag(10, 51 + 5);
    EXPECT_EQ(left->normal, (std::vector<Panellist*>{a, b}));
    b->OnDrag(10, 49 + 5);
    EXPECT_EQ(left->normal, (std::vector<Panellist*>{b, a}));
    EXPECT_EQ(b->y, 49);
    EXPECT_EQ(a->y, 101);
    EXPECT_EQ(b->homeY, 0);

    // Never above the column's top; released, it snaps to its slot.
    b->OnDrag(10, -40);
    EXPECT_EQ(b->y, 0);
    b->OnMouseUp(10, 0);
    EXPECT_FALSE(b->dragging);
    EXPECT_EQ(b->y, 0);

    // Dragged down past a's middle it goes back below it.
    b->OnMouseDown(10, 5);
    b->OnDrag(10, 52 + 5);
    EXPECT_EQ(left->normal, (std::vector<Panellist*>{a, b}));
    b->OnMouseUp(10, 0);
    EXPECT_EQ(Ys(left->normal), (std::vector<int32_t>{0, 101}));
}

TEST_F(PanelTest, CollapsingFreesTheBodyAndExpandingNeedsRoom) {
    Panellist* window = Add(left, 150);
    const int32_t freeBefore = left->height;
    window->OnCommand(window->FindButton(ButtonId::Collapse));
    EXPECT_TRUE(window->collapsed);
    EXPECT_EQ(left->height - freeBefore, 128);
    Button* expand = window->FindButton(ButtonId::Expand);
    ASSERT_NE(expand, nullptr);
    EXPECT_EQ(expand->normalSkin.sy, 112);
    EXPECT_EQ(window->Serialize(), "51,255,0,1,150");
    // Its hidden scroll bar takes no clicks meant for the window below.
    const WindowRect bar = window->scroll->GetRect();
    EXPECT_FALSE(window->scroll->HitTest(bar.x + 5, bar.y + 40));

    // A window of fixed height below it leaves 53 pixels: too few, and none can be shrunk.
    Panellist* fixed = Add(left, left->height - 53 - 1);
    fixed->resizable = 0;
    ASSERT_EQ(left->height, 53);
    window->OnCommand(expand);
    EXPECT_TRUE(window->collapsed);
    EXPECT_EQ(Notices(), std::vector<std::string>{"Not enough space to maximise this panel."});

    // With 54 it expands, as far as the free area allows.
    fixed->SetHeight(fixed->height - 1);
    left->Place(ClientWidth, ClientHeight);
    ASSERT_EQ(left->height, 54);
    window->OnCommand(expand);
    EXPECT_FALSE(window->collapsed);
    EXPECT_NE(window->FindButton(ButtonId::Collapse), nullptr);
    EXPECT_EQ(window->height, 70);
    EXPECT_EQ(left->height, Panel::MinFree);
    EXPECT_TRUE(window->scroll->HitTest(bar.x + 5, bar.y + 40));
}

TEST_F(PanelTest, ExpandingShrinksAnotherWindowToMakeRoom) {
    Panellist* window = Add(left, 150);
    window->ToggleMinimise(nullptr);
    Panellist* tall = Add(left, left->height - 10 - 1);
    ASSERT_EQ(left->height, 10);
    window->OnCommand(window->FindButton(ButtonId::Expand));
    EXPECT_FALSE(window->collapsed);
    // 44 more pixels were needed, and the tall window gave them.
    EXPECT_EQ(tall->y, window->y + window->height + 1);
    EXPECT_GE(left->height, Panel::MinFree);
    EXPECT_TRUE(Notices().empty());

    // Toggled as the layout does, the button follows either way.
    window->ToggleMinimise(nullptr);
    EXPECT_TRUE(window->collapsed);
    EXPECT_NE(window->FindButton(ButtonId::Expand), nullptr);
    window->ToggleMinimise(nullptr);
    EXPECT_FALSE(window->collapsed);
    EXPECT_NE(window->FindButton(ButtonId::Collapse), nullptr);
}

TEST_F(PanelTest, MakeRoomCountsFirstAndChangesNothingWhenItCannot) {
    Panellist* pinned = Add(left, 150);
    left->Pin(pinned, true);
    Panellist* a = Add(left, 100);
    Panellist* b = Add(left, 75);
    // a gives 30, b 5; the pinned window gives nothing.
    EXPECT_FALSE(left->MakeRoom(nullptr, 36));
    EXPECT_EQ(a->height, 100);
    EXPECT_EQ(b->height, 75);

    const int32_t freeBefore = left->height;
    EXPECT_TRUE(left->MakeRoom(nullptr, 32));
    EXPECT_EQ(b->height, 70);
    EXPECT_EQ(a->height, 73);
    EXPECT_EQ(left->height, freeBefore + 32);
    EXPECT_EQ(Ys(left->normal), (std::vector<int32_t>{0, 151, 225}));
    EXPECT_EQ(pinned->height, 150);
}

TEST_F(PanelTest, AWindowThatDoesNotFitShrinksOrClosesOthers) {
    Add(left, 150);
    Panellist* container = Add(left, 100, WindowType::Container);
    container->resizable = 0;
    container->ToggleMinimise(nullptr);
    Panellist* big = Add(left, 150);
    ASSERT_EQ(left->height, 54);

    // The big window above can spare 70 - 54 + 9 pixels and does; the new window takes what is
    // free then, less 7.
    Panellist* added = Add(left, 150);
    EXPECT_EQ(big->height, 150 - 25);
    EXPECT_EQ(added->height, 54 + 25 - 7);
    EXPECT_EQ(added->y, big->y + big->height + 1);
    EXPECT_EQ(left->height, Panel::MinFree);

    // Now the last window cannot spare enough: it is closed, and the next one shrinks to fit.
    Panellist* next = Add(left, 150);
    EXPECT_FALSE(IsOpen(added));
    EXPECT_TRUE(IsOpen(container));
    EXPECT_EQ(next->height, 72);
    EXPECT_EQ(left->normal.back(), next);
}

TEST_F(PanelTest, BesideAFirstWindowThatCannotGiveTheNewOneIsShrunk) {
    Panellist* fixed = Add(left, ColumnHeight - 48 - 1);
    fixed->resizable = 0;
    Panellist* added = Add(left, 150);
    EXPECT_EQ(added->height, 41);
    EXPECT_EQ(added->y + added->height, ColumnHeight - Panel::MinFree - 1);
}

TEST_F(PanelTest, NoWindowIsEverLowerThanItsTitleBand) {
    // A window of fixed height leaves 25 pixels: the new window would be 18 high, so it comes in
    // collapsed; its scroll bar never has a negative length.
    Panellist* fixed = Add(left, ColumnHeight - 25 - 1);
    fixed->resizable = 0;
    Panellist* late = Add(left, 150);
    EXPECT_TRUE(late->collapsed);
    EXPECT_EQ(late->VisibleHeight(), Panellist::TitleBand);
    EXPECT_GE(late->height, Panellist::TitleBand);
    ASSERT_NE(late->scroll, nullptr);
    EXPECT_GE(late->scroll->Length(), 0);

    // Shrunk to the free space, the height and the bar stay sound.
    Panellist* window = Make(left, 150);
    window->SetHeight(5);
    EXPECT_EQ(window->height, Panellist::TitleBand);
    EXPECT_GE(window->scroll->Length(), 0);
    delete window;
}

TEST_F(PanelTest, ResizingByTheBottomEdgeUsesTheSizingCursor) {
    Panellist* window = Add(left, 150);
    Panellist* below = Add(left, 100);
    core->ActivateWindow(window);
    window->OnMouseDown(10, 147);
    ASSERT_TRUE(window->resizing);
    window->OnResize(10, 197);
    EXPECT_EQ(window->height, 200);
    EXPECT_EQ(below->y, 201);
    EXPECT_EQ(window->scroll->Length(), 200 - 23);
    // Never below the window's smallest height.
    window->OnResize(10, 0);
    EXPECT_EQ(window->height, Panellist::MinHeight);
    EXPECT_EQ(below->y, 71);
    window->OnMouseUp(10, 0);
    EXPECT_FALSE(window->resizing);
}

TEST_F(PanelTest, ClosingTakesTheWindowAndItsScrollBarOut) {
    Panellist* a = Add(left, 100);
    Panellist* b = Add(left, 100);
    Panellist* c = Add(left, 100);
    Scroll* bar = b->scroll;
    ASSERT_TRUE(IsOpen(bar));
    b->OnCommand(b->FindButton(ButtonId::Close));
    EXPECT_FALSE(IsOpen(b));
    EXPECT_FALSE(IsOpen(bar));
    EXPECT_EQ(left->normal, (std::vector<Panellist*>{a, c}));
    EXPECT_EQ(c->y, 101);

    // By id: the first of the normal windows, else of the bottom ones.
    c->windowId = 7;
    left->Pin(c, false);
    left->CloseById(7);
    EXPECT_FALSE(IsOpen(c));
    EXPECT_TRUE(left->bottom.empty());
    EXPECT_EQ(left->bottomUsed, 0);

    // Deleted with the column gone first, a window does not reach back into it.
    core->RemoveWindow(left);
    core->RemoveWindow(a);
}

TEST_F(PanelTest, TooFewFreePixelsShrinkTheWindowsAndThenCloseContainers) {
    Panellist* a = Add(left, 150);
    Panellist* container = Add(left, 150, WindowType::Container);
    Add(left, 60)->resizable = 0;
    ASSERT_EQ(left->height, ColumnHeight - 151 - 151 - 61);

    // A taller console leaves less room: the lowest resizable window gives what is missing and
    // 7 pixels are free.
    console->height = ConsoleHeight + left->height + 20;
    left->Place(ClientWidth, ClientHeight);
    EXPECT_EQ(container->height, 150 - 27);
    EXPECT_EQ(left->height, 7);

    // Much taller: the windows shrink to their smallest, then the container closes.
    console->height += 200;
    left->Place(ClientWidth, ClientHeight);
    EXPECT_EQ(a->height, Panellist::MinHeight);
    EXPECT_EQ(container->state, 3u);
    EXPECT_EQ(left->normal.size(), 2u);
    EXPECT_EQ(left->height, 11);
}

TEST_F(PanelTest, ALayoutStringReadsItsEntriesAndSkipsUnreadableOnes) {
    const struct {
        const char* text;
        std::vector<std::vector<int32_t>> entries;
    } cases[] = {
        {"50,2,1,0,157;40,0,2,0,199", {{50, 2, 1, 0, 157}, {40, 0, 2, 0, 199}}},
        {"  ;21,41,2,0,200", {{21, 41, 2, 0, 200}}},
        {"21, 41,2,0, 200;", {{21, 41, 2, 0, 200}}},
        {"20,1,0,1,120,8", {{20, 1, 0, 1, 120, 8}}},
        {"21,41,,0,200", {{21, 41, 0, 200}}},
        {"-5,+7,2x,0,1", {{-5, 7, 2, 0, 1}}},
        {"21,abc,2,0,200;40,0,2,0,199", {{40, 0, 2, 0, 199}}},
        {"21,99999999999,2,0,200", {}},
        {"21,2147483647,2,0,-2147483648", {{21, 2147483647, 2, 0, INT32_MIN}}},
        {"", {}},
        {";;;", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::vector<std::vector<int32_t>> read;
        for (const PanelLayoutEntry& entry : Panel::ParseLayout(c.text))
            read.push_back(entry.values);
        EXPECT_EQ(read, c.entries);
    }
    EXPECT_EQ(Panel::ParseLayout("  ;21,41,2,0,200")[0].text, "21,41,2,0,200");
}

TEST_F(PanelTest, TheWideLayoutGivesTheColumnsTheFullHeight) {
    core->options.widescreen = 1;
    core->options.panel = 1;
    left->Place(ClientWidth, ClientHeight);
    right->Place(ClientWidth, ClientHeight);
    EXPECT_EQ((std::vector<int32_t>{left->x, left->height}),
              (std::vector<int32_t>{0, ClientHeight - 1}));
    EXPECT_EQ((std::vector<int32_t>{right->x, right->height}),
              (std::vector<int32_t>{ClientWidth - 156, ClientHeight - 1}));
}

}  // namespace
