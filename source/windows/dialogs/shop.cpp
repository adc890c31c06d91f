#include "windows/dialogs/shop.h"

#include "windows/toolkit/windowtypes.h"

Shop::Shop(Core* core) : Window(core) { typeId = WindowType::Shop; }

void Shop::SellSelected(uint8_t all) { salesAsked.push_back(all); }

void Shop::ConfirmSell() { ++salesConfirmed; }

void Shop::AskSellConfirmation() { ++sellConfirmationsAsked; }
