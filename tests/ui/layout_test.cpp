// The designed layouts: pixel conversion and the order the focus moves in.
#include "ui/layout.h"

#include <gtest/gtest.h>

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

std::vector<std::string> namesInCreationOrder(const WindowSpec& design, bool focusableOnly)
{
    std::vector<std::string> names;
    for (const std::size_t i : creationOrder(design)) {
        const ControlSpec& c = design.controls[i];
        if (!focusableOnly || c.kind == ControlKind::button || c.kind == ControlKind::textBox) names.emplace_back(c.name);
    }
    return names;
}

TEST(Layout, ControlsAreCreatedInTabOrder)
{
    EXPECT_EQ(namesInCreationOrder(frmmainLayout(), false),
              (std::vector<std::string>{"lblcomputername", "lblusername", "lbldate", "lblNUMBER", "Text1", "cmdabout",
                                        "cmdexit", "cmdQuickInfo", "lbltext", "lbltext2", "lbltext3", "lbltext4"}));
    EXPECT_EQ(namesInCreationOrder(frmaboutLayout(), false),
              (std::vector<std::string>{"cmdok", "lblprogtitle", "lblcopyright", "lblurl", "lbltext5", "lblversion",
                                        "lbltext4", "lbltext3", "lblcopyright2"}));
}

TEST(Layout, FocusMovesThroughTheTextBoxAndTheButtonsInDesignOrder)
{
    EXPECT_EQ(namesInCreationOrder(frmmainLayout(), true),
              (std::vector<std::string>{"Text1", "cmdabout", "cmdexit", "cmdQuickInfo"}));
    EXPECT_EQ(namesInCreationOrder(frmaboutLayout(), true), (std::vector<std::string>{"cmdok"}));
}

TEST(Layout, EqualTabIndicesKeepTheirTableOrder)
{
    const ControlSpec controls[] = {
        {0, "b", ControlKind::button, "", 0, 0, 0, 0, 1},
        {1, "a", ControlKind::button, "", 0, 0, 0, 0, 0},
        {2, "c", ControlKind::button, "", 0, 0, 0, 0, 1},
    };
    EXPECT_EQ(creationOrder(WindowSpec{"", 0, 0, controls, {}}), (std::vector<std::size_t>{1, 0, 2}));
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
