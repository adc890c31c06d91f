#pragma once
#include <string>

// Opens a web page in the system's browser through the shell. Tests replace `webPageOpener` so
// that nothing is started.
using WebPageOpener = void (*)(const std::string& address);
extern WebPageOpener webPageOpener;

void OpenWebPage(const std::string& address);
