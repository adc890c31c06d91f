// Creature drawing: which tile draws a creature, where its body and attached pictures go, the
// target and hover markers, and the overlay of names, bars, status icons and the typing bubble.
#include <algorithm>
#include <cmath>

#include "core.h"
#include "creature.h"
#include "driver/gfxcore.h"
#include "font.h"
#include "item.h"
#include "paragraphs.h"
#include "platform.h"
#include "protocol.h"
#include "render.h"
#include "shape.h"
#include "tile.h"
#include "windows/game/channel.h"
#include "windows/game/chatbox.h"
#include "world.h"

namespace {

constexpr float Pi = 3.14159265358979f;
constexpr uint8_t MarkerAlpha = 120;
constexpr uint64_t TypingTimeoutMs = 10000;
constexpr uint16_t StatusIconsImage = 9;
constexpr int32_t BarLift = 14;

int32_t Difference(uint16_t a, uint16_t b) { return int32_t(a) - int32_t(b); }

// The height a stack lifts what stands on it.
float StackHeight(const Tile* tile) { return float(std::min(tile->height, 24)); }

// Whether a creature stands on this tile rather than on the floor below it: a tile with a solid
// thing does unless its bottom thing has bit 30. Not the other way round: then every plain floor
// would hand the step to the floor below and the walker would sink 16 pixels on each step. A
// bottom thing of unknown shape has no bits.
bool Carries(const Tile* tile) {
    if (!tile || tile->things.empty() || !tile->HasSolidThing()) return false;
    const Shape* bottom = tile->things.front()->shape;
    return !(bottom && bottom->flagBit30);
}

// The keyframe of a layer that the clock has reached.
size_t FrameAtTime(const ShapeLayer& layer, uint64_t now) {
    return KeyframeIndex(layer.keyframes, layer.totalDuration, now,
                         [](const std::unique_ptr<ShapeKeyframe>& keyframe) {
                             return keyframe->duration;
                         });
}

uint32_t WithAlpha(uint32_t colour, float alpha) {
    return uint32_t(std::clamp(alpha, 0.0f, 255.0f)) << 24 | (colour & 0xFFFFFF);
}

}  // namespace

// --- Drawing tile and elevation ---------------------------------------------------------------

void Creature::PlaceOnDrawTile() {
    between = 0;
    if (position.z == targetPosition.z) {
        const int32_t k =
            Difference(position.x, targetPosition.x) - Difference(targetPosition.y, position.y);
        if (k < 0) {
            drawPosition = targetPosition;
        } else if (k > 0) {
            drawPosition = position;
        } else {
            // Going north-east or south-west: drawn from the tile beside both ends.
            drawPosition.x =
                uint16_t(std::max(Difference(targetPosition.y, position.y), 0) + targetPosition.x);
            drawPosition.y =
                uint16_t(std::max(Difference(targetPosition.x, position.x), 0) + targetPosition.y);
            drawPosition.z = targetPosition.z;
            between = 1;
        }
    }
    Tile* tile = TileOrCreate(drawPosition);
    if (!tile) return;
    if (between) tile->AddBetweenWalker(this);
    else tile->AddWalker(this);
}

void Creature::RegisterOverhangs() {
    UpdateElevation();
    for (int32_t dx = -1; dx <= 1; ++dx) {
        for (int32_t dy = -1; dy <= 1; ++dy) {
            if ((dx == 0 && dy == 0) || attached[dx + 1][dy + 1].things.empty()) continue;
            const Position at{uint16_t(drawPosition.x + dx), uint16_t(drawPosition.y + dy),
                              drawPosition.z};
            if (Tile* tile = TileOrCreate(at)) tile->AddOverhang(this, dx + 1, dy + 1);
        }
    }
}

