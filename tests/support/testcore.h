#pragma once
// A Core for unit tests: start values only, the null graphics driver, an 800 x 600 client area
// and an empty image table; nothing is loaded and no window is opened.
#include <memory>

#include "core.h"

std::unique_ptr<Core> MakeTestCore();
