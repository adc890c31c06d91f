#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "driver/gfxcore.h"
#include "mouse.h"
#include "render.h"
#include "screen.h"
#include "support/recordingdriver.h"
#include "support/testcore.h"
#include "windows/toolkit/button.h"
#include "windows/toolkit/list.h"
#include "windows/toolkit/scrollbar.h"
#include "windows/toolkit/windowtypes.h"

namespace {

// The list's owner at (100, 50): it records what the list tells it, and deletes the list it
// hosts.
class ListOwner : public Window {
public:
    explicit ListOwner(Core* core) : Window(core) {
        Build();
        x = 100;
        y = 50;
        width = 300;
        height = 250;
    }
    ~ListOwner() override { delete list; }
    void OnListSelect(int32_t index) override { selections.push_back(index); }
    void OnSubmit() override { ++submits; }

    std::vector<int32_t> selections;
    int submits = 0;
};

// The calls of one drawing slot, by name, from a recorded log.
std::vector<std::string> CallsOf(const std::vector<std::string>& log, const std::string& slot) {
    std::vector<std::string> found;
    for (const std::string& call : log)
        if (call.compare(0, slot.size() + 1, slot + "(") == 0) found.push_back(call);
    return found;
}

std::string Hex(uint32_t value) {
    char text[16];
    snprintf(text, sizeof text, "0x%X", value);
    return text;
}

std::string Fill(int x, int y, int w, int h, uint32_t colour) {
    return "FillRect(" + std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(w) +
           "," + std::to_string(h) + "," + Hex(colour) + ",0x3)";
}

// The glyph of one character of the test font `fontId` drawn at (x, y).
std::string Glyph(int x, int y, char c, uint32_t colour, int fontId = 2) {
    const int code = static_cast<unsigned char>(c);
    return "DrawImagePartTinted(" + std::to_string(x) + "," + std::to_string(y) + "," +
           std::to_string(6 * (code % 16)) + "," + std::to_string(9 * (code / 16)) + ",5,8," +
           Hex(colour) + ",img:" + std::to_string(fontId) + ")";
}

class ListTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Skin image 1, so that the frame, the bar and the check boxes are drawn and logged.
        core->render->GetImage(1) = GFX_CreateImage(512, 512, nullptr, 0, 0, 1);
    }
    void TearDown() override { UseNullDriver(); }

    // A list hosted by the owner at (10, 20) of it: (110, 70) on the screen, 200 wide.
    List* Hosted(int32_t listHeight, int32_t itemCount) {
        delete owner->list;
        auto* list = new List(core.get(), owner, 10, 20, 200, listHeight);
        owner->list = list;
        for (int32_t i = 0; i < itemCount; ++i) list->AddItem("item" + std::to_string(i));
        return list;
    }
    // A list of its own in the window list, opened as a window.
    List* Opened(int32_t listHeight, int32_t itemCount) {
        auto* list = new List(core.get(), owner, 10, 20, 200, listHeight);
        for (int32_t i = 0; i < itemCount; ++i) list->AddItem("item" + std::to_string(i));
        core->AddWindow(list);
        list->OnOpen();
        return list;
    }
    Mouse* MouseAt(int32_t mx, int32_t my) {
        if (!core->screen) core->screen = new Screen(core.get(), 800, 600, 32, 0);
        core->screen->mouse->x = mx;
        core->screen->mouse->y = my;
        return core->screen->mouse;
    }
    bool Listed(Window* window) const {
        return std::find(core->windows.begin(), core->windows.end(), window) != core->windows.end();
    }

    std::unique_ptr<Core> core = MakeTestCore();
    ListOwner* owner = static_cast<ListOwner*>(core->AddWindow(new ListOwner(core.get())));
};

