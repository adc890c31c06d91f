// The minimap on the sample world map (a 320 x 240 page showing the world from (1000, 1000), one
// pixel a tile): the wheel's zoom and its limits, centring on the player and the page edges, the
// markers' fade, what it draws, and its menu.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "driver/gfxcore.h"
#include "mappart.h"
#include "render.h"
#include "support/mapdata.h"
#include "support/packbytes.h"
#include "support/recordingconnection.h"
#include "support/recordingdriver.h"
#include "windows/dialogs/map.h"
#include "windows/game/action.h"
#include "windows/game/panelmap.h"
#include "windows/toolkit/panel.h"
#include "windows/toolkit/windowtypes.h"

namespace {

using Log = std::vector<std::string>;

constexpr uint16_t WorldX0 = 1000, WorldY0 = 1000;
constexpr int32_t PageWidth = 320, PageHeight = 240;
constexpr int32_t WheelNotch = 120;
constexpr uint16_t MarkerIcons = 10;  // the skin image of the marker icons

class PanelmapTest : public MapDriverTest {
protected:
    void SetUp() override {
        MapDriverTest::SetUp();
        Start();
        startedDriver = core->mapDriver;
        core->mapDriver = driver.get();
        column = new Panel(core, nullptr, Panel::Right);
        core->AddWindow(column);
        minimap = new Panelmap(core, column);
        column->Add(minimap);
    }

    void TearDown() override {
        core->mapDriver = startedDriver;
        MapDriverTest::TearDown();
        connection.reset();
    }

    // The player on the world map at a world tile, as the map selection message puts it.
    void PlayerAt(uint16_t x, uint16_t y) { ASSERT_TRUE(SelectWorld(x, y)); }

    void Wheel(int32_t delta) { minimap->OnWheel(minimap->x + 50, minimap->y + 50, delta); }

    // The menu a right click at a point of the minimap opens.
    Action* MenuAt(int32_t dx, int32_t dy) {
        minimap->OnRightClick(minimap->x + dx, minimap->y + dy);
        return static_cast<Action*>(core->FindWindow(WindowType::Action));
    }

