#include "windows/game/padding.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "core.h"
#include "creature.h"
#include "font.h"
#include "keynames.h"
#include "protocol.h"
#include "render.h"
#include "spell.h"
#include "windows/game/field.h"
#include "windows/game/hudbar.h"
#include "windows/game/spellbar.h"
#include "windows/toolkit/windowtypes.h"
#include "world.h"

namespace {

// The side columns are this wide. Below the console the field keeps a column's width and a
// 2-pixel edge free on both sides; it starts 6 pixels down and leaves 2 above the console.
constexpr int32_t ColumnWidth = 156;
constexpr int32_t FieldLeft = ColumnWidth + 2;
constexpr int32_t SideMargin = 2 * FieldLeft;
constexpr int32_t FieldTop = 6;
constexpr int32_t FieldMargin = FieldTop + 2;
constexpr int32_t MinConsoleHeight = 220;
// What the console leaves of the client height when the player makes it taller.
constexpr int32_t MinFieldSpace = 392;
// The frame's width around the field in the layout below the console.
constexpr int32_t FrameEdge = 2;

// The fixed field sizes of the `pixel` option (one or two screen pixels a view pixel), without
// and with `elastic`; the client must hold the small one with the smallest console.
struct PixelSizes {
    int32_t smallWidth, smallHeight, largeWidth, largeHeight;
};
constexpr PixelSizes PlainPixelSizes{602, 474, 1210, 954};
constexpr PixelSizes ElasticPixelSizes{574, 446, 1150, 894};

constexpr uint16_t SkinAtlas = 1, FrameImage = 2, FieldImage = 6;
constexpr uint32_t DarkEdge = 0xFF0E0C0B, LightEdge = 0xFF3A3634;
constexpr uint32_t White = 0xFFFFFFFF;
constexpr uint32_t DebugColour = 0xE0E0E0E0;
constexpr int32_t RowHeight = 12;
constexpr int32_t DebugLabelInset = 107, DebugValueInset = 7;

// The on-field ability bar: twelve cells under a translucent band, and in the wide layout the
// health and mana gauges above them.
constexpr int32_t BarHalfWidth = 272;
constexpr int32_t CellSize = 38, CellStep = 46;
constexpr uint32_t BandColour = 0x60000000, BandEdgeTop = 0x1CFFFFFF, BandEdgeBottom = 0x10FFFFFF;
constexpr uint32_t BoxColour = 0x50000000, EdgeTop = 0x2CFFFFFF, EdgeBottom = 0x10FFFFFF;
constexpr int32_t GaugeWidth = 268, GaugeHeight = 10, GaugeFill = 262;
constexpr int32_t PulsePeriod = 1000;
constexpr double Pi = 3.14159265358979323846;

// Creature frames: at most six, three a row, 210 pixels apart; each fades over 500 ms.
constexpr size_t MaxCreatureFrames = 6;
constexpr int32_t FramesPerRow = 3, FrameSpacing = 210, FrameRowHeight = 80;
constexpr uint64_t FadeMs = 500;
constexpr int32_t HealthBarWidth = 154;
constexpr uint32_t HealthColour = 0xF06000;
constexpr uint32_t NameFont = 4;

int32_t ClampToInt(uint32_t value) { return int32_t(std::min<uint32_t>(value, INT32_MAX)); }

// The smallest whole scale that covers `size`; 0 for an empty size.
int32_t ScaleCovering(int32_t size, int32_t unit) {
    return size > 0 ? (size + unit - 1) / unit : 0;
}

// The 19:15 view: a width for a height and a height for a width.
int32_t ViewWidthFor(int32_t height) { return height * Field::SurfaceWidth / Field::SurfaceHeight; }
int32_t ViewHeightFor(int32_t width) { return width * Field::SurfaceHeight / Field::SurfaceWidth; }

// A fade of 500 ms eased in and out: 0 at the start, 1 at the end.
double Eased(uint64_t elapsedMs) {
    const double t = double(std::min(elapsedMs, FadeMs));
    return (1 - std::cos(Pi * t / double(FadeMs))) / 2;
}

uint32_t WithAlpha(double alpha, uint32_t opaqueAlpha, uint32_t rgb) {
    return uint32_t(alpha * opaqueAlpha) << 24 | rgb;
}

}  // namespace

