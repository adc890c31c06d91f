#include "windows/toolkit/weblink.h"

#include <windows.h>
#include <shellapi.h>

namespace {
void ShellOpen(const std::string& address) {
    ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
}  // namespace

WebPageOpener webPageOpener = ShellOpen;

void OpenWebPage(const std::string& address) { webPageOpener(address); }
