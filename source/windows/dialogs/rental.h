#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "windows/toolkit/window.h"

// One house of an auctioneer's list.
struct HouseEntry {
    uint32_t houseId{};
    uint16_t type{};
    uint16_t size{};            // square metres
    uint32_t rent{};            // copper coins for 28 days
    uint32_t currentBid{};      // copper coins; 0 without a bid
    uint32_t auctionSeconds{};  // from referenceTime to the auction's end; 0 when none runs
    std::string town;
    std::string nameFirst;
    std::string nameSecond;
    std::string typeName;
    std::string description;  // may hold colour escapes, smiley marks and line breaks (11)
    std::string bidHolder;    // "-" without a bidder
    std::string owner;        // empty while the house is free
    std::string rowText;
    uint8_t hasOwner{};
    uint64_t referenceTime{};  // wall-clock milliseconds
};

// The rental and auction list of an auctioneer: one row per house and, for the selected house, a
// detail page with its auction state and the button that opens the bidding window. Closing it
// tells the server.
class Rental : public Window {
public:
    static constexpr uint32_t BidButtonId = 111;
    // The width the description is wrapped to, and where the bid button stands while shown.
    static constexpr int32_t DescriptionWidth = 210;
    static constexpr int32_t BidButtonX = 522;

    Rental(Core* core, std::string title);
    ~Rental() override;
    void Build() override;
    void Paint() override;
    void Draw() override;
    // Tells the server and removes the window.
    void OnSubmit() override;
    void Place(int32_t screenWidth, int32_t screenHeight) override;
    void OnCommand(Button* button) override;
    // Removes the window without a word to the server (the server closed the list).
    void Close() override;

    void SetHouses(HouseEntry entry);
    // kind 1: the house is sold to `name`.
    void UpdateAuction(uint32_t houseId, uint32_t kind, uint32_t currentBid,
                       uint32_t auctionSeconds, const std::string& name);
    // The description's lines at the panel's width; a line break (11) leaves an empty line.
    std::vector<std::string> WrapDescription(const std::string& text) const;
    // The house of the selected row, or null.
    const HouseEntry* SelectedHouse() const;

    std::vector<std::string> descriptionLines;
    std::vector<HouseEntry> houses;
    uint64_t referenceTime = 0;
    Button* bidButton = nullptr;

private:
    void PaintStatic();
    void DrawDetails();
};