TEST_F(ListTest, AListIsPlacedOnItsOwnerAndPassesEnterOn) {
    List* list = Hosted(40, 0);
    EXPECT_EQ(list->typeId, WindowType::List);
    EXPECT_EQ(list->x, 110);
    EXPECT_EQ(list->y, 70);
    EXPECT_EQ(list->font, core->GetFont(2));
    EXPECT_EQ(list->selected, 0);
    owner->x = 200;
    list->Place(0, 0);
    EXPECT_EQ(list->x, 210);
    list->OnSubmit();
    EXPECT_EQ(owner->submits, 1);
}

TEST_F(ListTest, TheScrollBarComesWithTheFirstItemThatDoesNotFit) {
    const struct {
        int32_t height, items;
        bool bar;
    } cases[] = {{40, 3, true}, {44, 3, false}, {40, 2, false}, {10, 0, false}, {10, 1, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.height) + " " + std::to_string(c.items));
        List* list = Hosted(c.height, c.items);
        EXPECT_EQ(list->contentHeight, c.items ? 12 * c.items + 6 : 0);  // 0 until the first
        ASSERT_EQ(list->scroll != nullptr, c.bar);
        if (!c.bar) continue;
        EXPECT_EQ(list->scroll->owner, list);
        EXPECT_EQ(list->scroll->x, 182);
        EXPECT_EQ(list->scroll->y, 0);
        EXPECT_EQ(list->scroll->height, c.height);
        EXPECT_EQ(list->scroll->visible, c.height - 2);
        EXPECT_EQ(list->scroll->total, list->contentHeight);
        EXPECT_EQ(list->scroll->step, 12);
        EXPECT_EQ(list->scroll->vertical, 1);
    }
}

TEST_F(ListTest, TheBarFollowsTheContentAndStaysWhenCleared) {
    List* list = Hosted(40, 10);  // 126 pixels of content
    Scroll* bar = list->scroll;
    list->Select(9);
    EXPECT_EQ(bar->position, 88);
    list->RemoveItem(9);
    EXPECT_EQ(bar->total, 114);
    EXPECT_EQ(bar->position, 76);
    list->Clear();
    EXPECT_EQ(list->scroll, bar);
    EXPECT_EQ(list->contentHeight, 6);
    EXPECT_EQ(bar->total, 6);
    EXPECT_EQ(bar->position, 0);
}

TEST_F(ListTest, AClickSelectsTheItemUnderItAndTellsTheOwner) {
    List* list = Hosted(100, 5);
    const struct {
        int32_t y;
        int32_t selected;
        std::vector<int32_t> told;
    } cases[] = {
        {70 + 4 + 24 + 1, 2, {2}},
        {70 + 4 + 24 + 1, 2, {2, 2}},  // also when it was selected already
        {70 + 4 + 60 + 1, 2, {2, 2}},  // below the last item
        {70 + 2, 2, {2, 2}},           // the 4 pixels above the first item
        {70 + 4, 0, {2, 2, 0}},
    };
    for (const auto& c : cases) {
        owner->OnMouseDown(150, c.y);
        EXPECT_EQ(list->selected, c.selected) << c.y;
        EXPECT_EQ(owner->selections, c.told) << c.y;
    }
}

TEST_F(ListTest, MovingTheSelectionStaysWithinTheItems) {
    const struct {
        int32_t items, from, delta, to;
        bool told;
    } cases[] = {
        {3, 2, 1, 2, false}, {3, 0, -1, 0, false},      {3, 1, 1, 2, true},
        {3, 0, 2, 2, true},  {3, 1, INT_MIN, 1, false}, {3, 1, INT_MAX, 1, false},
        {0, 0, 1, 0, false}, {0, 0, 0, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.items) + " " + std::to_string(c.from) + " " +
                     std::to_string(c.delta));
        List* list = Hosted(100, c.items);
        list->selected = c.from;
        owner->selections.clear();
        list->MoveSelection(c.delta);
        EXPECT_EQ(list->selected, c.to);
        EXPECT_EQ(owner->selections, c.told ? std::vector<int32_t>{c.to} : std::vector<int32_t>{});
    }
}

