#pragma once
#include <cstdint>
#include <string>

#include "windows/toolkit/window.h"

class Creature;
class Padding;
class Thing;
class Tile;

// The game field (Core::fieldWindow): renders the World into a surface that holds the whole
// view of 19 x 15 tiles every frame and shows it scaled in the viewport its frame (`padding`)
// lays out, with the world's overlays and a black fade-in over it. Its input (fieldinput.cpp)
// turns presses and clicks into world actions.
class Field : public Window {
public:
    static constexpr int32_t SurfaceWidth = 608, SurfaceHeight = 480;

    Field(Core* core, Padding* padding);
    ~Field() override;

    void Build() override;
    void Paint() override;
    void Draw() override;
    // A press serves the armed input mode, or holds the thing under the pointer.
    void OnMouseDown(int32_t mx, int32_t my) override;
    // A release drops a dragged thing, looks, walks or follows.
    void OnMouseUp(int32_t mx, int32_t my) override;
    // Uses or opens the thing next to the player, or opens the menu of a thing.
    void OnRightClick(int32_t mx, int32_t my) override;
    void Place(int32_t screenWidth, int32_t screenHeight) override;
    void CreateSurface() override;
    // Inside the frame's drawing area; never without a frame.
    bool HitTest(int32_t px, int32_t py) override;

    // The `pixel` option changed: the surface is made again with the new filtering.
    void ApplyEsthetics();
    // The console asks for a height while the player resizes it.
    void GiveConsoleRect(int32_t requestedHeight);

    Padding* padding;
    uint8_t fadeIn = 0;
    uint8_t shaking = 0;
    float shakeX = 0, shakeY = 0;
    uint64_t builtAt = 0;

private:
    void SetRect(const WindowRect& rect);
    void ApplyShake();

    // The armed input modes a press serves, in their order.
    void CastArmedSpell(int32_t mx, int32_t my);
    void ChoosePartner(int32_t mx, int32_t my, bool trade);
    void ChooseUseTarget(int32_t mx, int32_t my);
    void UseHeldThingOn(int32_t mx, int32_t my);
    // The thing found on a tile becomes the held thing.
    void Hold(const Tile* tile);
    // What a release does without a drag: look with a modifier key, pick up with Space, else
    // the click that follows a creature or walks.
    void Look(int32_t mx, int32_t my);
    void Click(int32_t mx, int32_t my, Creature* player);
    bool WalkTowards(int32_t mx, int32_t my, Creature* player);
    void PlaceWalkMarker(const Tile* destination, const Creature* player);
    void LookAtHeldThing();
    void UsePickedThing(const Tile* tile, int32_t mx, int32_t my, Creature* player);
    void OpenThingMenu(const Tile* tile, bool nearby, bool fromWorld, int32_t mx, int32_t my);
    void Refuse(const std::string& text);
};
