#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class Button;
class Core;
class Font;
class List;
class Render;
struct AvatarEntry;
struct GfxRenderTarget;

// A rectangle in client pixels: position and size.
struct WindowRect {
    int32_t x, y, w, h;
};

// The text colour of the message and yes/no boxes.
constexpr uint32_t BoxTextColour = 0xC0FFFFFF;
// What the message-style boxes add around their text: the sunken box, the title band and the
// button row.
constexpr int32_t BoxFrameWidth = 64;
constexpr int32_t BoxFrameHeight = 108;

// The room inside the client area less the screen margin on every side; a dimension of 0 or less
// sets no limit (a minimised window has no client area).
struct ClientRoom {
    int32_t width, height;
};

// A box's text as drawn and the box's size around it.
struct FittedText {
    std::string text;
    int32_t width, height;
};

// Base of every window and window-like control. A window keeps its position, size, child
// buttons and a cached off-screen surface with its painted content; Core keeps the open windows
// in one list (last = topmost), repaints a surface only when its window is dirty and draws all
// windows bottom to top every frame. Input reaches a window only through the 32 virtual slots.
class Window {
public:
    // Slot 0: deletes the child buttons and the cached surface.
    virtual ~Window();
    // Slot 1: the reset plus the name "Window"; window classes lay themselves out here.
    virtual void Build();
    // Slot 2: repaint the surface when dirty or lost; nothing in the base.
    virtual void Paint();
    // Slot 3: the shadow, then the buttons above the visible height.
    virtual void Draw();
    virtual void OnMouseDown(int32_t mx, int32_t my);    // 4
    virtual void OnMouseUp(int32_t mx, int32_t my);      // 5
    virtual void OnDoubleClick(int32_t mx, int32_t my);  // 6
    virtual void OnRightClick(int32_t mx, int32_t my);   // 7
    virtual void OnRightDown(int32_t mx, int32_t my);    // 8
    virtual void OnDrag(int32_t mx, int32_t my);         // 9
    virtual void OnResize(int32_t mx, int32_t my);       // 10
    // Slot 11: delta is the signed wheel amount, multiples of 120, positive away from the user.
    virtual void OnWheel(int32_t mx, int32_t my, int32_t delta);
    virtual void OnHover(int32_t mx, int32_t my);  // 12
    virtual void OnChar(uint32_t c);               // 13
    virtual void OnBackspace();                    // 14
    virtual void OnDelete();                       // 15
    virtual void Reserved16();                     // 16
    virtual void OnSubmit();                       // 17 (Enter)
    virtual void Reserved18();                     // 18
    virtual void Reserved19();                     // 19
    // Slot 20: place the window for a new client size; a control given 0, 0 re-reads its owner.
    virtual void Place(int32_t screenWidth, int32_t screenHeight);
    // Slot 21: id 9 removes the window, ids 1 and 10 collapse and expand it. The window may be
    // deleted when this returns: callers must not touch it afterwards.
    virtual void OnCommand(Button* button);
    virtual void SetHeight(int32_t newHeight);                            // 22
    virtual void OnOpen();                                                // 23
    virtual void SetAvatarList(const std::vector<AvatarEntry>& avatars);  // 24
    virtual void OnListSelect(int32_t index);                             // 25
    virtual bool IsDragging();                                            // 26
    virtual void Close();                                                 // 27
    virtual void CreateSurface();                                         // 28
    virtual void Refresh();                                               // 29
    virtual bool HitTest(int32_t px, int32_t py);                         // 30
    virtual WindowRect GetRect();                                         // 31