TEST_F(ListTest, SelectTakesOnlyItemIndicesAndDoesNotTellTheOwner) {
    List* list = Hosted(100, 3);
    for (int32_t index : {3, -1, 1000}) {
        list->Select(index);
        EXPECT_EQ(list->selected, 0) << index;
    }
    list->Select(2);
    EXPECT_EQ(list->selected, 2);
    EXPECT_TRUE(owner->selections.empty());
}

TEST_F(ListTest, TheSelectionIsScrolledIntoView) {
    List* list = Hosted(40, 10);  // 38 pixels visible of 126
    const struct {
        int32_t index, position;
    } cases[] = {
        {9, 88},           // the last item with its bottom margin: the end
        {4, 40},           // from below: a step at a time until its top is in view
        {0, 0},  {4, 24},  // from above: its bottom at the bottom
        {6, 48},
    };
    for (const auto& c : cases) {
        list->Select(c.index);
        EXPECT_EQ(list->scroll->position, c.position) << c.index;
    }
    list->Select(0);
    for (int32_t i = 0; i < 9; ++i) list->MoveSelection(1);
    EXPECT_EQ(list->selected, 9);
    EXPECT_EQ(list->scroll->position, 88);
    EXPECT_EQ(owner->selections.size(), 9u);
}

TEST_F(ListTest, RemovalsKeepTheSelectionOnAnItem) {
    const struct {
        int32_t items, selected;
        uint8_t removed;
        int32_t count, selectedAfter;
    } cases[] = {
        {3, 2, 2, 2, 1},   // the selected last item
        {1, 0, 0, 0, -1},  // the only item
        {3, 1, 0, 2, 1},   // an item before the selection: the index stays
        {3, 1, 7, 3, 1},   // past the end: nothing
        {0, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.items) + " " + std::to_string(c.selected) + " " +
                     std::to_string(c.removed));
        List* list = Hosted(100, c.items);
        list->selected = c.selected;
        list->RemoveItem(c.removed);
        EXPECT_EQ(list->items.size(), static_cast<size_t>(c.count));
        EXPECT_EQ(list->marks.size(), list->items.size());
        EXPECT_EQ(list->selected, c.selectedAfter);
        if (c.count != c.items) {
            EXPECT_EQ(list->contentHeight, 12 * c.count + 6);
        }
    }
    List* list = Hosted(100, 3);
    list->selected = 2;
    list->Clear();
    EXPECT_EQ(list->selected, 0);
    EXPECT_TRUE(list->items.empty());
}

TEST_F(ListTest, MarksStayWithTheirItems) {
    List* list = Hosted(100, 0);
    list->AddItem("Anna");
    list->AddItemValue("Bert", 1);
    list->AddItem("Carl");
    list->RemoveItem(0);
    EXPECT_EQ(list->items, (std::vector<std::string>{"Bert", "Carl"}));
    EXPECT_EQ(list->marks, (std::vector<bool>{true, false}));
    list->FindItemNoCase("CARL", 1);
    list->FindItemNoCase("bert", 0);
    list->FindItemNoCase("Dora", 1);
    EXPECT_EQ(list->marks, (std::vector<bool>{false, true}));
}

TEST_F(ListTest, NamesAreFoundInLowerCase) {
    List* list = Hosted(100, 0);
    for (const char* name : {"Bob", "Admin", "admin", "Zoë"}) list->AddItem(name);
    EXPECT_EQ(list->FindItem("ADMIN"), 1);
    EXPECT_EQ(list->FindItem("bob"), 0);
    EXPECT_EQ(list->FindItem("Bo"), -1);
    EXPECT_EQ(list->FindItem("Bobby"), -1);
    EXPECT_TRUE(list->HasItemNoCase("zoë"));
    EXPECT_FALSE(list->HasItemNoCase(""));

    list->RemoveItemText("nobody");
    EXPECT_EQ(list->items.size(), 4u);
    list->RemoveItemText("ADMIN");
    EXPECT_EQ(list->items, (std::vector<std::string>{"Bob", "admin", "Zoë"}));
}

