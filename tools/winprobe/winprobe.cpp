// winprobe: a small console tool the end-to-end tests run in the client's Wine session to see
// and drive its windows from outside: list top-level windows, read message boxes, press their
// OK button and post window messages. It shares no code with the client.
// "hold" keeps the session's desktop up until the probe is ended: started by the test harness
// before any client, it makes the desktop process Wine starts a child of the probe, not of the
// first client, which it would otherwise outlive by about two seconds.
//
// Window handles are printed and read as hexadecimal ("0x1234"). Every listed window carries
// its process id and the X11 window Wine made for it, so a caller can tell whose window it is,
// and a message box (dialog class #32770) also the text of its Static controls.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct TopWindow {
    HWND hwnd;
    DWORD processId;
    std::string className;
    std::string title;
    bool visible;
};

std::string ClassOf(HWND hwnd) {
    char name[256] = {};
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

// GetWindowTextA reads another process's window text without a message, so a client that is
// busy starting cannot hold the probe up (GetWindowTextLengthA would send it one and wait).
std::string TitleOf(HWND hwnd) {
    char text[4096] = {};
    return std::string(text, GetWindowTextA(hwnd, text, sizeof text));
}

BOOL CALLBACK CollectTopWindow(HWND hwnd, LPARAM list) {
    TopWindow window{hwnd, 0, ClassOf(hwnd), TitleOf(hwnd), IsWindowVisible(hwnd) != 0};
    GetWindowThreadProcessId(hwnd, &window.processId);
    reinterpret_cast<std::vector<TopWindow>*>(list)->push_back(window);
    return TRUE;
}

std::vector<TopWindow> TopWindows() {
    std::vector<TopWindow> windows;
    EnumWindows(CollectTopWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

// Wine keeps the X11 window of a top-level window as a window property; 0 when it has none.
unsigned long XWindowOf(HWND hwnd) {
    return static_cast<unsigned long>(
        reinterpret_cast<ULONG_PTR>(GetPropA(hwnd, "__wine_x11_whole_window")));
}

// Texts are printed on one line, tab-separated: line breaks and tabs are escaped.
std::string OneLine(const std::string& text) {
    std::string line;
    for (char c : text) {
        if (c == '\n') line += "\\n";
        else if (c == '\r') line += "\\r";
        else if (c == '\t') line += "\\t";
        else if (c == '\\') line += "\\\\";
        else line += c;
    }
    return line;
}

// The text of a message box: its Static children, the icon (which has no text) left out.
BOOL CALLBACK AppendStaticText(HWND child, LPARAM text) {
    if (ClassOf(child) == "Static") {
        std::string part = TitleOf(child);
        auto& all = *reinterpret_cast<std::string*>(text);
        if (!part.empty()) all += all.empty() ? part : "\n" + part;
    }
    return TRUE;
}

std::string BoxText(HWND box) {
    std::string text;
    EnumChildWindows(box, AppendStaticText, reinterpret_cast<LPARAM>(&text));
    return text;
}

bool IsMessageBox(const TopWindow& window) { return window.className == "#32770"; }

void PrintWindow(const TopWindow& window) {
    std::printf("%#lx\t%lu\t%#lx\t%d\t%s\t%s\t%s\n",
                static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(window.hwnd)),
                window.processId, XWindowOf(window.hwnd), window.visible ? 1 : 0,
                OneLine(window.className).c_str(), OneLine(window.title).c_str(),
                IsMessageBox(window) ? OneLine(BoxText(window.hwnd)).c_str() : "");
}

bool ParseNumber(const char* text, unsigned long* value) {
    char* end = nullptr;
    *value = std::strtoul(text, &end, 0);
    return end != text && *end == '\0';
}

bool ParseWindow(const char* text, HWND* hwnd) {
    unsigned long value = 0;
    if (!ParseNumber(text, &value)) return false;
    *hwnd = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(value));
    return IsWindow(*hwnd) != 0;
}

int List() {
    for (const TopWindow& window : TopWindows()) PrintWindow(window);
    return 0;
}

int Find(const char* className, const char* title) {
    int found = 0;
    for (const TopWindow& window : TopWindows()) {
        if (window.className == className && window.title == title) {
            PrintWindow(window);
            ++found;
        }
    }
    return found > 0 ? 0 : 1;
}

int Boxes() {
    for (const TopWindow& window : TopWindows()) {
        if (IsMessageBox(window) && window.visible) PrintWindow(window);
    }
    return 0;
}

// Milliseconds since 1 January 1970 on the host's clock, the one the test harness reads.
unsigned long long UnixTimeMs() {
    FILETIME time;
    GetSystemTimePreciseAsFileTime(&time);
    const unsigned long long ticks =
        (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    return (ticks - 116444736000000000ull) / 10000;  // 100-ns units since 1601
}

int Post(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (PostMessageA(hwnd, message, wParam, lParam)) return 0;
    std::fprintf(stderr, "winprobe: PostMessage failed (%lu)\n", GetLastError());
    return 1;
}

// Posts WM_CLOSE, then waits until the window's thread reads its messages again: it answers a
// message sent after the close request just before it takes that request. Prints both times.
int Close(HWND hwnd) {
    const unsigned long long postedAt = UnixTimeMs();
    if (!PostMessageA(hwnd, WM_CLOSE, 0, 0)) {
        std::fprintf(stderr, "winprobe: PostMessage failed (%lu)\n", GetLastError());
        return 1;
    }
    // Fails at once when the window is gone by then: it took the request.
    DWORD_PTR result = 0;
    SendMessageTimeoutA(hwnd, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &result);
    std::printf("%llu %llu\n", postedAt, UnixTimeMs());
    return 0;
}

// Screen position and size of the window's client area, and 1 when it is minimised.
int Info(HWND hwnd) {
    RECT rect = {};
    POINT origin = {0, 0};
    GetClientRect(hwnd, &rect);
    ClientToScreen(hwnd, &origin);
    std::printf("%ld %ld %ld %ld %d\n", origin.x, origin.y, rect.right, rect.bottom,
                IsIconic(hwnd) ? 1 : 0);
    return 0;
}

// Says "held" once the desktop is up (GetDesktopWindow starts its process if none runs yet).
int Hold() {
    GetDesktopWindow();
    std::printf("held\n");
    std::fflush(stdout);
    Sleep(INFINITE);
    return 0;
}

int Usage() {
    std::fprintf(stderr,
                 "usage: winprobe list | find CLASS TITLE | boxes | hold | info HWND |\n"
                 "                press-ok HWND | close HWND | post HWND MSG WPARAM LPARAM\n"
                 "windows print as: HWND PID XWINDOW VISIBLE CLASS TITLE BOXTEXT, tab-separated;\n"
                 "close prints when it posted WM_CLOSE and when the window took it, in\n"
                 "milliseconds since 1970\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "list" && argc == 2) return List();
    if (command == "boxes" && argc == 2) return Boxes();
    if (command == "hold" && argc == 2) return Hold();
    if (command == "find" && argc == 4) return Find(argv[2], argv[3]);

    HWND hwnd = nullptr;
    if (argc < 3) return Usage();
    if (!ParseWindow(argv[2], &hwnd)) {
        std::fprintf(stderr, "winprobe: no window %s\n", argv[2]);
        return 1;
    }
    if (command == "info" && argc == 3) return Info(hwnd);
    if (command == "press-ok" && argc == 3) return Post(hwnd, WM_COMMAND, IDOK, 0);
    if (command == "close" && argc == 3) return Close(hwnd);
    unsigned long message = 0, wParam = 0, lParam = 0;
    if (command == "post" && argc == 6 && ParseNumber(argv[3], &message) &&
        ParseNumber(argv[4], &wParam) && ParseNumber(argv[5], &lParam))
        return Post(hwnd, message, wParam, static_cast<LPARAM>(lParam));
    return Usage();
}
