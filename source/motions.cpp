#include "motions.h"

#include <algorithm>
#include <cmath>

#include "core.h"
#include "creature.h"
#include "font.h"
#include "layer.h"
#include "platform.h"

namespace {

constexpr uint32_t MotionFont = 101;
// A number rises one pixel a step of 20 ms, 64 steps in all, and fades by the cube of the steps.
constexpr uint64_t StepMs = 20;
constexpr int32_t Steps = 64;
constexpr uint32_t FadeCube = uint32_t(Steps) * Steps * Steps;
// The drift: (r mod 80 - 40) / 100 of a pixel, spread over the steps by k * k / 64.
constexpr int DriftSpread = 80, DriftCentre = 40;
constexpr float DriftScale = 100;
// A raised creature's number starts this much lower.
constexpr int32_t RaisedDrop = 8;
// The tile size on screen: the field's width, widened, over 19 columns (18 with `elastic`).
constexpr float ViewColumns = 19, ElasticViewColumns = 18;
constexpr float WidthMargin = 6, PixelWidthMargin = 2;
// Numbers start a quarter tile right of the tile's left edge and 12 pixels under its top.
constexpr float QuarterTile = 0.25f;
constexpr float StartDrop = 12;

struct Rgb {
    uint8_t red, green, blue;
};
const Rgb KindColours[] = {
    {255, 255, 255}, {224, 224, 224}, {224, 64, 64},   {96, 224, 96},  {96, 96, 224},
    {128, 128, 128}, {196, 96, 224},  {230, 220, 0},   {224, 160, 64}, {183, 218, 226},
    {0, 180, 200},   {140, 180, 240}, {230, 160, 160},
};
constexpr Rgb OtherKindColour = {255, 255, 255};
constexpr Rgb WordColour = {230, 230, 230};
const char* const Words[] = {"trade", "job", "help", "quest", "sorvan"};

}  // namespace

Motion::Motion(Core* owner, const Creature& creature, uint8_t kind, int32_t value)
    : kind(kind),
      elevation(int32_t(creature.elevation) - (creature.seated ? RaisedDrop : 0)),
      owner(owner),
      render(owner->render),
      font(owner->GetFont(MotionFont)),
      x(creature.position.x),
      y(creature.position.y),
      z(creature.position.z),
      text(std::to_string(value)) {
    Init();
}

void Motion::Init() {
    created = owner->frameTimeMs;
    drift = float(Random() % DriftSpread - DriftCentre) / DriftScale;
    Rgb colour = OtherKindColour;
    if (kind < std::size(KindColours)) colour = KindColours[kind];
    if (kind == WordMotionKind) {
        colour = WordColour;
        text = Words[Random() % int(std::size(Words))];
    }
    red = colour.red;
    green = colour.green;
    blue = colour.blue;
}

void Motion::Draw(int32_t playerX, int32_t playerY, uint8_t playerZ, int32_t fieldX, int32_t fieldY,
                  int32_t fieldW, int32_t) {
    const int32_t k = int32_t(std::min<uint64_t>((owner->frameTimeMs - created) / StepMs, Steps));
    if (k >= Steps) done = 1;
    if (z != playerZ || !font) return;
    const Options& options = owner->options;
    const float columns = options.elastic ? ElasticViewColumns : ViewColumns;
    const float s = (float(fieldW) + (options.pixel ? PixelWidthMargin : WidthMargin)) / columns;
    const float o = options.elastic ? -s / 2 : 0;
    const float e = float(elevation) * s / TilePixels;
    const float step = float(k);
    const float px = float(int32_t(x) - playerX + CentreColumn) * s + float(fieldX) + o +
                     s * QuarterTile - e - drift * step * step / Steps;
    const float py = float(int32_t(y) - playerY + CentreRow) * s + float(fieldY) + o -
                     s * QuarterTile + StartDrop - e - step;
    const uint32_t cube = uint32_t(k) * uint32_t(k) * uint32_t(k);
    const uint32_t alpha = 255 - 255 * cube / FadeCube;
    font->DrawTextRightF(px, py, text,
                         alpha << 24 | uint32_t(red) << 16 | uint32_t(green) << 8 | blue);
}

void Motions::Add(Creature* creature, uint8_t kind, int32_t value) {
    effects.push_back(new Motion(owner, *creature, kind, value));
}

void Motions::Update(int32_t fieldX, int32_t fieldY, int32_t fieldW, int32_t fieldH) {
    const Creature* player = owner->player;
    if (!player) return;
    const Position& at = player->position;
    const std::vector<FieldEffect*> shown = effects;
    for (FieldEffect* effect : shown) {
        auto* motion = static_cast<Motion*>(effect);
        motion->Draw(at.x, at.y, at.z, fieldX, fieldY, fieldW, fieldH);
        if (motion->done) Remove(effect);
    }
}