TEST_F(ListTest, RemovingByNamePastTheFirst256ItemsRemovesThatItem) {
    List* list = Hosted(100, 300);
    list->RemoveItemText("ITEM290");
    EXPECT_EQ(list->items.size(), 299u);
    EXPECT_EQ(list->FindItem("item290"), -1);
    EXPECT_EQ(list->FindItem("item34"), 34);  // 290 as a byte
    // By index only the first 256 can be named.
    list->RemoveItem(static_cast<uint8_t>(299));
    EXPECT_EQ(list->FindItem("item43"), -1);
}

TEST_F(ListTest, ItemsAreDrawnInTheirColours) {
    List* list = Hosted(100, 0);
    list->AddItem("a");
    list->AddItemValue("b", 1);
    list->AddItemValue("c", 1);
    list->AddItem("d");
    RecordingDriver::Install();
    const struct {
        int32_t selected;
        uint32_t colours[4];
    } cases[] = {
        {2, {0xC0FFFFFF, 0xC0FF8080, 0xFFFF8080, 0xC0FFFFFF}},
        {3, {0xC0FFFFFF, 0xC0FF8080, 0xC0FF8080, 0xFFFFFFFF}},
    };
    for (const auto& c : cases) {
        list->selected = c.selected;
        list->Draw();
        const std::vector<std::string> glyphs =
            CallsOf(RecordingDriver::Take(), "DrawImagePartTinted");
        ASSERT_EQ(glyphs.size(), 4u);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(glyphs[i], Glyph(116, 76 + 12 * i, "abcd"[i], c.colours[i]));
    }
}

TEST_F(ListTest, DrawingCopiesTheSurfaceClipsTheItemsAndDrawsTheBar) {
    List* list = Hosted(40, 3);  // with a bar: the content is 182 pixels wide
    list->selected = 1;
    RecordingDriver::Install();
    const GfxClipRect clip = gfxState.clip;
    list->Draw();
    std::vector<std::string> calls = RecordingDriver::Take();
    const std::vector<std::string> expected = {
        "DrawTargetPart(110,70,0,0,200,40,rt:0)",
        "SetClip(112,72,290,108)",
        Fill(113, 73 + 12, 176, 14, 0x20FFFFFF),
    };
    ASSERT_GT(calls.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(calls.begin(), calls.begin() + 3), expected);
    // Then the 15 glyphs of the three items, the clip of the whole screen again, the bar's
    // shortest thumb (3 pieces) and its two arrows.
    EXPECT_EQ(calls[3], Glyph(116, 76, 'i', 0xC0FFFFFF));
    char restored[64];
    snprintf(restored, sizeof restored, "SetClip(%g,%g,%g,%g)", clip.x0, clip.y0, clip.x1, clip.y1);
    EXPECT_EQ(calls[3 + 15], restored);
    EXPECT_EQ(calls.size(), 3u + 15 + 1 + 3 + 2);
    EXPECT_EQ(calls.back(), "DrawImagePart(292,96,0,16,18,14,img:1)");
    EXPECT_EQ(gfxState.originY, 0);

    // With the mouse over the list: a hover band over the first item and the outline.
    MouseAt(150, 75);
    list->Draw();
    calls = RecordingDriver::Take();
    EXPECT_EQ(calls[3], Fill(113, 73, 176, 12, 0x10FFFFFF));  // just above the selection
    const std::vector<std::string> outline(calls.end() - 4, calls.end());
    EXPECT_EQ(outline, (std::vector<std::string>{
                           Fill(110, 70, 181, 1, 0x20FFFFFF), Fill(291, 70, 1, 39, 0x20FFFFFF),
                           Fill(111, 109, 181, 1, 0x20FFFFFF), Fill(110, 71, 1, 39, 0x20FFFFFF)}));
}

