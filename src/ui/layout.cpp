#include "ui/layout.h"

namespace kestrevane::ui {

std::vector<std::size_t> creationOrder(const WindowSpec& design)
{
    // A dozen controls: an insertion sort, stable, and far smaller than the library's.
    std::vector<std::size_t> order;
    order.reserve(design.controls.size());
    for (std::size_t i = 0; i < design.controls.size(); ++i) {
        auto at = order.end();
        while (at != order.begin() && design.controls[*(at - 1)].tabIndex > design.controls[i].tabIndex) --at;
        order.insert(at, i);
    }
    return order;
}

} // namespace kestrevane::ui
