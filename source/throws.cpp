#include "throws.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "core.h"
#include "layer.h"
#include "world.h"

namespace {

constexpr float PercentScale = 100;
// A missile covers its whole way in 32 steps of 10 ms, whatever the distance.
constexpr uint64_t StepMs = 10;
// In the world image the player's tile is drawn at this point.
constexpr int32_t PlayerImageX = 280, PlayerImageY = 216;
// A short shot keeps full alpha over the first 80 % of its way and fades over the rest.
constexpr float SteadyShare = 0.8f, FadeShare = 0.2f;

}  // namespace

Throw::Throw(Core* owner, Position from, Position to, int32_t reach, Item* item)
    : owner(owner),
      item(item),
      reach(float(reach) / PercentScale),
      spanX(float(std::abs(to.x - from.x) * TilePixels)),
      spanY(float(std::abs(to.y - from.y) * TilePixels)),
      from(from),
      to(to),
      started(owner->frameTimeMs) {}

bool Throw::Advance() {
    const float t = float((owner->frameTimeMs - started) / StepMs);
    const int32_t dx = to.x - from.x, dy = to.y - from.y;
    offsetX = t * float(dx);
    offsetY = t * float(dy);
    if (std::fabs(offsetX) > spanX) offsetX = float(dx * TilePixels);
    if (std::fabs(offsetY) > spanY) offsetY = float(dy * TilePixels);
    const float share = std::min(reach, 1.0f);
    return std::fabs(offsetX) >= share * spanX && std::fabs(offsetY) >= share * spanY;
}

void Throw::Step(Position player, uint8_t, uint8_t drawnZ) {
    const World* world = owner->world;
    if (from.z != drawnZ || !world) return;
    // A floor above the missile's that closes the view over either end hides it.
    if (world->occlusion[SlotIndex(from.x, from.y)] > from.z ||
        world->occlusion[SlotIndex(to.x, to.y)] > from.z)
        return;
    done = Advance() ? 1 : 0;
    const int32_t x = int32_t(offsetX) + (from.x - player.x) * TilePixels + PlayerImageX;
    const int32_t y = int32_t(offsetY) + (from.y - player.y) * TilePixels + PlayerImageY;
    if (reach >= 1) {
        item->Draw(x, y);
        return;
    }
    // A shot of no reach shows nothing; the fade would divide by zero.
    if (reach <= 0) return;
    float alpha = 255;
    const float q = spanX > 0 ? std::fabs(offsetX) / spanX : 0;
    if (q >= SteadyShare * reach) alpha = std::max(0.0f, (reach - q) * 255 / (FadeShare * reach));
    item->DrawTinted(x, y, uint8_t(alpha));
}

void Throws::Add(Position from, uint8_t fromZ, Position to, uint8_t toZ, int32_t reach,
                 Item* item) {
    from.z = fromZ;
    to.z = toZ;
    if (from == to) {
        delete item;
        return;
    }
    effects.push_back(new Throw(owner, from, to, reach, item));
}

void Throws::Update(Position player, uint8_t playerZ, uint8_t drawnZ) {
    const std::vector<FieldEffect*> flying = effects;
    for (FieldEffect* effect : flying) {
        auto* missile = static_cast<Throw*>(effect);
        missile->Step(player, playerZ, drawnZ);
        if (missile->done) Remove(effect);
    }
}

void Throws::Retire() {
    const std::vector<FieldEffect*> flying = effects;
    for (FieldEffect* effect : flying)
        if (static_cast<Throw*>(effect)->Advance()) Remove(effect);
}
