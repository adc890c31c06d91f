#include "windows/front/avatars.h"

#include "windows/toolkit/windowtypes.h"

Avatars::Avatars(Core* core) : Window(core) { typeId = WindowType::Avatars; }

void Avatars::SetAvatarList(std::vector<AvatarEntry> list) { avatars = std::move(list); }

void Avatars::AddAvatar(AvatarEntry entry) { avatars.push_back(std::move(entry)); }

void Avatars::DeleteSelected() { ++deletions; }

void Avatars::RestoreSelected() { ++restorations; }

void Avatars::Close() { state = 3; }