    std::unique_ptr<RecordingConnection> connection;
    MapDriver* startedDriver = nullptr;
    Panel* column = nullptr;
    Panelmap* minimap = nullptr;
};

// --- Zoom --------------------------------------------------------------------------------------

TEST_F(PanelmapTest, ANotchOfTheWheelZoomsByTwelvePercent) {
    PlayerAt(1160, 1120);
    struct Case {
        int32_t delta;
        uint8_t inverse;
        float zoom;
    };
    for (const Case& c : {Case{WheelNotch, 0, 0.88f}, Case{WheelNotch, 1, 1.12f},
                          Case{-WheelNotch, 0, 1.12f}, Case{-WheelNotch, 1, 0.88f}}) {
        SCOPED_TRACE(testing::Message() << c.delta << " inverse " << int(c.inverse));
        minimap->zoom = 1.0f;
        core->options.inverse = c.inverse;
        Wheel(c.delta);
        EXPECT_FLOAT_EQ(minimap->zoom, c.zoom);
    }
}

TEST_F(PanelmapTest, TheZoomStopsAtItsLimits) {
    PlayerAt(1160, 1120);
    for (int i = 0; i < 20; ++i) Wheel(WheelNotch);
    EXPECT_FLOAT_EQ(minimap->zoom, 0.5f);
    for (int i = 0; i < 20; ++i) Wheel(-WheelNotch);
    EXPECT_FLOAT_EQ(minimap->zoom, 1.5f);
}

TEST_F(PanelmapTest, WithoutAMapTheWheelStillZooms) {
    minimap->OnWheel(0, 0, WheelNotch);
    EXPECT_FLOAT_EQ(minimap->zoom, 0.88f);
    EXPECT_EQ(minimap->scrollX, 0);
    EXPECT_EQ(minimap->scrollY, 0);
}

// --- Centring on the player ----------------------------------------------------------------------

TEST_F(PanelmapTest, ThePlayerIsCentredInTheView) {
    ASSERT_EQ(minimap->view.w, 146);
    PlayerAt(1160, 1120);
    EXPECT_FLOAT_EQ(minimap->zoom, 1.0f);
    // 160 - 73 and 120 - 73.
    EXPECT_EQ(minimap->OffsetX(), 87);
    EXPECT_EQ(minimap->OffsetY(), 47);

    minimap->zoom = 1.5f;
    minimap->CenterOnPlayer();
    // 160 / 1.5 - 73 = 33.7 and 120 / 1.5 - 73 = 7.
    EXPECT_EQ(minimap->OffsetX(), 33);
    EXPECT_EQ(minimap->OffsetY(), 7);
}

TEST_F(PanelmapTest, NearThePageEdgeTheZoomIsLowered) {
    struct Case {
        uint16_t x, y;
        float zoom;  // after centring from 1.0
    };
    // 60 px from the left edge, the centred view would start 13 px before the page: the zoom
    // is lowered by twice 13 / 73 (half the view). 63 px from the right edge and 100 px from
    // the top, it would end 10 px past the right edge. In a corner: as low as the zoom goes.
    for (const Case& c :
         {Case{1060, 1120, 1 - 2 * 13.0f / 73}, Case{1257, 1100, 1 - 2 * 10.0f / 73},
          Case{1000, 1000, 0.5f}, Case{1319, 1239, 0.5f}}) {
        SCOPED_TRACE(testing::Message() << c.x << ", " << c.y);
        minimap->zoom = 1.0f;
        PlayerAt(c.x, c.y);
        EXPECT_NEAR(minimap->zoom, c.zoom, 1e-4);
        EXPECT_GE(minimap->zoom, minimap->minZoom);
        // The view stays on the page.
        EXPECT_GE(minimap->scrollX, 0);
        EXPECT_GE(minimap->scrollY, 0);
        EXPECT_LE(minimap->OffsetX() + minimap->view.w, int32_t(PageWidth / minimap->zoom));
        EXPECT_LE(minimap->OffsetY() + minimap->view.h, int32_t(PageHeight / minimap->zoom));
    }
}

TEST_F(PanelmapTest, APageSmallerThanTheViewIsNeverScrolled) {
    PlayerAt(1160, 1120);
    minimap->pageHeight = 100;  // lower than the 146-px view
    minimap->scrollY = 30;
    EXPECT_EQ(minimap->OffsetY(), 0);
    // The page as the driver gives it: lower than the view even at the lowest zoom.
    driver->height = 60;
    minimap->CenterOnPlayer();
    EXPECT_FLOAT_EQ(minimap->zoom, minimap->minZoom);
    EXPECT_EQ(minimap->scrollY, 0);
    EXPECT_EQ(minimap->OffsetY(), 0);
    EXPECT_GE(minimap->OffsetX(), 0);
}

TEST_F(PanelmapTest, APageOfNoSizeIsNeverDividedBy) {
    PlayerAt(1160, 1120);
    const float zoom = minimap->zoom, scrollX = minimap->scrollX, scrollY = minimap->scrollY;
    driver->width = 0;
    minimap->CenterOnPlayer();
    EXPECT_EQ(minimap->zoom, zoom);
    EXPECT_EQ(minimap->scrollX, scrollX);
    EXPECT_EQ(minimap->scrollY, scrollY);
}

TEST_F(PanelmapTest, EveryPositionUpdateRecentresTheView) {
    PlayerAt(1160, 1120);
    ASSERT_TRUE(Move(1170, 1100));
    EXPECT_EQ(minimap->OffsetX(), 97);
    EXPECT_EQ(minimap->OffsetY(), 27);
}

// --- Drawing -----------------------------------------------------------------------------------

TEST_F(PanelmapTest, TheMarkersFadeOutAboveZoomOne) {
    struct Case {
        float zoom;
        uint32_t alpha;
    };
    for (const Case& c : {Case{0.5f, 255}, Case{1.0f, 255}, Case{1.1f, 127}, Case{1.2f, 0},
                          Case{1.3f, 0}, Case{1.5f, 0}}) {
        minimap->zoom = c.zoom;
        EXPECT_NEAR(minimap->MarkerAlpha(), c.alpha, 1) << c.zoom;
    }
}

class PanelmapDrawing : public PanelmapTest {
protected:
    void SetUp() override {
        PanelmapTest::SetUp();
        PlayerAt(1160, 1120);
        RecordingDriver::Install();
        GFX_FlushConfig();
        core->render->GetImage(MarkerIcons) = GFX_CreateImage(400, 16, nullptr, 0, 0, MarkerIcons);
        RecordingDriver::Take();
    }

    // The calls of one drawing of the window.
    Log Drawn() {
        RecordingDriver::Take();
        GFX_BeginFrame(nullptr);
        minimap->Draw();
        GFX_EndFrame();
        return RecordingDriver::Take();
    }