Padding::Padding(Core* core, Window* owner) : Window(core) {
    this->owner = owner;
    Build();
}

Padding::~Padding() {
    if (field && field->padding == this) field->padding = nullptr;
}

void Padding::Build() {
    x = ColumnWidth;
    y = 0;
    width = ClampToInt(core->clientWidth);
    height = ClampToInt(core->clientHeight);
    ResetLayout();
    typeId = WindowType::Padding;
    name.clear();
    barVisible = 0;
    if (!field) {
        field = new Field(core, this);
        core->AddWindow(field);
    }
    font = core->GetFont(1);
    // Placed around the field at once: unplaced, the frame would cover the console.
    Place(width, height);
}

WindowRect Padding::Layout(int32_t screenWidth, int32_t screenHeight) {
    fieldRect = core->options.widescreen
                    ? LayoutWide(screenWidth, screenHeight)
                    : LayoutBelowConsole(screenWidth, screenHeight, owner ? owner->GetRect().h : 0);
    return fieldRect;
}

WindowRect Padding::LayoutForConsole(int32_t requestedHeight) {
    const int32_t screenWidth = ClampToInt(core->clientWidth);
    const int32_t screenHeight = ClampToInt(core->clientHeight);
    if (core->options.widescreen) return Layout(screenWidth, screenHeight);
    fieldRect = LayoutBelowConsole(screenWidth, screenHeight, requestedHeight);
    return fieldRect;
}

WindowRect Padding::LayoutBelowConsole(int32_t screenWidth, int32_t screenHeight,
                                       int32_t requestedHeight) {
    const int32_t W = screenWidth, H = screenHeight;
    int32_t console = std::max(std::min(requestedHeight, H - MinFieldSpace), MinConsoleHeight);
    WindowRect f{0, FieldTop, 0, H - console - FieldMargin};
    f.w = ViewWidthFor(f.h);
    f.x = FieldLeft + (W - f.w - SideMargin) / 2;
    if (f.w + SideMargin >= W) {
        f.x = FieldLeft;
        f.w = W - SideMargin;
        f.h = ViewHeightFor(f.w);
        console = H - f.h - FieldMargin;
    }
    const PixelSizes& sizes = core->options.elastic ? ElasticPixelSizes : PlainPixelSizes;
    if (core->options.pixel && H >= sizes.smallHeight + MinConsoleHeight + FieldMargin &&
        W >= sizes.smallWidth + SideMargin) {
        const bool large =
            H >= console + sizes.largeHeight + FieldMargin && W >= sizes.largeWidth + SideMargin;
        f.w = large ? sizes.largeWidth : sizes.smallWidth;
        f.h = large ? sizes.largeHeight : sizes.smallHeight;
        f.x = FieldLeft + (W - f.w - SideMargin) / 2;
        // Centred in the space above the console, with the height the console is given here.
        if (H - console >= f.h + FieldMargin) {
            f.y = FieldTop + (H - f.h - console - FieldMargin) / 2;
        } else {
            f.y = FieldTop;
            console = H - f.h - FieldMargin;
        }
    }
    f.w = std::max(f.w, 0);
    f.h = std::max(f.h, 0);
    if (owner) owner->SetHeight(console);
    return f;
}

WindowRect Padding::LayoutWide(int32_t screenWidth, int32_t screenHeight) const {
    const Options& options = core->options;
    const int32_t left = options.panel ? ColumnWidth : 0;
    const int32_t room = screenWidth - left - (options.inventory ? ColumnWidth : 0);
    const int32_t H = screenHeight;
    WindowRect f{0, 0, ViewWidthFor(H), H};
    f.x = left + (room - f.w) / 2;
    if (!options.widescale) {
        int32_t scale = 0;
        if (f.x > left) {
            // Narrower than the room: the field fills its width and is cropped at top and bottom.
            f.w = room;
            f.h = ViewHeightFor(room);
            if (options.pixel) scale = ScaleCovering(f.h, Field::SurfaceHeight);
        } else if (options.pixel) {
            scale = ScaleCovering(f.w, Field::SurfaceWidth);
        }
        if (scale > 0) {
            f.w = Field::SurfaceWidth * scale;
            f.h = Field::SurfaceHeight * scale;
        }
        f.x = left + (room - f.w) / 2;
        f.y = (H - f.h) / 2;
    }
    f.w = std::max(f.w, 0);
    f.h = std::max(f.h, 0);
    return f;
}

