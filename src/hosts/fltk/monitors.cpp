#include "hosts/fltk/monitors.h"

#include <FL/Fl.H>
#include <FL/x.H>
#include <X11/extensions/Xinerama.h>
#include <X11/extensions/Xrandr.h>

#include <algorithm>

#include "hosts/fltk/x11_display.h"

namespace pictavo::platform::fltk {

namespace {

bool holds(const MonitorArea& area, int x, int y) {
    return x >= area.x && y >= area.y && x < area.x + area.width && y < area.y + area.height;
}

bool inside(const MonitorArea& inner, const MonitorArea& outer) {
    return inner.x >= outer.x && inner.y >= outer.y &&
           inner.x + inner.width <= outer.x + outer.width &&
           inner.y + inner.height <= outer.y + outer.height;
}

std::vector<MonitorArea> xineramaHeads(Display* d) {
    int eventBase = 0, errorBase = 0, count = 0;
    if (!XineramaQueryExtension(d, &eventBase, &errorBase) || !XineramaIsActive(d)) return {};
    std::vector<MonitorArea> heads;
    if (XineramaScreenInfo* info = XineramaQueryScreens(d, &count); info != nullptr) {
        for (int i = 0; i < count; ++i)
            heads.push_back({info[i].x_org, info[i].y_org, info[i].width, info[i].height});
        XFree(info);
    }
    return heads;
}

// The area of the RandR monitor marked primary. Monitors came with RandR
// 1.5; an older server names none and the first head serves.
std::optional<MonitorArea> randrPrimaryMonitor(Display* d) {
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    if (!XRRQueryExtension(d, &eventBase, &errorBase) || !XRRQueryVersion(d, &major, &minor) ||
        major * 100 + minor < 105)
        return std::nullopt;
    int count = 0;
    std::optional<MonitorArea> primary;
    XErrorTrap trap;
    if (XRRMonitorInfo* monitors = XRRGetMonitors(d, rootWindow(), True, &count);
        monitors != nullptr) {
        // The server lists the primary monitor first; the first marked so wins.
        for (int i = 0; i < count && !primary; ++i)
            if (monitors[i].primary)
                primary = MonitorArea{monitors[i].x, monitors[i].y, monitors[i].width,
                                      monitors[i].height};
        XRRFreeMonitors(monitors);
    }
    return trap.failed() ? std::nullopt : primary;
}

}  // namespace

std::vector<size_t> MonitorLayout::otherHeads() const {
    // A head inside another one that is covered anyway needs no cover of its
    // own; of two equal heads the first one is kept.
    auto coveredBy = [&](size_t i, size_t j) {
        return j != i && j != primary && inside(heads[i], heads[j]) &&
               (heads[i] != heads[j] || j < i);
    };
    std::vector<size_t> others;
    for (size_t i = 0; i < heads.size(); ++i) {
        if (inside(heads[i], primaryArea())) continue;
        bool needless = false;
        for (size_t j = 0; j < heads.size() && !needless; ++j) needless = coveredBy(i, j);
        if (!needless) others.push_back(i);
    }
    return others;
}

size_t primaryHead(const std::vector<MonitorArea>& heads,
                   const std::optional<MonitorArea>& primaryMonitor) {
    if (!primaryMonitor) return 0;
    auto same = std::find(heads.begin(), heads.end(), *primaryMonitor);
    if (same != heads.end()) return static_cast<size_t>(same - heads.begin());
    const int centreX = primaryMonitor->x + primaryMonitor->width / 2;
    const int centreY = primaryMonitor->y + primaryMonitor->height / 2;
    auto holding = std::find_if(heads.begin(), heads.end(), [&](const MonitorArea& head) {
        return holds(head, centreX, centreY);
    });
    return holding != heads.end() ? static_cast<size_t>(holding - heads.begin()) : 0;
}

MonitorLayout readMonitors() {
    Display* d = display();
    MonitorLayout layout;
    layout.heads = xineramaHeads(d);
    if (layout.heads.empty()) {
        layout.heads.push_back({0, 0, DisplayWidth(d, fl_screen), DisplayHeight(d, fl_screen)});
        return layout;
    }
    layout.primary = primaryHead(layout.heads, randrPrimaryMonitor(d));
    return layout;
}

std::vector<OtherScreen> otherScreens() {
    Display* d = display();
    std::vector<OtherScreen> screens;
    for (int number = 0; number < ScreenCount(d); ++number)
        if (number != fl_screen)
            screens.push_back({number, {0, 0, DisplayWidth(d, number), DisplayHeight(d, number)}});
    return screens;
}

}  // namespace pictavo::platform::fltk
