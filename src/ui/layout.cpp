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

} // namespace kestrevane::ui