void Padding::Place(int32_t screenWidth, int32_t screenHeight) {
    const Options& options = core->options;
    if (options.widescreen) {
        const int32_t left = options.panel ? ColumnWidth : 0;
        const int32_t room = screenWidth - left - (options.inventory ? ColumnWidth : 0);
        x = left;
        y = 0;
        width = room;
        height = screenHeight;
        if (options.widescale) {
            x = std::max(left, fieldRect.x);
            width = std::min(room, screenWidth - 2 * fieldRect.x);
        }
    } else {
        x = fieldRect.x - FrameEdge;
        width = fieldRect.w + 2 * FrameEdge;
        height = screenHeight - (owner ? owner->GetRect().h : 0);
    }
    RefreshDrawArea();
}

bool Padding::HitTest(int32_t px, int32_t py) {
    const WindowRect& f = fieldRect;
    const bool onField = px >= f.x && px < f.x + f.w && py >= f.y && py < f.y + f.h;
    return Window::HitTest(px, py) && !onField;
}

void Padding::RefreshDrawArea() { drawArea = core->options.widescreen ? GetRect() : fieldRect; }

void Padding::BlitField() {
    render->DrawSkinScaled(drawArea.x, drawArea.y, drawArea.w, drawArea.h, FieldImage);
}

void Padding::Draw() {
    if (!core->options.widescreen) DrawFrame();
    RefreshDrawArea();
    DrawScreenshotProgress();
    DrawDebugStats();
    DrawBar();
    DrawCreatureFrames();
}

// The bands of the frame around the field, and a sunken edge one pixel outside it.
void Padding::DrawFrame() {
    const WindowRect& f = fieldRect;
    const int32_t fieldRight = f.x + f.w, fieldBottom = f.y + f.h;
    render->DrawSkinTiled(x, y, f.x - x, height, 0, 0, FrameImage);
    render->DrawSkinTiled(fieldRight, y, x + width - fieldRight, height, 0, 0, FrameImage);
    render->DrawSkinTiled(f.x, y, f.w, f.y - y, 0, 0, FrameImage);
    render->DrawSkinTiled(f.x, fieldBottom, f.w, y + height - fieldBottom, 0, 0, FrameImage);
    render->FillRect(f.x - 1, f.y - 1, f.w + 2, 1, DarkEdge);
    render->FillRect(f.x - 1, f.y, 1, f.h, DarkEdge);
    render->FillRect(f.x - 1, fieldBottom, f.w + 2, 1, LightEdge);
    render->FillRect(fieldRight, f.y, 1, f.h, LightEdge);
}

void Padding::DrawScreenshotProgress() {
    if (!core->screenshotBusy || !font) return;
    static const char* const Texts[] = {"Rendering screenshot", "Rendering screenshot.",
                                        "Rendering screenshot..", "Rendering screenshot..."};
    font->DrawText(drawArea.x + 4, drawArea.y + 3, Texts[core->frameTimeMs % 1000 / 250], White);
}

void Padding::DrawDebugStats() {
    if (!font) return;
    const bool capturing = core->screenshotPending || core->screenshotBusy;
    if (capturing && (core->options.field || core->options.hudscreen)) return;

    struct Row {
        const char* label;
        std::string value;
    };
    std::vector<Row> rows;
    if (core->options.framerate) rows.push_back({"Framerate", core->fpsText});
    if (core->options.ping) rows.push_back({"Ping", std::to_string(core->pingAverage)});
    if (core->showFrameTimes) {
        const FrameStats& stats = core->frameStats;
        rows.push_back({"Index", std::to_string(core->frameCounter)});
        rows.push_back({"Frame cur", std::to_string(stats.last)});
        rows.push_back({"Frame avg", std::to_string(stats.average)});
        rows.push_back({"Frame min", std::to_string(stats.minimum)});
        rows.push_back({"Frame max", std::to_string(stats.maximum)});
    }
    const World* world = core->world;
    if (core->options.data && world && core->player && core->player->isPrivileged()) {
        const Protocol* connection = core->activeConnection;
        rows.push_back({"Packets", std::to_string(connection ? connection->framesReceived : 0)});
        rows.push_back({"Data", std::to_string(connection ? connection->bytesReceived : 0)});
        rows.push_back({"Layers", std::to_string(world->layers.size()) + " / " +
                                      std::to_string(world->visibleLayers)});
        rows.push_back({"View", std::to_string(int32_t(world->ceiling) - 127) + " / " +
                                    std::to_string(int32_t(world->viewTop) - 127)});
        rows.push_back({"Creatures", std::to_string(world->creatures.size())});
    }

    const int32_t right = drawArea.x + drawArea.w;
    int32_t rowY = drawArea.y + 3;
    for (const Row& row : rows) {
        font->DrawText(right - DebugLabelInset, rowY, row.label, DebugColour);
        font->DrawTextRight(right - DebugValueInset, rowY, row.value, DebugColour);
        rowY += RowHeight;
    }
}