void Creature::UpdateElevation() {
    const bool pastHalf = std::fabs(offsetX) > 16 || std::fabs(offsetY) > 16;
    const Tile* standing = TileAt(pastHalf ? targetPosition : position);
    if (standing && !standing->things.empty()) {
        elevation = StackHeight(standing);
        sink = float(standing->sink);
    } else {
        elevation = sink = -32;
    }
    if (!walking) return;

    const float m = std::max(std::fabs(offsetX), std::fabs(offsetY));
    const bool changesTile = stepDx != 0 || stepDy != 0;
    // Height and sink of one end of the step; a tile that carries nothing hands over to the
    // floor below it.
    auto end = [&](Position p, bool targetSide, float& height, float& sinkValue) {
        const Tile* tile = TileAt(p);
        if (Carries(tile)) {
            height = StackHeight(tile);
            sinkValue = float(tile->sink);
            return;
        }
        const Tile* below = TileAt({uint16_t(p.x + 1), uint16_t(p.y + 1), uint8_t(p.z - 1)});
        if (!below) {
            height = sinkValue = -16;
            return;
        }
        height = StackHeight(below) - 32;
        sinkValue = float(below->sink) - 32;
        if (below->HasFlaggedThing() && changesTile)
            sinkValue = targetSide ? (m > 16 ? (m - 16) * -2 : 0) : m - 32;
    };
    float h0, s0, h1, s1;
    end(position, false, h0, s0);
    end(targetPosition, true, h1, s1);

    const Tile* from = TileAt(position);
    const Tile* to = TileAt(targetPosition);
    const bool rampFrom = from && from->GetTopBit15Thing();
    float start = rampFrom ? 0.0f : 12.0f;
    float length = rampFrom ? 32.0f : 20.0f;
    if (!(to && to->GetTopBit15Thing())) length -= 12;
    const float f = std::clamp((m - start) / length, 0.0f, 1.0f);
    elevation = std::round((h0 + (h1 - h0) * f) * 100) / 100;
    sink = (s1 - s0) * m * 0.03125f + s0;
}

// --- Tile pass -------------------------------------------------------------------------------

// The body's top-left pixel for a drawing tile at (x, y).
Creature::BodyPoint Creature::BodyAt(int32_t x, int32_t y) const {
    const float lift = elevation - (seated ? 8.0f : 0.0f);
    if (moving) {
        const int32_t bx = int32_t(x - lift + Difference(position.x, drawPosition.x) * TileSize);
        const int32_t by = int32_t(y - lift + Difference(position.y, drawPosition.y) * TileSize);
        return {bx + int32_t(offsetX), by + int32_t(offsetY)};
    }
    const int32_t seatedShift = seated ? 1 : 0;
    return {
        int32_t(x - lift + Difference(targetPosition.x, drawPosition.x) * TileSize) - seatedShift,
        int32_t(y - lift + Difference(targetPosition.y, drawPosition.y) * TileSize) - seatedShift};
}

void Creature::Draw(int32_t x, int32_t y) {
    const bool player = IsPlayer();
    if (player && typing && owner->frameTimeMs - animationStamp >= TypingTimeoutMs) {
        typing = 0;
        if (owner->activeConnection) owner->activeConnection->SendTyping(false);
    }
    if (hidden) return;
    if (translucent && !player) {
        RemoveExpiredAttached();
        return;
    }
    const BodyPoint at = BodyAt(x, y);
    DrawParts(attached[1][1].lower, at);
    DrawMarker(at.x, at.y, MarkerAlpha);
    DrawBody(at);
    DrawParts(attached[1][1].upper, at);
    if (player && !owner->mouseWalkOff && !moving && moveable && pendingDirection == NoDirection)
        AutoWalk();
    RemoveExpiredAttached();
}

void Creature::DrawOverhangLower(int32_t column, int32_t row, int32_t x, int32_t y,
                                 uint8_t adjust) {
    if (hidden || (translucent && !IsPlayer()) || column < 0 || column > 2 || row < 0 || row > 2)
        return;
    const BodyPoint at = adjust ? BodyAt(x, y) : BodyPoint{x, y};
    DrawParts(attached[column][row].lower, at);
    if (!adjust) DrawMarker(at.x, at.y, MarkerAlpha);
}

void Creature::DrawOverhangUpper(int32_t column, int32_t row, int32_t x, int32_t y,
                                 uint8_t adjust) {
    if (hidden || (translucent && !IsPlayer()) || column < 0 || column > 2 || row < 0 || row > 2)
        return;
    const BodyPoint at = adjust ? BodyAt(x, y) : BodyPoint{x, y};
    DrawParts(attached[column][row].upper, at);
}

void Creature::DrawParts(const std::vector<ItemPart*>& parts, BodyPoint at) {
    for (ItemPart* part : parts) part->Draw(at.x, at.y);
}