// Logs the vertical drawing origin at every glyph drawn.
std::vector<float> glyphOrigins;
GfxDrawImagePartTintedFn loggedGlyph = nullptr;
void GlyphWithOrigin(float x, float y, float sx, float sy, float w, float h, uint32_t colour,
                     GfxImage* image) {
    glyphOrigins.push_back(gfxState.originY);
    loggedGlyph(x, y, sx, sy, w, h, colour, image);
}

TEST_F(ListTest, AScrolledListDrawsItsItemsMovedUpByThePosition) {
    List* list = Hosted(40, 10);
    list->scroll->SetPosition(36);
    RecordingDriver::Install();
    loggedGlyph = GfxDriver::DrawImagePartTinted;
    GfxDriver::DrawImagePartTinted = GlyphWithOrigin;
    glyphOrigins.clear();
    list->Draw();
    // Only the items that reach into the clip are drawn: items 2 to 5.
    const std::vector<std::string> glyphs = CallsOf(RecordingDriver::Take(), "DrawImagePartTinted");
    ASSERT_EQ(glyphs.size(), 4u * 5);
    EXPECT_EQ(glyphs[0], Glyph(116, 76 + 24, 'i', 0xC0FFFFFF));
    EXPECT_EQ(glyphOrigins, std::vector<float>(20, -36.0f));
    EXPECT_EQ(gfxState.originY, 0);
}

TEST_F(ListTest, TheHoverBandStaysOffTheSelectionBand) {
    List* list = Hosted(100, 5);  // no bar: bands are 194 wide
    list->selected = 2;
    RecordingDriver::Install();
    const struct {
        int32_t hovered;
        std::string band;
    } cases[] = {
        {1, Fill(113, 73 + 12, 194, 12, 0x10FFFFFF)},  // just above
        {3, Fill(113, 75 + 36, 194, 12, 0x10FFFFFF)},  // just below
        {0, Fill(113, 73, 194, 14, 0x10FFFFFF)},
        {2, Fill(113, 73 + 24, 194, 14, 0x10FFFFFF)},  // over the selected item itself
    };
    for (const auto& c : cases) {
        MouseAt(150, 70 + 4 + 12 * c.hovered + 5);
        list->Draw();
        const std::vector<std::string> fills = CallsOf(RecordingDriver::Take(), "FillRect");
        ASSERT_EQ(fills.size(), 2u + 4) << c.hovered;  // selection, hover, outline
        EXPECT_EQ(fills[0], Fill(113, 97, 194, 14, 0x20FFFFFF));
        EXPECT_EQ(fills[1], c.band) << c.hovered;
    }
    // Off the list: neither band nor outline.
    MouseAt(50, 50);
    list->Draw();
    EXPECT_EQ(CallsOf(RecordingDriver::Take(), "FillRect").size(), 1u);
    list->showSelection = 0;
    list->showHover = 0;
    MouseAt(150, 80);
    list->Draw();
    EXPECT_EQ(CallsOf(RecordingDriver::Take(), "FillRect").size(), 4u);  // the outline alone
}

TEST_F(ListTest, AnEmptiedListDrawsNoSelection) {
    List* list = Hosted(100, 1);
    list->RemoveItem(0);
    EXPECT_EQ(list->selected, -1);
    EXPECT_EQ(list->HitTestItem(150, 80), -1);
    list->AddItem("again");
    RecordingDriver::Install();
    list->Draw();
    EXPECT_TRUE(CallsOf(RecordingDriver::Take(), "FillRect").empty());
    owner->OnMouseDown(150, 80);
    EXPECT_EQ(list->selected, 0);
}