void Padding::DrawBar() {
    if (!barVisible) return;
    const bool wide = core->options.widescreen != 0;
    const int32_t x0 = drawArea.x + drawArea.w / 2 - BarHalfWidth;
    const int32_t y0 = drawArea.y + drawArea.h - (wide ? 73 : 47);
    const int32_t bandWidth = 2 * BarHalfWidth + 20, bandHeight = wide ? 76 : 58;
    render->DrawGradientBox(x0 - 10, y0 - 10, bandWidth, bandHeight, BandColour, BandColour);
    render->DrawGradientBox2(x0 - 10, y0 - 10, bandWidth, bandHeight, BandEdgeTop, BandEdgeBottom);
    if (wide) DrawGauges(x0, y0);
    DrawBarCells(x0, wide ? y0 + 18 : y0);
}

// Health fills from the right towards the middle, mana from the middle to the right.
void Padding::DrawGauges(int32_t x0, int32_t y0) {
    const struct {
        int32_t x;
        int32_t value, maximum;
        int32_t skinY;
        bool fromRight;
    } gauges[] = {
        {x0, core->hp, core->maxHp, 207, true},
        {x0 + 276, core->mana, core->maxMana, 215, false},
    };
    for (const auto& gauge : gauges) {
        render->DrawBoxStyle2(gauge.x, y0, GaugeWidth, GaugeHeight, BoxColour, BoxColour);
        render->DrawBar(gauge.x, y0, GaugeWidth, GaugeHeight, EdgeTop, EdgeBottom);
        if (gauge.maximum == 0) continue;
        const int64_t share = int64_t(gauge.value) * GaugeFill / gauge.maximum;
        const int32_t fill = int32_t(std::clamp<int64_t>(share, 0, GaugeFill));
        const int32_t fillX = gauge.fromRight ? gauge.x + 3 + GaugeFill - fill : gauge.x + 3;
        render->DrawSkinPartTiled(fillX, y0 + 3, fill, 4, 0, 0, 228, gauge.skinY, 4, 4, SkinAtlas);
        if (font)
            font->DrawTextCentered(
                gauge.x + GaugeWidth / 2, y0,
                std::to_string(gauge.value) + " / " + std::to_string(gauge.maximum), DebugColour);
    }
}

void Padding::DrawBarCells(int32_t x0, int32_t cellY) {
    const auto* bar = dynamic_cast<const Spellbar*>(core->FindWindow(WindowType::Spellbar));
    if (!bar) return;
    const uint32_t pageStart = bar->page * Spellbar::SlotsPerPage;
    const bool armed = core->inputModes[InputSpellTarget] != 0;
    const double t = double(core->frameTimeMs % PulsePeriod);
    const uint32_t pulse = uint32_t(64 * (1 - std::cos(Pi * t / 500)) / 2);
    for (int32_t i = 0; i < BarCells; ++i) {
        const int32_t cellX = x0 + CellStep * i;
        render->DrawBoxStyle2(cellX, cellY, CellSize, CellSize, BoxColour, BoxColour);
        render->DrawBar(cellX, cellY, CellSize, CellSize, EdgeTop, EdgeBottom);
        if (armed && core->barSlot == pageStart + uint32_t(i))
            render->DrawBar(cellX, cellY, CellSize, CellSize, (128 + pulse) << 24 | 0xFFFFFF,
                            EdgeBottom);
        if (Spell* spell = bar->SpellAt(uint32_t(i))) spell->DrawSlot(cellX + 3, cellY + 3);
        if (!core->options.keys) continue;
        if (!core->options.push) DrawSkinKeyLabel(render, cellX + 20, cellY + 30, uint32_t(i));
        else if (font)
            font->DrawTextCentered(cellX + 19, cellY + 31, keyNames[i].Name(core->keys[KeyF1 + i]),
                                   KeyLabelColour);
    }
}

