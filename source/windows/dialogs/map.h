#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "maplabel.h"
#include "windows/toolkit/window.h"

class Font;
class MapPage;
class MapPart;
class MapStruct;
struct GfxRenderTarget;

// A point of the plane in floating point: page pixels or screen pixels.
struct MapPoint {
    float x, y;
};

// The large world map: the explored page of the map the player was on when it opened, scaled
// by a zoom and scrolled by dragging, with the atlas labels, the player's custom markers, the
// journal markers and a cross at the player. Its menu adds, edits and removes custom markers,
// which the server hears of.
class Map : public Window {
public:
    static constexpr uint16_t MaxMarkers = 500;

    explicit Map(Core* core);
    ~Map() override;

    // Whether the map driver holds what the window shows: a current map with a page and a part,
    // and the world map record the player's cross is placed with.
    static bool CanOpen(const Core* core);

    void Build() override;
    void Paint() override;
    void Draw() override;
    void OnMouseDown(int32_t mx, int32_t my) override;
    void OnMouseUp(int32_t mx, int32_t my) override;
    void OnRightClick(int32_t mx, int32_t my) override;
    void OnWheel(int32_t mx, int32_t my, int32_t delta) override;
    void OnSubmit() override;
    void Place(int32_t screenWidth, int32_t screenHeight) override;
    void OnCommand(Button* button) override;
    // Closes an open marker dialog first.
    void Close() override;

    // A custom marker at a screen point; refused with a message past the limit.
    void AddMarker(uint32_t screenX, uint32_t screenY, const std::string& text, uint8_t kind);
    // New text and kind for the custom marker of the id; nothing when none has it.
    void EditMarker(int32_t id, const std::string& text, uint8_t kind);
    // A copy of the custom marker of the id, or a record of id -1 and no text.
    MapLabel FindMarker(int32_t id) const;
    // Removes the custom marker of the id and tells the server, which hears of it even when no
    // marker had the id.
    void RemoveMarker(int32_t id);
    // While `follow` is set: scrolls to centre the player, zooming in when the player is too
    // near a page edge to be centred.
    void UpdateView();
    // Redraws the page image and, at zoom 1.0 and above, the labels and markers into `layer`.
    void RenderMarkerLayer();
    // The record under a screen point: a custom marker, a journal marker, then an atlas label;
    // id -1 when there is none.
    MapLabel PickAt(int32_t mx, int32_t my) const;

    // A screen point as a page point, and the clamped scroll of a wished one.
    MapPoint ScreenToPage(int32_t sx, int32_t sy) const;
    // Whole limits (at release and on the wheel) or exact ones (while drawing).
    MapPoint ClampScroll(MapPoint wished, bool wholeLimits) const;
    // The player's position on the page; false when the world map has no part of the selection.
    bool PlayerOnPage(MapPoint& at) const;

    MapStruct* mapStruct = nullptr;
    uint8_t isWorldMap = 0;
    MapPage* page = nullptr;
    MapPart* part = nullptr;
    int32_t pageWidth = 0, pageHeight = 0;
    GfxRenderTarget* layer = nullptr;
    WindowRect view = {0, 0, 0, 0};
    float zoom = 1.0f;
    float minZoom = 0.5f;
    float maxZoom = 1.5f;
    MapPoint baseScroll = {0, 0};
    MapPoint scroll = {0, 0};
    MapPoint followOffset = {0, 0};
    uint8_t follow = 0;  // the view tracks the player
    // A drag of the map, apart from the base's drag of the window.
    uint8_t draggingMap = 0;
    int32_t dragAnchorX = 0, dragAnchorY = 0;
    Font* labelFont = nullptr;

private:
    bool InView(int32_t mx, int32_t my) const;
    // The view's top-left in screen pixels less the drawing offset.
    MapPoint DrawingOrigin() const;
    MapPoint ScrollLimits(float atZoom, bool whole) const;
    bool CurrentMouse(int32_t& mx, int32_t& my) const;
    void UpdateFollowOffset();
    void DrawLabels(float scale);
    void DrawIcons(const std::vector<MapLabel>& labels, float scale);
    void DrawCross();
    void DrawTooltip();
    // The first record of kind 1 to 239 whose icon holds the point.
    const MapLabel* HitIcon(const std::vector<MapLabel>& labels, int32_t mx, int32_t my) const;
    const MapLabel* HitAny(int32_t mx, int32_t my) const;
    void CloseMarkerDialog();
    void PaintContent();
};