TEST_F(ListTest, PaintingLeavesRoomForTheTrackOfTheBar) {
    List* list = Hosted(40, 3);
    RecordingDriver::Install();
    list->Paint();
    std::vector<std::string> calls = RecordingDriver::Take();
    EXPECT_FALSE(list->dirty);
    ASSERT_GE(calls.size(), 4u);
    EXPECT_NE(std::find(calls.begin(), calls.end(), "DrawImagePart(179,0,67,20,3,3,img:1)"),
              calls.end());  // the frame's top-right corner: 182 wide
    const std::vector<std::string> track(calls.end() - 4, calls.end() - 1);
    EXPECT_EQ(track, (std::vector<std::string>{
                         "DrawImagePart(182,15,260,227,18,3,img:1)",
                         "DrawImagePartTiledGradient(182,18,18,4,0,0,18,2,260,231,18,2,0xFFFFFFFF,"
                         "0xFFFFFFFF,0xFFFFFFFF,0xFFFFFFFF,img:1)",
                         "DrawImagePart(182,22,260,234,18,3,img:1)"}));
    list->Paint();  // not dirty: nothing is drawn
    EXPECT_TRUE(CallsOf(RecordingDriver::Take(), "DrawImagePart").empty());
}

TEST_F(ListTest, TheWheelStepsTheBar) {
    List* list = Hosted(40, 10);
    owner->OnWheel(150, 80, -120);
    EXPECT_EQ(list->scroll->position, 12);
    owner->OnWheel(150, 80, 120);
    EXPECT_EQ(list->scroll->position, 0);
    owner->OnWheel(50, 80, -120);  // off the list
    EXPECT_EQ(list->scroll->position, 0);
    List* short_ = Hosted(100, 2);
    short_->OnWheel(150, 80, -120);  // no bar: nothing
    EXPECT_EQ(short_->scroll, nullptr);
}

TEST_F(ListTest, AHostedListsArrowsAreReachedThroughItsOwner) {
    List* list = Hosted(40, 10);
    Mouse* mouse = MouseAt(0, 0);
    Button* down = owner->FindButton(Scroll::DownArrow);
    ASSERT_NE(down, nullptr);
    EXPECT_EQ(down->owner, list->scroll);
    EXPECT_EQ(owner->ButtonAt(300, 100), down);
    mouse->OnLeftDown(0, MAKELPARAM(300, 100));
    mouse->OnLeftUp(0, MAKELPARAM(300, 100));
    EXPECT_EQ(list->scroll->position, 12);
    EXPECT_TRUE(Listed(owner));
}

TEST_F(ListTest, AThumbDragEndsWhenReleasedOffTheList) {
    // 20 items in 100 pixels: a thumb of 27 pixels travels 43 pixels for 148 positions.
    List* list = Hosted(100, 20);
    Mouse* mouse = MouseAt(0, 0);
    mouse->OnLeftDown(0, MAKELPARAM(300, 90));
    EXPECT_TRUE(list->dragging);
    EXPECT_TRUE(owner->IsDragging());
    mouse->OnMove(MK_LBUTTON, MAKELPARAM(300, 110));
    EXPECT_EQ(list->scroll->position, 20 * 148 / 43);
    mouse->OnMove(0, MAKELPARAM(300, 130));  // the button no longer held: the bar stays
    EXPECT_EQ(list->scroll->position, 20 * 148 / 43);
    mouse->OnLeftUp(0, MAKELPARAM(600, 400));
    EXPECT_FALSE(list->dragging);
    EXPECT_FALSE(owner->IsDragging());
}

TEST_F(ListTest, AnOpenedListPutsItsBarAboveItself) {
    List* list = Opened(40, 10);
    Scroll* bar = list->scroll;
    ASSERT_EQ(core->windows.size(), 3u);
    EXPECT_EQ(core->windows[1], list);
    EXPECT_EQ(core->windows[2], bar);
    list->OnOpen();  // once only
    EXPECT_EQ(core->windows.size(), 3u);

    // The bar takes its own clicks.
    Mouse* mouse = MouseAt(0, 0);
    mouse->OnLeftDown(0, MAKELPARAM(300, 100));
    mouse->OnLeftUp(0, MAKELPARAM(300, 100));
    EXPECT_EQ(bar->position, 12);

    core->RemoveWindow(list);
    EXPECT_FALSE(Listed(bar));
    EXPECT_EQ(core->windows.size(), 1u);
}

