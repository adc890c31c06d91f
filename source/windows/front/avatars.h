#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "windows/toolkit/window.h"

class Item;

// One avatar of the account, in wire order.
struct AvatarEntry {
    uint32_t id = 0;
    uint8_t extraByte = 0;
    uint32_t shapeId = 0;
    uint32_t subId = 0;  // outfit colours; 0 when the shape takes none
    uint16_t level = 0;
    std::string name;
    uint32_t extraWord = 0;
};

// The avatar list after the login: the account's avatars by name in a list control, a preview
// of the selected one with its level, the noble-account expiry, and the buttons play, create and
// close. The server fills it; play asks to enter the game with the selected avatar.
class Avatars : public Window {
public:
    static constexpr uint32_t CreateButton = 24;
    static constexpr uint32_t PlayButton = 36;
    // Asks whether to mark the selected avatar for deletion or restoration; no control of the
    // list fires it yet.
    static constexpr uint32_t DeleteRestoreButton = 70;

    explicit Avatars(Core* core);
    ~Avatars() override;

    void Build() override;
    void Paint() override;
    void Draw() override;
    // Enter plays.
    void OnSubmit() override;
    void Place(int32_t screenWidth, int32_t screenHeight) override;
    void OnCommand(Button* button) override;
    // The avatars of the login; with none, the new-avatar dialog opens above the list.
    void SetAvatarList(const std::vector<AvatarEntry>& entries) override;
    // Drops the connections and removes the list: back to the main screen.
    void Close() override;

    // An avatar the server created later.
    void AddAvatar(AvatarEntry entry);
    void Play();
    void ConfirmDeleteRestore();
    // The answers of the question: mark or unmark the selected avatar's row.
    void DeleteSelected();
    void RestoreSelected();
    // The most avatars an account may have: twice as many with noble days left.
    uint32_t AvatarLimit() const;
    // The line under the list while noble days are left.
    static std::string ExpiryLine(uint32_t days);

    std::vector<AvatarEntry> avatars;

private:
    void PaintContent();
    void OpenCreate();
    // The entry of the list's selected row, or null.
    const AvatarEntry* Selected() const;
    void MarkSelected(uint8_t marked);
    void DrawPreview(const AvatarEntry& entry, int32_t index);
    void Enable(uint32_t buttonId, uint8_t enabled);

    // The preview of the shown entry, built once while that entry stays selected.
    std::unique_ptr<Item> preview;
    int32_t previewIndex = -1;
};
