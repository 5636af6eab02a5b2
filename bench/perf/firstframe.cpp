// Starts the program and measures how long it takes until its main window is mapped and
// until the field's green plates are on the screen, by reading single pixels of the X
// server every millisecond. At the first frame it also counts the shared libraries the
// program has mapped and reads its resident memory. Prints
// "pid mapped_ms frame_ms libraries_at_frame rss_kib_at_frame" and leaves the program running.
//
// With --dialog it then times a window's first show, from the key that opens it to the
// window on the screen: it sends the --prepare keys (each followed by a pause of 500 ms,
// untimed), then the --open key, and polls every millisecond for a viewable top-level
// window with the dialog's title whose pixels at the --check points have the given colours
// (its first frame, not just its mapping). Where the key does not open the dialog within
// 1.5 s, it sends the next of the --moves keys (untimed, 200 ms pause) and the --open key
// again, until the moves run out. Adds "dialog_ms" to the line printed.
//
// With --any-window (for another program, whose window and pixels it does not know) "mapped"
// is the first viewable top-level window of at least 64 x 64 that was not there before the
// start, and the first frame is the last change of that window's pixels before they stay the
// same for --settle milliseconds (default 500): the whole first picture, however it is drawn.
//
// Build: g++ -O2 -std=c++20 firstframe.cpp -lX11 -l:libXtst.so.6 -o firstframe
// Usage: firstframe [--title TITLE] [--board N] [--dialog TITLE --open KEY [--prepare K1,K2...]
//                   [--moves K1,K2...] --check X,Y=R,G,B ...] <program> [timeout_ms]
//        firstframe --any-window 1 [--settle MS] <program> [timeout_ms]
//        (TITLE defaults to "Tarnell"; keys are X key names, with "ctrl+" for Control;
//        DISPLAY, HOME and the working directory are passed on to the program as they are)
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <X11/keysym.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

// The two calls of the XTest extension the probe makes (libXtst.so.6, which xdotool brings
// along), declared here so that no development package is needed for them.
extern "C" {
Bool XTestQueryExtension(Display*, int*, int*, int*, int*);
int XTestFakeKeyEvent(Display*, unsigned int keycode, Bool isPress, unsigned long delay);
}

namespace tarnell {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int WindowWidth = 488;
constexpr int WindowHeight = 376;

// Centres of the four corner cells of an N x N board (8 unless --board says otherwise), in
// window coordinates: the field area lies at (59, 67) in the window and cell (i, j) has its
// centre at (200 + 20 (j - 1) - 20 (i - 1), 26 + 10 (i - 1) + 10 (j - 1)) in the field area;
// for 8 x 8: (259, 93), (259, 233), (119, 163), (399, 163).
std::vector<std::pair<int, int>> plateProbes(int size) {
    const auto centre = [](int i, int j) {
        return std::pair<int, int>(59 + 200 + 20 * (j - 1) - 20 * (i - 1),
                                   67 + 26 + 10 * (i - 1) + 10 * (j - 1));
    };
    return {centre(1, 1), centre(size, size), centre(size, 1), centre(1, size)};
}

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

bool titled(Display* display, Window window, const char* title) {
    char* name = nullptr;
    if (XFetchName(display, window, &name) == 0 || name == nullptr)
        return false;
    const bool same = std::strcmp(name, title) == 0;
    XFree(name);
    return same;
}

bool isPlateGreen(Display* display, Window window, int x, int y) {
    XImage* image = XGetImage(display, window, x, y, 1, 1, AllPlanes, ZPixmap);
    if (image == nullptr)
        return false;
    const unsigned long pixel = XGetPixel(image, 0, 0);
    XDestroyImage(image);
    const unsigned red = (pixel >> 16) & 0xff;
    const unsigned green = (pixel >> 8) & 0xff;
    const unsigned blue = pixel & 0xff;
    // A plain plate: green well above red and blue (the class of tests/support/PlateColours.h).
    return green >= red + 24 && green >= blue + 24;
}

// The shared objects (".so" in the name) mapped into the process, each counted once.
int mappedLibraries(pid_t pid) {
    std::ifstream maps("/proc/" + std::to_string(pid) + "/maps");
    std::set<std::string> libraries;
    std::string line;
    while (std::getline(maps, line)) {
        const std::size_t slash = line.find('/');
        if (slash != std::string::npos && line.find(".so", slash) != std::string::npos)
            libraries.insert(line.substr(slash));
    }
    return static_cast<int>(libraries.size());
}

long residentKib(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            std::istringstream fields(line.substr(6));
            long kib = -1;
            fields >> kib;
            return kib;
        }
    }
    return -1;
}

// A pixel of a window that must have a colour once the window is on the screen.
struct PixelCheck {
    int x = 0;
    int y = 0;
    unsigned red = 0;
    unsigned green = 0;
    unsigned blue = 0;
};

std::optional<PixelCheck> parseCheck(const char* text) {
    PixelCheck check;
    if (std::sscanf(text, "%d,%d=%u,%u,%u", &check.x, &check.y, &check.red, &check.green,
                    &check.blue) != 5)
        return std::nullopt;
    return check;
}