TEST_F(ListTest, ABarNeededAfterOpeningGoesRightAboveTheList) {
    List* list = Opened(40, 2);
    EXPECT_EQ(list->scroll, nullptr);
    Window* above = core->AddWindow(new ListOwner(core.get()));
    list->AddItem("third");
    ASSERT_NE(list->scroll, nullptr);
    EXPECT_EQ(core->windows, (std::vector<Window*>{owner, list, list->scroll, above}));
    EXPECT_EQ(core->activeWindow, above);
}

TEST_F(ListTest, AClosingListLeavesItsBarToTheFrame) {
    List* list = Opened(40, 10);
    Scroll* bar = list->scroll;
    list->state = 3;
    core->RenderFrame();
    EXPECT_FALSE(Listed(list));
    EXPECT_FALSE(Listed(bar));
    EXPECT_EQ(core->windows.size(), 1u);

    // Removed at once while closing: the bar stays for the next frame, ownerless and not hit.
    list = Opened(40, 10);
    bar = list->scroll;
    list->state = 3;
    core->RemoveWindow(list);
    ASSERT_TRUE(Listed(bar));
    EXPECT_EQ(bar->state, 3u);
    EXPECT_EQ(bar->owner, nullptr);
    EXPECT_FALSE(bar->HitTest(300, 100));
    EXPECT_EQ(core->WindowAt(300, 100), owner);
    core->RenderFrame();
    EXPECT_FALSE(Listed(bar));
}

TEST_F(ListTest, ClosingTheCoreWithAnOpenedListDeletesEachWindowOnce) {
    Opened(40, 10);
    Opened(40, 10);
    core.reset();
}

// Row mode: option rows of the settings pages.
class RowListTest : public ListTest {
protected:
    void SetUp() override {
        ListTest::SetUp();
        core->AddFont(12, MakeTestFont(core.get(), 12));
    }
    List* Rows() {
        List* list = Hosted(200, 0);
        list->mode = List::RowMode;
        list->AddRow(Row(1, "Interface", "", 0));
        list->AddRow(Row(2, "Push to talk", "Hold a key to speak.", 45));
        list->AddRow(Row(0, "Plain", "", 0));
        return list;
    }
    static ListRow Row(uint32_t kind, std::string text, std::string detail, uint32_t optionId) {
        ListRow row;
        row.kind = kind;
        row.text = std::move(text);
        row.detail = std::move(detail);
        row.optionId = optionId;
        return row;
    }
};

TEST_F(RowListTest, RowsAreLaidOutOneBelowTheOther) {
    List* list = Rows();
    ASSERT_EQ(list->rows.size(), 3u);
    const struct {
        int32_t top, textHeight, detailHeight, height;
        uint8_t selectable;
    } expected[] = {
        {0, 20, 0, 25, 0},    // a heading: 20 pixels a line
        {25, 12, 12, 31, 1},  // a check box with a description: 2 pixels between
        {56, 12, 0, 17, 0},
    };
    for (size_t i = 0; i < 3; ++i) {
        const ListRow& row = list->rows[i];
        EXPECT_EQ(row.top, expected[i].top) << i;
        EXPECT_EQ(row.textHeight, expected[i].textHeight) << i;
        EXPECT_EQ(row.detailHeight, expected[i].detailHeight) << i;
        EXPECT_EQ(row.height, expected[i].height) << i;
        EXPECT_EQ(row.selectable, expected[i].selectable) << i;
    }
    EXPECT_EQ(list->contentHeight, 73);

    // Titles wrap at the width less 32 pixels: 24 characters of the test font.
    list->AddRow(Row(0, "twelve chars twelve chars", "", 0));
    EXPECT_EQ(list->rows[3].lines, (std::vector<std::string>{"twelve chars twelve", "chars"}));
    EXPECT_EQ(list->rows[3].height, 29);

    // A removal moves the rows after it up.
    list->RemoveItem(0);
    EXPECT_EQ(list->rows[0].top, 0);
    EXPECT_EQ(list->rows[1].top, 31);
    EXPECT_EQ(list->rows[2].top, 48);
    EXPECT_EQ(list->contentHeight, 77);
}

