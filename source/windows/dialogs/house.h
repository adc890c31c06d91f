#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "windows/dialogs/inputdialog.h"

struct HouseInfo;

// The own-house window: the house the player rents (name, town, type, size, rent and a live
// countdown to the next payment) and its invitee list, one row per guest of Core::houseInfo.
// Adding and removing invitees changes Core::houseInfo at once and tells the server.
class House : public InputDialog {
public:
    static constexpr uint32_t AddButtonId = 25, RemoveButtonId = 26;

    explicit House(Core* core);
    ~House() override;
    void Build() override;
    void Paint() override;
    void Draw() override;
    // Enter in the name field and the ok and close buttons: the window goes.
    void OnSubmit() override;
    void Place(int32_t screenWidth, int32_t screenHeight) override;
    void OnCommand(Button* button) override;
    void OnOpen() override;

    // The rows again from Core::houseInfo, the selected guest kept while still listed.
    void ReloadGuests();
    void AddInvitee();
    void RemoveInvitee();

    // The countdown to the rent at a wall-clock time: "N days", hh:mm:ss under a day,
    // "00:00:00" once due.
    static std::string CountdownText(const HouseInfo& house, uint64_t now);

private:
    void PaintInfo();

    // The guest each row stands for, in row order.
    std::vector<std::string> guestNames;
};

// Where the house-info message and a guest's rename reach the open window, if any.
void ReloadHouseGuests(Core& core);
