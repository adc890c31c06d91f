#pragma once
#include <cstdint>
#include <string>

#include "windows/toolkit/window.h"

class Item;

// The modal yes/no box. The code that asks stores an action code in the box: "yes" runs the
// action, "no", the close button and Escape cancel it; what either answer does is registered per
// action code by the part of the client that owns the action. A box answers once. Boxes about
// items also show the item, once or as a grid of stacks.
class Sure : public Window {
public:
    // Action codes and what "yes" does.
    enum Action : uint32_t {
        Logout = 1,        // leave the game, unless the player may not
        Buy = 3,           // the shop move, repeated for every stack bought
        SellQuestion = 4,  // the yes answer to the server's sell question
        LinkSteam = 6,     // close the avatar screens and open the Steam link window
        DeleteAvatar = 7,
        RestoreAvatar = 8,
        Sell = 9,  // the shop's own sell, then the yes answer
        // The selected recording of the recordings list and its block.
        DeleteRecording = 5,
    };

    // What became of a box after its "yes" handler ran.
    enum class Outcome {
        Kept,     // refused: the box stays open and can be answered again
        Closing,  // answered: removed with the next frame
    };
    using YesHandler = Outcome (*)(Sure& box);
    using NoHandler = void (*)(Sure& box);
    // Registers the answers of an action code, replacing earlier ones; either may be null (a "yes"
    // without a handler only closes the box).
    static void SetAnswers(uint32_t action, YesHandler yes, NoHandler no);

    Sure(Core* core, std::string title, std::string text, uint32_t action);
    // A question about an item. Boxes of actions 4 and 9 own the item and delete it.
    Sure(Core* core, std::string title, std::string text, uint32_t action, Item* item,
         uint8_t moveArg);
    ~Sure() override;

    void Build() override;
    void Paint() override;
    void Draw() override;
    // The confirmation: the yes button and the Enter key.
    void OnSubmit() override;
    void Place(int32_t screenWidth, int32_t screenHeight) override;
    void OnCommand(Button* button) override;
    // Cancels the question and removes the box at once; nothing once the box has answered.
    void Close() override;

    Item* item = nullptr;
    uint8_t moveArg = 0;
    std::string text;
    // The text as drawn: wrapped and cut to fit the client area.
    std::string fittedText;
    uint32_t action;
    uint8_t showGrid = 0;
    uint8_t gridColumns = 1;
    uint8_t gridRows = 1;
    // Set once the box has answered: nothing else answers for it.
    uint8_t answered = 0;

private:
    bool IsItemQuestion() const;
    bool OwnsItem() const;
    int32_t StackCount() const;
    // Runs the "yes" handler of the action; a box that answered is marked and closes.
    Outcome Answer();
    void PaintContent();
    void PaintGrid();
    void DrawCells(int32_t originX, int32_t originY, bool everyFrame);
    void DrawItemAt(int32_t itemX, int32_t itemY);
};
