#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "windows/toolkit/window.h"

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

// The avatar list: keeps the avatars it is given and counts the answers of the yes/no box, the
// least its callers need.
class Avatars : public Window {
public:
    explicit Avatars(Core* core);
    void SetAvatarList(std::vector<AvatarEntry> list);
    void AddAvatar(AvatarEntry entry);
    // What the yes/no box asks of the open list.
    void DeleteSelected();
    void RestoreSelected();
    void Close() override;

    std::vector<AvatarEntry> avatars;
    uint32_t deletions = 0;
    uint32_t restorations = 0;
};