std::vector<std::string> splitList(const char* text) {
    std::vector<std::string> items;
    std::stringstream stream(text);
    std::string item;
    while (std::getline(stream, item, ','))
        if (!item.empty())
            items.push_back(item);
    return items;
}

bool shows(Display* display, Window window, const std::vector<PixelCheck>& checks) {
    for (const PixelCheck& check : checks) {
        XImage* image = XGetImage(display, window, check.x, check.y, 1, 1, AllPlanes, ZPixmap);
        if (image == nullptr)
            return false;
        const unsigned long pixel = XGetPixel(image, 0, 0);
        XDestroyImage(image);
        if (((pixel >> 16) & 0xff) != check.red || ((pixel >> 8) & 0xff) != check.green ||
            (pixel & 0xff) != check.blue)
            return false;
    }
    return true;
}

// The viewable top-level window with this title, of any size or of the given one.
std::optional<Window> findTitledWindow(Display* display, const char* title, int width = 0,
                                       int height = 0) {
    Window root = DefaultRootWindow(display);
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(display, root, &root, &parent, &children, &count) == 0)
        return std::nullopt;
    std::optional<Window> found;
    for (unsigned int i = 0; i < count && !found; ++i) {
        XWindowAttributes attributes{};
        if (XGetWindowAttributes(display, children[i], &attributes) != 0 &&
            attributes.map_state == IsViewable && (width == 0 || attributes.width == width) &&
            (height == 0 || attributes.height == height) && titled(display, children[i], title))
            found = children[i];
    }
    if (children)
        XFree(children);
    return found;
}

// The main window: its title and its size.
std::optional<Window> findMainWindow(Display* display, const char* title) {
    return findTitledWindow(display, title, WindowWidth, WindowHeight);
}

// Presses and releases a key ("space", "Right", "ctrl+n") through XTest; false for a name
// the server has no key for.
bool sendKey(Display* display, const std::string& name) {
    std::string key = name;
    bool control = false;
    if (key.rfind("ctrl+", 0) == 0) {
        control = true;
        key = key.substr(5);
    }
    const KeySym symbol = XStringToKeysym(key.c_str());
    const KeyCode code = symbol == NoSymbol ? 0 : XKeysymToKeycode(display, symbol);
    if (code == 0)
        return false;
    const KeyCode controlCode = XKeysymToKeycode(display, XK_Control_L);
    if (control)
        XTestFakeKeyEvent(display, controlCode, True, 0);
    XTestFakeKeyEvent(display, code, True, 0);
    XTestFakeKeyEvent(display, code, False, 0);
    if (control)
        XTestFakeKeyEvent(display, controlCode, False, 0);
    XFlush(display);
    return true;
}

// The viewable top-level windows of at least 64 x 64.
std::set<Window> topLevelWindows(Display* display) {
    Window root = DefaultRootWindow(display);
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    std::set<Window> found;
    if (XQueryTree(display, root, &root, &parent, &children, &count) == 0)
        return found;
    for (unsigned int i = 0; i < count; ++i) {
        XWindowAttributes attributes{};
        if (XGetWindowAttributes(display, children[i], &attributes) != 0 &&
            attributes.map_state == IsViewable && attributes.width >= 64 && attributes.height >= 64)
            found.insert(children[i]);
    }
    if (children)
        XFree(children);
    return found;
}

// All the pixels of a window, or nothing while it cannot be read.
std::optional<std::vector<unsigned long>> windowPixels(Display* display, Window window) {
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(display, window, &attributes) == 0)
        return std::nullopt;
    XImage* image =
        XGetImage(display, window, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
    if (image == nullptr)
        return std::nullopt;
    std::vector<unsigned long> pixels;
    pixels.reserve(static_cast<std::size_t>(attributes.width) * attributes.height);
    for (int y = 0; y < attributes.height; ++y)
        for (int x = 0; x < attributes.width; ++x)
            pixels.push_back(XGetPixel(image, x, y));
    XDestroyImage(image);
    return pixels;
}

int ignoreErrors(Display*, XErrorEvent*) {
    return 0; // a window that goes away between two requests is not a failure here
}

} // namespace

} // namespace tarnell

using namespace tarnell;

