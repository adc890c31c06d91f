#pragma once
#include <cstdint>

// Button ids of the front screens. An id means the same on every screen that has it: Login opens
// or submits the login window, Create the new-account dialog.
namespace FrontButton {
constexpr uint32_t Settings = 3;
constexpr uint32_t Login = 17;
constexpr uint32_t Account = 18;
constexpr uint32_t Exit = 20;
constexpr uint32_t Create = 24;
constexpr uint32_t Send = 81;  // the lost-account and change-password requests
constexpr uint32_t Lost = 82;
constexpr uint32_t Password = 83;
constexpr uint32_t Steam = 98;  // the panel's Steam button and the link dialog's link
constexpr uint32_t Play = 103;
}  // namespace FrontButton
