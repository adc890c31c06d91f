#include <gtest/gtest.h>

#include "version.h"

// Test programs carry no version resource: the reader must answer 0, not fail.
TEST(ClientVersion, MissingResourceGivesZero) { EXPECT_EQ(ReadClientVersion(), 0u); }