// The image of one layer of the frame set: the walk frame while moving (the first when the
// layer has fewer), else the frame the clock has reached.
GfxImage* Creature::FrameImage(size_t layerIndex) const {
    const ShapeLayer& layer = *frames->layers[layerIndex];
    if (layer.keyframes.empty()) return nullptr;
    size_t index = 0;
    if (!moving) index = FrameAtTime(layer, owner->frameTimeMs);
    else if (walkFrame >= 0 && size_t(walkFrame) < layer.keyframes.size())
        index = size_t(walkFrame);
    const auto& images = layer.keyframes[index]->images;
    const auto found = images.find(outfit);
    return found == images.end() ? nullptr : found->second;
}

void Creature::DrawBody(BodyPoint at) {
    if (!visible || !frames) return;
    uint32_t tint = 0;
    if (lightOnly) {
        const uint32_t level =
            owner->world ? owner->world->GetLightAt(at.x + TileSize / 2, at.y + TileSize / 2) : 255;
        tint = (level * level / 255) << 24 | 0xFFFFFF;
    } else if (translucent) {
        tint = 0x60E0E0E0;
    }
    for (size_t i = 0; i < frames->layers.size(); ++i) {
        GfxImage* image = FrameImage(i);
        if (!image) continue;
        const int32_t px = at.x + TileSize - GFX_ImageWidth(image);
        const int32_t py = at.y + TileSize - GFX_ImageHeight(image);
        if (moving) {
            if (tint) render->DrawImageTintedF(float(px), float(py), tint, image);
            else render->DrawImagePtrF(float(px), float(py), image);
        } else {
            if (tint) render->DrawImageTinted(px, py, tint, image);
            else render->DrawImagePtr(px, py, image);
        }
    }
}

void Creature::RemoveExpiredAttached() {
    for (int32_t dx = -1; dx <= 1; ++dx) {
        for (int32_t dy = -1; dy <= 1; ++dy) {
            const std::vector<Thing*> things = attached[dx + 1][dy + 1].things;
            for (Thing* thing : things)
                if (static_cast<Item*>(thing)->expired) RemoveFromDirectionList(dx, dy, thing);
        }
    }
}

// --- Marker ----------------------------------------------------------------------------------

void Creature::DrawMarker(int32_t x, int32_t y, uint8_t alpha) {
    if (!visible) return;
    if (x == 0xFFFF) x = lastMarkerX;
    else lastMarkerX = x;
    if (y == 0xFFFF) y = lastMarkerY;
    else lastMarkerY = y;
    const Creature* player = owner->player;
    const bool target = owner->IsTarget(this);
    const bool followed = owner->followTarget == this && player && player->position.z == position.z;
    if (!target && !followed && owner->hoverCreature != this) {
        ReleaseImages();
        return;
    }
    if (markerImages.empty()) BuildMarkerImages();
    GfxImage* outline = markerImages.empty() ? nullptr : markerImages[MarkerFrame()];
    if (!outline) return;
    const int32_t w = GFX_ImageWidth(outline), h = GFX_ImageHeight(outline);
    uint32_t colour = 0xE0E0E0;
    float shown = alpha;
    if (target || followed) {
        // A pulse over one second from the moment the creature was chosen.
        const uint64_t t = (owner->frameTimeMs - selectedAt) % 1000;
        const uint64_t u = t <= 500 ? t : 1000 - t;
        shown = float(alpha + 31 + int32_t(16 * (1 - std::cos(float(u) * Pi / 500))));
        colour = target ? 0xE04040 : 0x40E040;
        Item* circle = owner->interfaceItems.single[0];
        if (target && alpha >= 101 && owner->options.circle && circle) {
            if (w <= TileSize) circle->Draw(x - 4, y - 4);
            else circle->Draw(x, y);
        }
    }
    render->DrawImageTinted(x + 33 - w, y + 33 - h, WithAlpha(colour, shown), outline);
}

// The frame the body shows: the walk frame while moving, else the frame of the clock.
size_t Creature::MarkerFrame() const {
    if (moving)
        return walkFrame >= 0 && size_t(walkFrame) < markerImages.size() ? size_t(walkFrame) : 0;
    return FrameAtTime(*frames->layers.front(), owner->frameTimeMs);
}

