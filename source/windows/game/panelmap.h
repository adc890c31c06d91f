#pragma once
#include <cstdint>

#include "windows/toolkit/panellist.h"

class MapPart;
class Panel;
struct GfxRenderTarget;

// The minimap: a side-column window showing the composed world map around the player, scaled
// by a zoom the wheel changes, with the map's markers drawn over it, a cross at its centre and
// the game field's shade. It follows the player whenever the map driver reports a new position.
class Panelmap : public Panellist {
public:
    Panelmap(Core* core, Panel* column);
    ~Panelmap() override;

    void Build() override;
    void Paint() override;
    void Draw() override;
    void OnMouseDown(int32_t mx, int32_t my) override;
    // The popup menu: the column's entries on the title band, the map's entries elsewhere.
    void OnRightClick(int32_t mx, int32_t my) override;
    void OnWheel(int32_t mx, int32_t my, int32_t delta) override;
    void CreateSurface() override;

    // Scrolls the view to centre the player's map position, lowering the zoom when the player
    // is too near the page edge to be centred; then redraws the markers.
    void CenterOnPlayer();
    // Draws the markers of the view into the marker layer.
    void RenderMarkers();
    // The marker layer's alpha at the current zoom: full up to 1.0, none from 1.2 on.
    uint32_t MarkerAlpha() const;
    // The view's offset into the scaled page, in whole pixels: 0 when the page is no larger
    // than the view.
    int32_t OffsetX() const;
    int32_t OffsetY() const;

    WindowRect view = {0, 0, 0, 0};  // inside the window
    float zoom = 1.0f;               // map pixels per screen pixel
    float minZoom = 0.5f, maxZoom = 1.5f;
    float scrollX = 0, scrollY = 0;
    int32_t pageWidth = 0, pageHeight = 0;
    GfxRenderTarget* markerLayer = nullptr;
    // The view slides with the walking player between tiles.
    uint8_t follow = 1;

private:
    // The composed world map while the player is on it, else null (only the frame is drawn).
    GfxRenderTarget* ShownPage() const;
    const MapPart* ShownPart() const;
    void CopyPageSize();
    void DrawMap();
    void DrawMarkers();
};
