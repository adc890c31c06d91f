// The world map window on an in-memory atlas (a world map of one 2000 x 1500 page showing the
// world from (1000, 1000), one pixel a tile): its point transforms and scroll limits, the wheel,
// the markers and what the server hears of them, the hit test and the menus.
#include "windows/dialogs/map.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "mappart.h"
#include "support/mapwindow.h"
#include "support/recordingdriver.h"
#include "windows/dialogs/marker.h"
#include "windows/game/action.h"
#include "windows/toolkit/windowtypes.h"

namespace {

using Bytes = std::vector<uint8_t>;

constexpr int32_t WheelNotch = 120;

// The screen point over a page point at the map's zoom and scroll.
void ScreenOf(const Map& map, float px, float py, int32_t& sx, int32_t& sy) {
    sx = map.x + map.view.x + int32_t(px / map.zoom - map.scroll.x);
    sy = map.y + map.view.y + int32_t(py / map.zoom - map.scroll.y);
}

std::vector<std::string> Labels(const Action& menu) {
    std::vector<std::string> labels;
    for (const Action::Entry& entry : menu.entries) labels.push_back(entry.label);
    return labels;
}

class MapWindow : public MapWindowTest {
protected:
    Action* MenuAt(Map& map, int32_t sx, int32_t sy) {
        map.OnRightClick(sx, sy);
        return static_cast<Action*>(core->FindWindow(WindowType::Action));
    }
};

TEST_F(MapWindow, OpensCentredOnThePlayerAndDraws) {
    Atlas(2000, 1500, 1700, 1500);
    Map* map = Open();
    EXPECT_EQ(map->width, 700);
    EXPECT_EQ(map->height, 500);
    EXPECT_EQ(map->view.w, 690);
    EXPECT_EQ(map->view.h, 473);
    EXPECT_EQ(map->name, "Veltor");
    EXPECT_EQ(map->zoom, 1.0f);
    EXPECT_EQ(map->follow, 0);
    // The player's page point (700, 500) at the middle of the view.
    EXPECT_EQ(map->baseScroll.x, 700 - 345);
    EXPECT_EQ(map->baseScroll.y, 500 - 236);
    map->Paint();
    map->Draw();
    EXPECT_FALSE(RecordingDriver::Take().empty());
}

TEST_F(MapWindow, ScreenPointsBecomePagePointsAtTheZoom) {
    Atlas(2000, 1500);
    Map* map = Open();
    map->scroll = {10, 20};
    const int32_t sx = map->x + map->view.x + 100, sy = map->y + map->view.y + 50;
    for (const float zoom : {1.0f, 0.5f}) {
        SCOPED_TRACE(zoom);
        map->zoom = zoom;
        const MapPoint page = map->ScreenToPage(sx, sy);
        EXPECT_FLOAT_EQ(page.x, 110 * zoom);
        EXPECT_FLOAT_EQ(page.y, 70 * zoom);
    }
}

TEST_F(MapWindow, APageSmallerThanTheViewNeverScrolls) {
    Atlas(300, 200);
    Map* map = Open();
    const int32_t cx = map->x + 300, cy = map->y + 200;
    for (const int32_t d : {-400, -1, 1, 400}) {
        SCOPED_TRACE(d);
        map->OnMouseDown(cx, cy);
        EXPECT_EQ(map->draggingMap, 1);
        map->OnMouseUp(cx + d, cy - d);
        EXPECT_EQ(map->baseScroll.x, 0);
        EXPECT_EQ(map->baseScroll.y, 0);
        const MapPoint drawn = map->ClampScroll({float(d), float(-d)}, false);
        EXPECT_EQ(drawn.x, 0);
        EXPECT_EQ(drawn.y, 0);
    }
}

TEST_F(MapWindow, ADragScrollsWithinThePage) {
    Atlas(2000, 1500);
    Map* map = Open();
    map->baseScroll = map->scroll = {100, 100};
    const int32_t cx = map->x + 300, cy = map->y + 200;
    map->OnMouseDown(cx, cy);
    map->OnMouseUp(cx - 50, cy + 30);
    EXPECT_EQ(map->baseScroll.x, 150);
    EXPECT_EQ(map->baseScroll.y, 70);
    map->OnMouseDown(cx, cy);
    map->OnMouseUp(cx - 5000, cy - 5000);
    EXPECT_EQ(map->baseScroll.x, 2000 - 690);
    EXPECT_EQ(map->baseScroll.y, 1500 - 473);
}

TEST_F(MapWindow, TheWheelZoomsAboutThePointerWithinItsLimits) {
    Atlas(4000, 3000);
    Map* map = Open();
    map->baseScroll = map->scroll = {800, 600};
    const int32_t mx = map->x + map->view.x + 200, my = map->y + map->view.y + 100;
    const MapPoint before = map->ScreenToPage(mx, my);
    map->OnWheel(mx, my, -WheelNotch);
    EXPECT_FLOAT_EQ(map->zoom, 1.12f);
    const MapPoint after = map->ScreenToPage(mx, my);
    EXPECT_NEAR(after.x, before.x, 0.01);
    EXPECT_NEAR(after.y, before.y, 0.01);

    for (int i = 0; i < 10; ++i) map->OnWheel(mx, my, -WheelNotch);
    EXPECT_EQ(map->zoom, map->maxZoom);
    const MapPoint atMax = map->baseScroll;
    map->OnWheel(mx, my, -WheelNotch);
    EXPECT_EQ(map->baseScroll.x, atMax.x);
    for (int i = 0; i < 20; ++i) map->OnWheel(mx, my, WheelNotch);
    EXPECT_EQ(map->zoom, map->minZoom);
    // The option turns the wheel around.
    core->options.inverse = 1;
    map->OnWheel(mx, my, WheelNotch);
    EXPECT_FLOAT_EQ(map->zoom, 0.56f);
}

TEST_F(MapWindow, FiveHundredMarkersAreTheLimit) {
    MapPart& part = Atlas(2000, 1500);
    Map* map = Open();
    for (uint16_t id = 1; id < 500; ++id) part.markers.push_back(Label(id, 0, 0, 1, ""));
    map->AddMarker(uint32_t(map->x + 100), uint32_t(map->y + 100), "Last", 2);
    ASSERT_EQ(part.markers.size(), 500u);
    EXPECT_EQ(part.markers.back().id, 500);
    EXPECT_EQ(ShownMessage(), "");
    Sent();

    map->AddMarker(uint32_t(map->x + 100), uint32_t(map->y + 100), "Over", 2);
    EXPECT_EQ(part.markers.size(), 500u);
    EXPECT_EQ(ShownMessageTitle(), "Map Marker");
    EXPECT_EQ(ShownMessage(), "You've reached the limit of 500 markers.");
    EXPECT_TRUE(Sent().empty());

    map->RemoveMarker(7);
    map->AddMarker(uint32_t(map->x + 100), uint32_t(map->y + 100), "Again", 2);
    EXPECT_EQ(part.markers.back().id, 7);
}

TEST_F(MapWindow, TheServerHearsOfMarkersInWorldCoordinates) {
    MapPart& part = Atlas(2000, 1500);
    Map* map = Open();
    map->baseScroll = map->scroll = {100, 50};
    const int32_t sx = map->x + map->view.x + 30, sy = map->y + map->view.y + 40;
    map->AddMarker(uint32_t(sx), uint32_t(sy), "Cave", 2);
    ASSERT_EQ(part.markers.size(), 1u);
    EXPECT_EQ(part.markers[0].x, 130);
    EXPECT_EQ(part.markers[0].y, 90);
    EXPECT_EQ(Sent(), std::vector<Bytes>{MarkerRequest(1, 1130, 1090, 2, "Cave")});

    map->EditMarker(1, "Dock", 6);
    EXPECT_EQ(part.markers[0].text, "Dock");
    EXPECT_EQ(part.markers[0].icon, 6);
    EXPECT_EQ(Sent(), (std::vector<Bytes>{{73, 1}, MarkerRequest(1, 1130, 1090, 6, "Dock")}));

    // An unknown id: editing does nothing, removing still tells the server.
    map->EditMarker(9, "None", 3);
    map->RemoveMarker(9);
    EXPECT_EQ(Sent(), std::vector<Bytes>{(Bytes{73, 9})});
    EXPECT_EQ(part.markers.size(), 1u);
    EXPECT_EQ(map->FindMarker(9).id, uint16_t(-1));
    EXPECT_EQ(map->FindMarker(1).text, "Dock");
    // Ids past 255 travel as their low byte: the server reads one.
    map->RemoveMarker(300);
    EXPECT_EQ(Sent(), std::vector<Bytes>{(Bytes{73, 44})});
}

TEST_F(MapWindow, OnlyIconKindsAreHit) {
    MapPart& part = Atlas(2000, 1500);
    core->options.smarkers = core->options.sjournal = 1;
    Map* map = Open();
    map->baseScroll = map->scroll = {0, 0};
    int32_t sx = 0, sy = 0;
    ScreenOf(*map, 200, 200, sx, sy);
    for (const uint8_t kind : {0, 240, 255}) {
        SCOPED_TRACE(int(kind));
        part.markers = {Label(3, 200, 200, kind, "Custom")};
        part.journalMarkers = {Label(1, 200, 200, kind, "Quest", 1)};
        part.labels = {Label(0, 200, 200, kind, "Town")};
        EXPECT_EQ(int16_t(map->PickAt(sx, sy).id), -1);
    }
    part.markers = {Label(3, 200, 200, 5, "Custom")};
    EXPECT_EQ(map->PickAt(sx, sy).text, "Custom");
    // Hidden custom markers leave the journal's; the atlas icons answer whatever the option.
    core->options.smarkers = 0;
    part.journalMarkers = {Label(1, 200, 200, 4, "Quest", 1)};
    EXPECT_EQ(map->PickAt(sx, sy).text, "Quest");
    core->options.sjournal = 0;
    core->options.stowns = 0;
    part.labels = {Label(0, 200, 200, 4, "Shrine")};
    EXPECT_EQ(map->PickAt(sx, sy).text, "Shrine");
}

TEST_F(MapWindow, TheMenuFollowsTheRecordUnderThePointer) {
    MapPart& part = Atlas(2000, 1500);
    core->options.smarkers = core->options.sjournal = 1;
    Map* map = Open();
    map->baseScroll = map->scroll = {0, 0};
    part.journalMarkers = {Label(2, 100, 100, 4, "Rats", 1)};
    part.markers = {Label(12, 300, 100, 4, "Home")};
    part.labels = {Label(0, 500, 100, 7, "Icon")};
    struct Case {
        float px;
        std::string title;
        std::vector<std::string> first;
    } cases[] = {
        {100, "Rats", {"Show journal entry"}},
        {300, "Marker", {"Edit marker", "Remove marker"}},
        {500, "Map", {"Add marker"}},
        {600, "Map", {"Add marker"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.px);
        int32_t sx = 0, sy = 0;
        ScreenOf(*map, c.px, 100, sx, sy);
        Action* menu = MenuAt(*map, sx, sy);
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->title, c.title);
        std::vector<std::string> labels = Labels(*menu);
        labels.resize(c.first.size());
        EXPECT_EQ(labels, c.first);
        core->RemoveWindow(menu);
    }
    // Outside the view: no menu.
    map->OnRightClick(map->x + 2, map->y + 2);
    EXPECT_EQ(core->FindWindow(WindowType::Action), nullptr);
}

TEST_F(MapWindow, TheZoomEntriesStopAtTheLimits) {
    Atlas(2000, 1500);
    Map* map = Open();
    const int32_t sx = map->x + 300, sy = map->y + 300;
    struct Case {
        float zoom;
        bool in, out;
    } cases[] = {{0.5f, false, true}, {1.0f, true, true}, {1.5f, true, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.zoom);
        map->zoom = c.zoom;
        Action* menu = MenuAt(*map, sx, sy);
        ASSERT_NE(menu, nullptr);
        const std::vector<std::string> labels = Labels(*menu);
        const auto has = [&](const char* label) {
            return std::find(labels.begin(), labels.end(), label) != labels.end();
        };
        EXPECT_EQ(has("Zoom in"), c.in);
        EXPECT_EQ(has("Zoom out"), c.out);
        core->RemoveWindow(menu);
    }
}

TEST_F(MapWindow, ClosingClosesTheMarkerDialog) {
    Atlas(2000, 1500);
    Map* map = Open();
    core->AddWindow(new Marker(core, 100, 100))->OnOpen();
    ASSERT_NE(core->FindWindow(WindowType::Marker), nullptr);
    map->Close();
    EXPECT_EQ(core->FindWindow(WindowType::Marker), nullptr);
    EXPECT_EQ(core->FindWindow(WindowType::Map), nullptr);
}

TEST_F(MapWindow, WithoutASelectedMapNothingOpens) {
    EXPECT_FALSE(Map::CanOpen(core));
    auto* menu = new Action(core, nullptr, "", 0);
    menu->AddEntry(50, "Large map");
    core->AddWindow(menu);
    menu->Execute(0);
    EXPECT_EQ(core->FindWindow(WindowType::Map), nullptr);
    Atlas(2000, 1500);
    EXPECT_TRUE(Map::CanOpen(core));
    menu = new Action(core, nullptr, "", 0);
    menu->AddEntry(50, "Large map");
    core->AddWindow(menu);
    menu->Execute(0);
    EXPECT_NE(core->FindWindow(WindowType::Map), nullptr);
}

}  // namespace