TEST_F(RowListTest, AClickOnAnOptionRowFlipsTheOptionAndItsBox) {
    List* list = Rows();
    const int32_t secondRow = 70 + 4 + 25 + 3;
    EXPECT_EQ(list->HitTestItem(150, secondRow), 1);
    EXPECT_EQ(list->HitTestItem(150, 70 + 4 + 73), -1);
    owner->OnMouseDown(150, secondRow);
    EXPECT_EQ(list->selected, 1);
    EXPECT_EQ(core->options.push, 1);
    EXPECT_EQ(list->rows[1].checkState, 1);
    owner->OnMouseDown(150, secondRow);
    EXPECT_EQ(core->options.push, 0);
    EXPECT_EQ(list->rows[1].checkState, 0);
    EXPECT_TRUE(owner->selections.empty());

    // A row added while the option is on shows its box checked.
    core->options.lootcont = 1;
    list->AddRow(Row(2, "Loot", "", 139));
    EXPECT_EQ(list->rows[3].checkState, 1);
}

TEST_F(RowListTest, AHeadingCanBeSelectedButShowsNoBand) {
    List* list = Rows();
    list->selected = 2;
    owner->OnMouseDown(150, 75);
    EXPECT_EQ(list->selected, 0);
    RecordingDriver::Install();
    list->Draw();
    EXPECT_TRUE(CallsOf(RecordingDriver::Take(), "FillRect").empty());
    list->selected = 1;
    list->Draw();
    EXPECT_EQ(CallsOf(RecordingDriver::Take(), "FillRect"),
              std::vector<std::string>{Fill(113, 73 + 25, 194, 31, 0x20FFFFFF)});
}

TEST_F(RowListTest, RowsDrawTheirBoxTitleAndFadedDescription) {
    List* list = Rows();
    list->selected = 1;
    core->options.push = 1;
    list->SyncRowCheck(1);
    RecordingDriver::Install();
    list->Draw();
    const std::vector<std::string> calls = RecordingDriver::Take();
    auto at = [&](const std::string& call) { return std::find(calls.begin(), calls.end(), call); };
    // The heading in font 12, 5 pixels left and 10 up.
    EXPECT_NE(at(Glyph(111, 66, 'I', 0xC0FFFFFF, 12)), calls.end());
    // The checked box, the title beside it and the description at 40 % of the row's alpha.
    const auto box = at("DrawImagePart(116,100,79,236,14,14,img:1)");
    const auto title = at(Glyph(136, 101, 'P', 0xFFFFFFFF, 1));
    const auto detail = at(Glyph(136, 115, 'H', 0x66FFFFFF));
    ASSERT_NE(box, calls.end());
    ASSERT_NE(title, calls.end());
    ASSERT_NE(detail, calls.end());
    EXPECT_LT(box, title);
    EXPECT_LT(title, detail);
    // The plain row, not selected.
    EXPECT_NE(at(Glyph(136, 132, 'P', 0xC0FFFFFF, 1)), calls.end());

    core->options.push = 0;
    list->SyncRowCheck(1);
    list->Draw();
    const std::vector<std::string> unchecked = RecordingDriver::Take();
    EXPECT_NE(std::find(unchecked.begin(), unchecked.end(),
                        "DrawImagePart(116,100,65,236,14,14,img:1)"),
              unchecked.end());
}

}  // namespace