// One outline per frame of the first layer, around every layer's image of that frame.
void Creature::BuildMarkerImages() {
    if (!frames || frames->layers.empty()) return;
    const size_t count = frames->layers.front()->keyframes.size();
    for (size_t k = 0; k < count; ++k) {
        std::vector<GfxImage*> images;
        for (const auto& layer : frames->layers) {
            if (layer->keyframes.empty()) continue;
            const auto& built = layer->keyframes[std::min(k, layer->keyframes.size() - 1)]->images;
            const auto found = built.find(outfit);
            if (found != built.end()) images.push_back(found->second);
        }
        markerImages.push_back(MakeOutline(images));
    }
}

void Creature::ReleaseImages() {
    for (GfxImage* image : markerImages)
        if (image) GFX_DeleteImage(image);
    markerImages.clear();
}

// --- Overlay ---------------------------------------------------------------------------------

void Creature::DrawOverlay(float x, float y, uint8_t pass) {
    if (hidden || translucent || lightOnly || !visible) return;
    const float fade = FadeFactor();
    if (pass == 0) {
        if (owner->options.names)
            nameFont->DrawTextCenteredF(x, owner->showSpeeds ? y - 12 : y, OverlayText(),
                                        WithAlpha(0xFFFFFF, 128 * fade));
        return;
    }
    if (IsPlayer()) DrawPlayerOverlay(x, y);
    else DrawOtherOverlay(x, y, fade);
}

// The name, or with the console's speed display the name with the speed and the queued steps.
std::string Creature::OverlayText() const {
    if (!owner->showSpeeds) return name;
    return name + " (" + std::to_string(speed) + ", " + std::to_string(serverSteps.size()) + ")";
}

// Names fade while the player sinks into the ground (or rises out of it).
float Creature::FadeFactor() const {
    const Creature* player = owner->player;
    if (!player || player->sink == 0) return 1;
    const float s = (player->sink < 0 ? player->sink + 32 : player->sink) - 8;
    if (s > 0 && s < 8) return (8 - s) * 0.125f;
    if (s >= 8) return std::min((s - 8) * 0.0625f, 1.0f);
    return 1;
}

void Creature::DrawPlayerOverlay(float x, float y) {
    float lift = 0;
    if (owner->options.hudbars) {
        const float hp = owner->maxHp ? float(owner->hp) / float(owner->maxHp) : 0;
        const float mana = owner->maxMana ? float(owner->mana) / float(owner->maxMana) : 0;
        DrawBars(x, y, hp, mana);
        lift = BarLift;
    }
    if (owner->options.names) nameFont->DrawTextCenteredF(x, y - lift, OverlayText(), healthColour);
    else lift = 2;
    if (owner->options.hudstatus) DrawStatusIcons(x, y - lift - 15);
    if (owner->fpsFrames == 0 && owner->IsStatusActive(StatusDrunk) && Random() % 10 == 0) Hiccup();
}

void Creature::DrawOtherOverlay(float x, float y, float fade) {
    float lift = 0;
    if (partyMember && owner->options.hudbars) {
        const PartyMember member = owner->FindPartyMemberByName(name);
        DrawBars(x, y, member.first / 200.0f, member.second / 200.0f);
        lift = BarLift;
    }
    if (typing) DrawTypingBubble(x, y - lift);
    if (owner->options.names)
        nameFont->DrawTextCenteredF(x, y - lift, name, WithAlpha(healthColour, 255 * fade));
}

