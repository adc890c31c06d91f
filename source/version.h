#pragma once
#include <cstdint>

// The client version held in the program's "VERSION" resource of type "VELTOR"; 0 when the
// resource cannot be found, loaded or locked.
uint32_t ReadClientVersion();
