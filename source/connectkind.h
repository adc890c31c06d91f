#pragma once
#include <cstdint>

// What a new connection asks of the server once it greets the client (Core::connectKind).
namespace ConnectKind {
constexpr uint32_t Login = 1;
constexpr uint32_t NewAccount = 2;
constexpr uint32_t LostAccount = 3;
constexpr uint32_t ChangePassword = 4;
constexpr uint32_t SteamLogin = 5;
constexpr uint32_t SteamLink = 6;
}  // namespace ConnectKind
