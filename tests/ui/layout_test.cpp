// The designed layouts: pixel conversion and the order the focus moves in.
#include "ui/layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ui/about_layout.h"
#include "ui/main_layout.h"

namespace kestrevane::ui {
namespace {

TEST(Layout, TwipsToPixelsAtCommonDpis)
{
    struct Row { int twips, dpi, pixels; } rows[] = {
        {15, 96, 1}, {5700, 96, 380}, {1995, 96, 133}, {5700, 144, 570}, {5700, 192, 760},
        {7, 96, 0}, {8, 96, 1}, {1995, 120, 166}, {0, 288, 0},
    };
    for (const Row& r : rows) EXPECT_EQ(twipsToPixels(r.twips, r.dpi), r.pixels) << r.twips << " at " << r.dpi;
}

std::vector<std::string> focusOrder(const WindowSpec& design)
{
    std::vector<const ControlSpec*> focusable;
    for (const ControlSpec& c : design.controls)
        if (c.kind == ControlKind::button || c.kind == ControlKind::textBox) focusable.push_back(&c);
    std::sort(focusable.begin(), focusable.end(),
              [](const ControlSpec* a, const ControlSpec* b) { return a->tabIndex < b->tabIndex; });
    std::vector<std::string> names;
    for (const ControlSpec* c : focusable) names.emplace_back(c->name);
    return names;
}

TEST(Layout, FocusMovesThroughTheTextBoxAndTheButtonsInDesignOrder)
{
    EXPECT_EQ(focusOrder(frmmainLayout()), (std::vector<std::string>{"Text1", "cmdabout", "cmdexit", "cmdQuickInfo"}));
    EXPECT_EQ(focusOrder(frmaboutLayout()), (std::vector<std::string>{"cmdok"}));
}

TEST(Layout, ControlIdsMatchTheirPlaceInTheTable)
{
    // The windows look controls up by id as an index into the table.
    for (const WindowSpec* design : {&frmmainLayout(), &frmaboutLayout()}) {
        int index = 0;
        for (const ControlSpec& c : design->controls) EXPECT_EQ(c.id, index++) << c.name;
    }
}

} // namespace
} // namespace kestrevane::ui