int main(int argc, char** argv) {
    const char* title = "Tarnell";
    const char* dialog = nullptr;
    std::string openKey;
    std::vector<std::string> prepareKeys;
    std::vector<std::string> moveKeys;
    std::vector<PixelCheck> checks;
    int boardSize = 8;
    bool anyWindow = false;
    double settleMs = 500;
    int first = 1;
    while (argc > first + 1 && std::strncmp(argv[first], "--", 2) == 0) {
        const std::string option = argv[first];
        const char* value = argv[first + 1];
        if (option == "--title") {
            title = value;
        } else if (option == "--board" && std::atoi(value) >= 3) {
            boardSize = std::atoi(value);
        } else if (option == "--any-window") {
            anyWindow = std::atoi(value) != 0;
        } else if (option == "--settle" && std::atof(value) > 0) {
            settleMs = std::atof(value);
        } else if (option == "--dialog") {
            dialog = value;
        } else if (option == "--open") {
            openKey = value;
        } else if (option == "--prepare") {
            prepareKeys = splitList(value);
        } else if (option == "--moves") {
            moveKeys = splitList(value);
        } else if (option == "--check" && parseCheck(value)) {
            checks.push_back(*parseCheck(value));
        } else {
            std::fprintf(stderr, "firstframe: unknown option or bad value: %s %s\n", option.c_str(),
                         value);
            return 2;
        }
        first += 2;
    }
    if (argc <= first || (dialog != nullptr && (openKey.empty() || checks.empty()))) {
        std::fprintf(
            stderr,
            "usage: %s [--title TITLE] [--board N] [--dialog TITLE --open KEY [--prepare KEYS] "
            "[--moves KEYS] --check X,Y=R,G,B ...] <program> [timeout_ms]\n"
            "       %s --any-window 1 [--settle MS] <program> [timeout_ms]\n",
            argv[0], argv[0]);
        return 2;
    }
    const char* program = argv[first];
    const double timeoutMs = argc > first + 1 ? std::atof(argv[first + 1]) : 20000.0;
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "firstframe: cannot open the display %s\n",
                     std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "(DISPLAY not set)");
        return 2;
    }
    XSetErrorHandler(ignoreErrors);
    int unused = 0;
    if (dialog != nullptr && !XTestQueryExtension(display, &unused, &unused, &unused, &unused)) {
        std::fprintf(stderr, "firstframe: the X server has no XTest extension\n");
        return 2;
    }

    const std::vector<std::pair<int, int>> probes = plateProbes(boardSize);
    const std::set<Window> before = anyWindow ? topLevelWindows(display) : std::set<Window>{};
    const Clock::time_point start = Clock::now();
    const pid_t pid = fork();
    if (pid < 0) {
        std::perror("firstframe: fork");
        return 2;
    }
    if (pid == 0) {
        // The program's standard output is not ours to read; its errors still show.
        if (FILE* null = std::fopen("/dev/null", "w"))
            dup2(fileno(null), STDOUT_FILENO);
        execl(program, program, static_cast<char*>(nullptr));
        std::fprintf(stderr, "firstframe: cannot start %s: %s\n", program, std::strerror(errno));
        _exit(127);
    }

    double mappedMs = -1;
    double frameMs = -1;
    int libraries = -1;
    long rssKib = -1;
    std::optional<Window> window;
    std::optional<std::vector<unsigned long>> lastPixels;
    double lastChangeMs = -1;
    while (anyWindow && millisecondsSince(start) < timeoutMs) {
        if (!window) {
            for (const Window candidate : topLevelWindows(display))
                if (!before.count(candidate)) {
                    window = candidate;
                    mappedMs = millisecondsSince(start);
                    break;
                }
        }
        if (window) {
            std::optional<std::vector<unsigned long>> pixels = windowPixels(display, *window);
            const double now = millisecondsSince(start);
            if (pixels && pixels != lastPixels) {
                lastPixels = std::move(pixels);
                lastChangeMs = now;
                libraries = mappedLibraries(pid);
                rssKib = residentKib(pid);
            } else if (lastChangeMs >= 0 && now - lastChangeMs >= settleMs) {
                frameMs = lastChangeMs;
                break;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    while (!anyWindow && millisecondsSince(start) < timeoutMs) {
        if (!window) {
            window = findMainWindow(display, title);
            if (window)
                mappedMs = millisecondsSince(start);
        }
        if (window) {
            bool all = true;
            for (const auto& [x, y] : probes)
                all = all && isPlateGreen(display, *window, x, y);
            if (all) {
                frameMs = millisecondsSince(start);
                libraries = mappedLibraries(pid);
                rssKib = residentKib(pid);
                break;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    double dialogMs = -1;
    if (dialog != nullptr && frameMs >= 0) {
        for (const std::string& key : prepareKeys) {
            sendKey(display, key);
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
        }
        std::size_t nextMove = 0;
        while (dialogMs < 0) {
            const Clock::time_point pressed = Clock::now();
            if (!sendKey(display, openKey)) {
                std::fprintf(stderr, "firstframe: no key named %s\n", openKey.c_str());
                break;
            }
            while (millisecondsSince(pressed) < 1500) {
                const std::optional<Window> shown = findTitledWindow(display, dialog);
                if (shown && shows(display, *shown, checks)) {
                    dialogMs = millisecondsSince(pressed);
                    break;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            if (dialogMs >= 0 || nextMove >= moveKeys.size())
                break;
            sendKey(display, moveKeys[nextMove++]);
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        }
    }
    XCloseDisplay(display);
    if (dialog != nullptr) {
        std::printf("%d %.1f %.1f %d %ld %.1f\n", static_cast<int>(pid), mappedMs, frameMs,
                    libraries, rssKib, dialogMs);
        return dialogMs < 0 ? 1 : 0;
    }
    std::printf("%d %.1f %.1f %d %ld\n", static_cast<int>(pid), mappedMs, frameMs, libraries,
                rssKib);
    return frameMs < 0 ? 1 : 0;
}
