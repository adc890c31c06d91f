#pragma once
#include <cstdint>

#include "windows/toolkit/window.h"

class Input;

// The map marker dialog: a 5 x 5 grid of marker icons and a name field. It adds a custom marker
// at the screen point the world map's menu was opened at, or edits one, through the open world
// map window.
class Marker : public Window {
public:
    static constexpr uint32_t SubmitButton = 25;

    Marker(Core* core, int32_t screenX, int32_t screenY);
    // Deletes the name field when the dialog goes without closing itself.
    ~Marker() override;

    void Build() override;
    void Paint() override;
    void Draw() override;
    // The title band moves the dialog; a press on a grid cell selects its kind.
    void OnMouseDown(int32_t mx, int32_t my) override;
    void OnDrag(int32_t mx, int32_t my) override;
    void OnSubmit() override;
    void Place(int32_t screenWidth, int32_t screenHeight) override;
    void OnCommand(Button* button) override;
    // Lists the name field and gives it the focus.
    void OnOpen() override;
    // Removes the name field, then the dialog.
    void Close() override;

    // Switches the dialog to editing the custom marker of the id of the open world map.
    void EditMarker(int32_t id);

    Input* nameInput = nullptr;
    uint32_t screenX = 0, screenY = 0;
    int32_t selected = -1;  // the grid cell chosen, -1 none
    int32_t editId = -1;
    uint8_t editing = 0;

private:
    void PaintContent();
    void SelectCell(int32_t cell);

    uint8_t opened = 0;
};
