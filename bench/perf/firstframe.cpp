// Starts the program and measures how long it takes until its main window is mapped and
// until the field's green plates are on the screen, by reading single pixels of the X
// server every millisecond. At the first frame it also counts the shared libraries the
// program has mapped and reads its resident memory. Prints
// "pid mapped_ms frame_ms libraries_at_frame rss_kib_at_frame" and leaves the program running.
//
// Build: g++ -O2 -std=c++20 firstframe.cpp -lX11 -o firstframe
// Usage: firstframe [--title TITLE] <program> [timeout_ms]   (TITLE defaults to "Tarnell";
//        DISPLAY, HOME and the working directory are passed on to the program as they are)
#include <X11/Xlib.h>
#include <X11/Xutil.h>

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

namespace tarnell {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int WindowWidth = 488;
constexpr int WindowHeight = 376;

// Centres of the four corner cells of an 8 x 8 board, in window coordinates: the field area
// lies at (59, 67) in the window and cell (i, j) has its centre at
// (200 + 20 (j - 1) - 20 (i - 1), 26 + 10 (i - 1) + 10 (j - 1)) in the field area.
constexpr int PlateProbes[][2] = {{259, 93}, {259, 233}, {119, 163}, {399, 163}};

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

// The viewable top-level window with the given title and the main window's size.
std::optional<Window> findMainWindow(Display* display, const char* title) {
    Window root = DefaultRootWindow(display);
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(display, root, &root, &parent, &children, &count) == 0)
        return std::nullopt;
    std::optional<Window> found;
    for (unsigned int i = 0; i < count && !found; ++i) {
        XWindowAttributes attributes{};
        if (XGetWindowAttributes(display, children[i], &attributes) == 0)
            continue;
        if (attributes.map_state == IsViewable && attributes.width == WindowWidth &&
            attributes.height == WindowHeight && titled(display, children[i], title))
            found = children[i];
    }
    if (children)
        XFree(children);
    return found;
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

int ignoreErrors(Display*, XErrorEvent*) {
    return 0; // a window that goes away between two requests is not a failure here
}

} // namespace

} // namespace tarnell

using namespace tarnell;

int main(int argc, char** argv) {
    const char* title = "Tarnell";
    int first = 1;
    if (argc > 2 && std::strcmp(argv[1], "--title") == 0) {
        title = argv[2];
        first = 3;
    }
    if (argc <= first) {
        std::fprintf(stderr, "usage: %s [--title TITLE] <program> [timeout_ms]\n", argv[0]);
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
    while (millisecondsSince(start) < timeoutMs) {
        if (!window) {
            window = findMainWindow(display, title);
            if (window)
                mappedMs = millisecondsSince(start);
        }
        if (window) {
            bool all = true;
            for (const auto& probe : PlateProbes)
                all = all && isPlateGreen(display, *window, probe[0], probe[1]);
            if (all) {
                frameMs = millisecondsSince(start);
                libraries = mappedLibraries(pid);
                rssKib = residentKib(pid);
                break;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    XCloseDisplay(display);
    std::printf("%d %.1f %.1f %d %ld\n", static_cast<int>(pid), mappedMs, frameMs, libraries,
                rssKib);
    return frameMs < 0 ? 1 : 0;
}