    // Creates a button owned by this window at (bx, by) from the window's corner, with the skin
    // positions of its normal, hover and pressed looks (skin image 1, one common size).
    Button* AddButton(int32_t bx, int32_t by, uint32_t id, int32_t sx0, int32_t sy0, int32_t sx1,
                      int32_t sy1, int32_t sx2, int32_t sy2, int32_t skinWidth, int32_t skinHeight,
                      WindowRect hitRect, std::string caption, uint8_t pressed, uint8_t toggle);
    // The title-bar close button (id 9) and collapse button (id 1) at the window's right edge.
    Button* AddCloseButton();
    Button* AddCollapseButton();
    // The standard push button of the dialogs (54 x 16) with its caption.
    Button* AddPushButton(int32_t bx, int32_t by, uint32_t id, std::string caption);
    // The menu button of the front screens (88 x 18) with its caption.
    Button* AddMenuButton(int32_t bx, int32_t by, uint32_t id, std::string caption);
    void ClearButtons();
    void RemoveButton(uint32_t id);
    Button* FindButton(uint32_t id);
    Button* ButtonAt(int32_t px, int32_t py);
    int32_t VisibleHeight() const;
    bool IsUnderMouse();
    void DrawButtons();
    void DrawFrame();
    void DrawCorners();
    void ClampToScreen();
    // The state after construction: type id 0, open, no flags, no list, font or surface (one left
    // from an earlier build is released), not dirty, a title band of 18 pixels.
    void ResetLayout();

    // Shared bodies of the dialogs: the centred placement and the drawing of the surface.
    void PlaceCentred(int32_t screenWidth, int32_t screenHeight);
    void DrawSurface();
    // Deletes a window this one owns (a dialog's text field, listed while the dialog is open):
    // through Core::RemoveWindow while it is listed, at once when it never was; one that a
    // clearing of the list took already is not touched.
    void ReleaseChild(Window* child, bool wasListed);
    // Whether the surface must be painted again; a surface the device cannot hold is released
    // first, and the window draws without it from then on.
    bool NeedsPaint();
    // Paints the content into the surface when it needs it, or draws the surface; without a
    // surface the content is painted straight onto the screen at the window's place.
    void PaintCached(const std::function<void()>& paintContent);
    void DrawCached(const std::function<void()>& paintContent);
    // The room a window whose size follows an outside text or count must stay within.
    ClientRoom RoomInClientArea() const;
    // The text of a message-style box and the box's size: the text's own size (at least
    // `minTextWidth` wide) plus the frame, unless that passes the client area less the screen
    // margin; then the lines wrap where they reach the limit and the lines below it are cut.
    FittedText FitBoxText(const std::string& text, int32_t minTextWidth, int32_t frameWidth,
                          int32_t frameHeight) const;
    // The background of the message-style boxes, in surface coordinates: corner pixels, skinned
    // frame, title band with its line, the sunken text box and the centred title.
    void PaintBoxBackground();

    int32_t anchorX = 0, anchorY = 0;
    Core* core = nullptr;
    Render* render = nullptr;
    Font* font = nullptr;
    Window* owner = nullptr;
    // The hosted list control; mouse down, up, wheel, drag and button look-ups pass on to it.
    List* list = nullptr;
    GfxRenderTarget* surface = nullptr;
    std::vector<Button*> buttons;
    int32_t x = 0, y = 0, width = 0, height = 0;
    int32_t titleHeight = 18;
    std::string name;
    uint32_t typeId = 0;
    // Life state: 1 open, 2 closing by its own timer, 3 closing (removed at the next frame).
    uint32_t state = 1;
    uint8_t dirty = 0;
    int32_t surfaceWidth = 0, surfaceHeight = 0;
    uint8_t dragging = 0;
    uint8_t movable = 0;
    uint8_t resizing = 0;
    uint8_t resizable = 0;
    uint8_t collapsed = 0;
    uint8_t modal = 0;

protected:
    // Stores the application object and its drawing helpers, then resets the layout.
    explicit Window(Core* core = nullptr);

private:
    bool ListHit(int32_t px, int32_t py);
    void DeleteButton(Button* button);
};

// Rounds a surface dimension up past the next multiple of 64: 1..63 give 64, 64 gives 128.
int32_t RoundSurfaceSize(int32_t size);