    static bool Has(const Log& log, const std::string& start) {
        for (const std::string& line : log)
            if (line.rfind(start, 0) == 0) return true;
        return false;
    }
};

TEST_F(PanelmapDrawing, ThePageIsDrawnScaledWithTheMarkersFadedOver) {
    core->options.smarkers = 1;
    minimap->zoom = 1.1f;
    minimap->CenterOnPlayer();
    const Log log = Drawn();
    EXPECT_TRUE(Has(log, "DrawTargetScaled(0,0,290.909,218.182,rt:0)"))
        << testing::PrintToString(log);
    EXPECT_TRUE(Has(log, "DrawTargetTinted(")) << testing::PrintToString(log);
    bool faded = false;
    for (const std::string& line : log)
        faded = faded || (line.rfind("DrawTargetTinted(", 0) == 0 &&
                          line.find(",0x7FFFFFFF,") != std::string::npos);
    EXPECT_TRUE(faded) << testing::PrintToString(log);
    // The cross's filling.
    EXPECT_TRUE(Has(log, "FillRect(")) << testing::PrintToString(log);
}

TEST_F(PanelmapDrawing, WithoutTheMarkerOptionsNoMarkersAreDrawn) {
    core->options.smarkers = core->options.sjournal = 0;
    EXPECT_FALSE(Has(Drawn(), "DrawTargetTinted("));
}

TEST_F(PanelmapDrawing, WithoutAMapOnlyTheFrameIsDrawn) {
    core->mapDriver = nullptr;
    const Log log = Drawn();
    core->mapDriver = driver.get();
    EXPECT_FALSE(Has(log, "DrawTargetScaled("));
    EXPECT_FALSE(Has(log, "FillRect("));
}

TEST_F(PanelmapDrawing, TheAtlasMarkersAreDrawnFromTheIconStrip) {
    MapPart& part = *driver->SelectedPart();
    part.labels = {{0, 100, 80, 3, "Mines", 0}, {0, 90, 70, 0, "Town", 0}};
    part.markers = {{1, 120, 90, 22, "Marker", 0}};
    core->options.smarkers = 0;
    minimap->RenderMarkers();
    // One icon, centred on its page point, cut from the strip by its number; the text label and
    // the hidden custom marker draw nothing.
    EXPECT_EQ(RecordingDriver::Take(),
              (Log{"BeginFrame(rt:0)", "DrawImagePartTinted(92,72,32,0,16,16,0xFFFFFFFF,img:10)",
                   "EndFrame()"}));
}

// --- The menu ----------------------------------------------------------------------------------

TEST_F(PanelmapTest, TheMenuOffersTheLargeMapAndMarkingTheLocation) {
    Action* menu = MenuAt(60, 80);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->title, "Map");
    ASSERT_EQ(menu->entries.size(), 2u);
    EXPECT_EQ(menu->entries[0].code, 50u);
    EXPECT_EQ(menu->entries[0].label, "Large map");
    EXPECT_EQ(menu->entries[0].hint, "Open");
    EXPECT_EQ(menu->entries[1].code, 61u);
    EXPECT_EQ(menu->entries[1].label, "Mark my location");
    core->RemoveWindow(menu);

    core->AddWindow(new Map(core));
    menu = MenuAt(60, 80);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->entries[0].hint, "Close");
}

TEST_F(PanelmapTest, TheTitleBandOffersTheColumnEntries) {
    Action* menu = MenuAt(60, 10);
    ASSERT_NE(menu, nullptr);
    ASSERT_FALSE(menu->entries.empty());
    for (const Action::Entry& entry : menu->entries) {
        EXPECT_GE(entry.code, 1u);
        EXPECT_LE(entry.code, 4u);
    }
}

TEST_F(PanelmapTest, MarkingTheLocationTellsTheServerInWorldTiles) {
    connection = std::make_unique<RecordingConnection>(core, StateGame);
    PlayerAt(1101, 1051);
    Action* menu = MenuAt(60, 80);
    ASSERT_NE(menu, nullptr);
    menu->Execute(1);
    // The page point (101, 51 - 4) shifted by the part's origin (1000, 1000).
    PackBytes expected;
    expected.U8(72).U16(1).U16(1101).U16(1047).U8(22).U8(6);
    for (char c : std::string("Marker")) expected.U8(uint8_t(c));
    EXPECT_EQ(connection->SentPayloads(1), std::vector<std::vector<uint8_t>>{expected.bytes});
    ASSERT_EQ(driver->SelectedPart()->markers.size(), 1u);
}

}  // namespace
