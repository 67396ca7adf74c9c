#include "ui/layout.h"

#include <algorithm>

namespace kestrevane::ui {

std::vector<std::size_t> creationOrder(const WindowSpec& design)
{
    // The accessibility layer reads controls in creation order and names one after the
    // label created right before it; the focus moves through the tab stops in creation
    // order. So the table's order stands, and only the tab stops are sorted among
    // themselves: an insertion sort, stable, and far smaller than the library's.
    const std::size_t n = design.controls.size();
    std::vector<std::size_t> stops;
    for (std::size_t i = 0; i < n; ++i) {
        if (!isTabStop(design.controls[i])) continue;
        auto at = stops.end();
        while (at != stops.begin() && design.controls[*(at - 1)].tabIndex > design.controls[i].tabIndex) --at;
        stops.insert(at, i);
    }
    // Starting at the table's first tab stop, the lowest index among them.
    std::rotate(stops.begin(), std::min_element(stops.begin(), stops.end()), stops.end());
    std::vector<std::size_t> order;
    order.reserve(n);
    auto nextStop = stops.begin();
    for (std::size_t i = 0; i < n; ++i) order.push_back(isTabStop(design.controls[i]) ? *nextStop++ : i);
    return order;
}

namespace {

// What a control draws around its line, in pixels at 96 dots per inch: a value field's
// sunken edge, the text box's client edge, and a button's outline (as the focused,
// default button), frame and focus rectangle, which the text must not run under.
constexpr int edgeAroundLine(ControlKind kind)
{
    switch (kind) {
    case ControlKind::valueField: return 2 * 1;
    case ControlKind::textBox: return 2 * 2;
    case ControlKind::button: return 2 * (1 + 2 + 1);
    case ControlKind::label:
    case ControlKind::link: break;
    }
    return 0;
}

} // namespace

int fittingDpi(const WindowSpec& design, int dpi, int lineHeight, CharWidths widths)
{
    if (dpi <= 0 || lineHeight <= 0) return dpi;
    const auto fits = [&](int d) {
        for (const ControlSpec& c : design.controls) {
            // A design font grows with the layout, so only the window's font can outgrow it.
            if (!c.font.face.empty()) continue;
            // Edges follow the DPI, as the system's frames do; rounded up, to be sure.
            const int needed = lineHeight + (edgeAroundLine(c.kind) * dpi + 95) / 96;
            const PixelRect r = pixelRect(c, d);
            if (r.bottom - r.top < needed) return false;
        }
        return true;
    };
    // Each edge rounds on its own, so a control's height does not grow evenly with the
    // DPI: the least DPI that fits is found by trying, a step or a few dozen.
    int fitting = dpi;
    // Otherwise the log's records and the captions wrap or run out of their boxes.
    if (widths.design > 0 && widths.font > widths.design)
        fitting = (dpi * widths.font + widths.design - 1) / widths.design;
    while (!fits(fitting) && fitting < 16 * dpi) ++fitting;
    return fitting;
}

} // namespace kestrevane::ui