void Padding::UpdateCreatureFrames() {
    const World* world = core->world;
    const uint64_t now = core->frameTimeMs;
    const uint8_t floor = core->player->position.z;
    auto listed = [&](uint32_t id) -> const Creature* {
        for (const Creature* creature : world->flaggedCreatures)
            if (creature->id == id && creature->position.z == floor) return creature;
        return nullptr;
    };

    for (CreatureFrame& frame : creatureFrames) {
        if (const Creature* creature = listed(frame.creatureId)) {
            frame.health = creature->health;
            if (frame.state == CreatureFrame::Hiding) {
                // The fade turns back where it is; a finished fade-out starts again from 0.
                frame.state = CreatureFrame::Shown;
                frame.shownAt = now - (FadeMs - std::min(FadeMs, now - frame.hiddenAt));
            }
        } else if (frame.state != CreatureFrame::Hiding) {
            frame.state = CreatureFrame::Hiding;
            frame.hiddenAt = now - (FadeMs - std::min(FadeMs, now - frame.shownAt));
        }
    }
    creatureFrames.erase(std::remove_if(creatureFrames.begin(), creatureFrames.end(),
                                        [now](const CreatureFrame& frame) {
                                            return frame.state == CreatureFrame::Hiding &&
                                                   now - frame.hiddenAt >= FadeMs;
                                        }),
                         creatureFrames.end());

    for (const Creature* creature : world->flaggedCreatures) {
        if (creatureFrames.size() >= MaxCreatureFrames) break;
        if (creature->position.z != floor) continue;
        const bool shown = std::any_of(creatureFrames.begin(), creatureFrames.end(),
                                       [creature](const CreatureFrame& frame) {
                                           return frame.creatureId == creature->id;
                                       });
        if (!shown)
            creatureFrames.push_back(
                {creature->id, creature->name, creature->health, CreatureFrame::Shown, now, 0});
    }
}

void Padding::DrawCreatureFrames() {
    if (!core->world || !core->player) return;
    UpdateCreatureFrames();
    const uint64_t now = core->frameTimeMs;
    Font* nameFont = core->GetFont(NameFont);
    const int32_t count = int32_t(creatureFrames.size());
    const int32_t centreX = drawArea.x + drawArea.w / 2;
    for (int32_t i = 0; i < count; ++i) {
        const CreatureFrame& frame = creatureFrames[size_t(i)];
        // Rows of three, each centred.
        const int32_t row = i / FramesPerRow, inRow = i % FramesPerRow;
        const int32_t rowCount = std::min(count - row * FramesPerRow, FramesPerRow);
        const int32_t offset = -(rowCount * FrameSpacing - FrameSpacing) / 2 + inRow * FrameSpacing;
        const int32_t frameX = centreX + offset;
        const int32_t frameY = drawArea.y + drawArea.h / 8 + row * FrameRowHeight;

        double alpha = 1;
        if (frame.state == CreatureFrame::Hiding)
            alpha = Eased(FadeMs - std::min(FadeMs, now - frame.hiddenAt));
        else if (now - frame.shownAt < FadeMs) alpha = Eased(now - frame.shownAt);

        if (nameFont)
            nameFont->DrawTextCentered(frameX, frameY, frame.name, WithAlpha(alpha, 255, 0xFFFFFF));
        render->DrawBoxStyle2(frameX - 80, frameY + 36, 160, 14, WithAlpha(alpha, 80, 0xFFFFFF),
                              WithAlpha(alpha, 160, 0));
        // A health above full counts as full, so the fill never leaves its box.
        const int32_t health = std::min(frame.health, FullHealth);
        render->FillRect(frameX - 77, frameY + 39, health * HealthBarWidth / FullHealth, 8,
                         WithAlpha(alpha, 160, HealthColour));
    }
}
