// A test driver that draws nothing and logs every call of the driver table (drawing slots and
// operations, not the id query), one line per call such as "FillRect(0,0,10,10,0xFF000000,0x3)".
// Floats print as %g, 32-bit unsigned values in hex, signed ones in decimal, records as
// img:<user>, rt:<user> or ov:<user>, other pointers as ptr. Behind the log it acts as the null
// driver (created records get a driver object, CheckTarget answers false).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace RecordingDriver {

constexpr uint32_t Id = 0x00524543;  // 'REC'

// Installs the driver into the table (GFX_Unload or GFX_Init later replace it).
void Install();
// The calls logged since the last Take or Install, and empties the log.
std::vector<std::string> Take();

}  // namespace RecordingDriver
