#pragma once
// Sums of copper coins as the player reads them.
#include <cstdint>
#include <string>

// Decimal with "," between groups of three digits, for sums past 32 bits as well.
std::string FormatLargeNumber(uint64_t value);
// A sum of copper coins in coins, largest first: "1 gold coin, 1 silver coin and 1 copper coin";
// "" for no coin. 100 copper coins make a silver coin and 1000 a gold coin.
std::string CoinWords(uint64_t copperCoins);