// Shown and active status effects as a centred row of 12 x 12 icons, outlined in black.
void Creature::DrawStatusIcons(float x, float top) {
    std::vector<uint32_t> icons;
    const auto& effects = owner->statusEffects;
    for (uint32_t n = 1; n < effects.size(); ++n)  // entry 0 has no icon
        if (effects[n].shown && effects[n].active) icons.push_back(n);
    const float left = x - float(14 * int32_t(icons.size()) - 2) / 2;
    static const int32_t outline[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    for (size_t i = 0; i < icons.size(); ++i) {
        const float px = left + 14.0f * float(i);
        const int32_t sx = 12 * int32_t(icons[i]) - 12;
        for (const auto& off : outline)
            render->DrawSkinPartTintedF(px + off[0], top + off[1], sx, 0, 12, 12, 0xFF000000,
                                        StatusIconsImage);
        render->DrawSkinPartTintedF(px, top, sx, 0, 12, 12, GfxWhite, StatusIconsImage);
    }
}

// A small box right of the name with three dots that bounce in turn.
void Creature::DrawTypingBubble(float x, float y) {
    const int32_t left = int32_t(x) + nameFont->MeasureText(name) / 2 + 9;
    const int32_t top = int32_t(y) - 9;
    render->DrawSkinPart(left - 7, top + 4, 251, 176, 7, 10, SkinAtlasId);
    render->DrawBoxStyle3(left, top, 20, 8, 0xFF000000);
    render->FillRect(left + 1, top + 1, 18, 6, 0x40000000);
    const uint64_t t = owner->frameTimeMs % 1125;
    for (int32_t dot = 0; dot < 3; ++dot) {
        const int64_t phase = int64_t(t) - 400 * dot;
        const bool bouncing = phase >= 0 && (phase < 400 || dot == 2);
        const int32_t bounce =
            bouncing ? int32_t(std::lround(2 * std::sin(float(phase) * Pi / 400))) : 0;
        render->FillRect(left + 3 + 5 * dot, top + 2 - std::max(bounce, 0), 4, 4, GfxWhite);
    }
}

void Creature::Hiccup() {
    const std::string text = "*hiccup*";
    if (auto* chat = static_cast<Chatbox*>(owner->chatBox))
        if (Channel* channel = chat->FindChannel(0)) channel->AddNamedLine(this, text);
    if (owner->activeConnection) owner->activeConnection->SendTalk(0, text);
    if (owner->world && owner->world->paragraphs) owner->world->paragraphs->Add(text, this);
}

void Creature::DrawBars(float x, float y, float health, float mana) {
    health = std::clamp(health, 0.0f, 1.0f);
    mana = std::clamp(mana, 0.0f, 1.0f);
    const struct {
        float x, y, w, h;
        uint32_t colour;
    } rects[] = {
        {x - 20, y - 1, 40, 1, 0xFF231913},
        {x - 20, y + 7, 40, 1, 0xFF231913},
        {x - 21, y + 3, 42, 1, 0xFF231913},
        {x - 21, y, 1, 7, 0xFF231913},
        {x + 20, y, 1, 7, 0xFF231913},
        {x - 20, y, 40, 3, 0xFF401913},
        {x - 20, y + 4, 40, 3, 0xFF231940},
        {x - 21, y - 1, 1, 1, 0x80231913},
        {x - 21, y + 7, 1, 1, 0x80231913},
        {x + 20, y - 1, 1, 1, 0x80231913},
        {x + 20, y + 7, 1, 1, 0x80231913},
        {x - 20, y, 40 * health, 1, 0xFFBA1A13},
        {x - 20, y + 1, 40 * health, 1, 0xFFEA241B},
        {x - 20, y + 2, 40 * health, 1, 0xFF951813},
        {x - 20, y + 4, 40 * mana, 1, 0xFF5E3EF6},
        {x - 20, y + 5, 40 * mana, 1, 0xFF8861FF},
        {x - 20, y + 6, 40 * mana, 1, 0xFF422ED8},
    };
    for (const auto& r : rects) render->FillRectF(r.x, r.y, r.w, r.h, r.colour);
}

// --- Light -----------------------------------------------------------------------------------

Creature::LightSpot Creature::LightSpotAt(Position centre) const {
    LightSpot spot{Difference(position.x, centre.x) + 12, Difference(position.y, centre.y) + 10,
                   16 + int32_t(offsetX), 16 + int32_t(offsetY)};
    // Wrapped into the cell, carrying into the next one.
    auto wrap = [](int32_t& in, int32_t& cell) {
        while (in < 0) in += TileSize, --cell;
        while (in >= TileSize) in -= TileSize, ++cell;
    };
    wrap(spot.x, spot.column);
    wrap(spot.y, spot.row);
    spot.x += int32_t(sink);
    spot.y += int32_t(sink);
    return spot;
}

void Creature::AddLights(Position centre) {
    World* world = owner->world;
    if (!world) return;
    const LightSpot spot = LightSpotAt(centre);
    for (Shape* shape : lightShapes)
        world->SpreadCreatureLight(*this, spot.column, spot.row, position.z, spot.x, spot.y,
                                   shape->lights);
    for (Thing* thing : attached[1][1].things)
        if (thing->shape && thing->shape->hasLights)
            world->SpreadCreatureLight(*this, spot.column, spot.row, position.z, spot.x, spot.y,
                                       thing->shape->lights);
}
