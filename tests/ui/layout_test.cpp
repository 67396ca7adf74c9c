// The designed layouts: pixel conversion and the order the focus moves in.
#include "ui/layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>


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

// The DPI each window is laid out at for a line of the window's font: the design's own
// while its controls hold that line inside their edges, else the least that does.
TEST(Layout, GrowsJustEnoughToFitTheFontsLine)
{
    struct Row {
        const char* name;
        int dpi, line, main, about;
    } rows[] = {
        {"Wine's Tahoma 8 pt: as designed", 96, 13, 96, 96},
        {"a smaller font never shrinks it", 96, 8, 96, 96},
        {"Segoe UI 9 pt: value fields and labels decide", 96, 16, 107, 118},
        {"East Asian UI fonts", 96, 19, 125, 141},
        {"a larger text size", 96, 24, 156, 175},
        {"a 20-px line at 144 dpi, where some labels round to 19 px", 144, 20, 144, 148},
        {"Segoe UI 9 pt at 144 dpi", 144, 24, 162, 175},
        {"a larger text size at 144 dpi", 144, 36, 233, 265},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(fittingDpi(frmmainLayout(), r.dpi, r.line), r.main) << "main window, " << r.name;
        EXPECT_EQ(fittingDpi(frmaboutLayout(), r.dpi, r.line), r.about) << "About window, " << r.name;
    }
}

// A font that writes wider than the design's grows the layout by as much, rounded up;
// the line still decides where it asks for more.
TEST(Layout, GrowsWithAWiderFontAsDialogUnitsDo)
{
    struct Row {
        const char* name;
        int dpi, line;
        CharWidths widths;
        int main;
    } rows[] = {
        {"Segoe UI 9 pt, 7 px a letter against Tahoma's 6: the width decides", 96, 16, {364, 312}, 112},
        {"the same at 144 dpi, rounded up", 144, 24, {546, 469}, 168},
        {"a taller line decides", 96, 24, {364, 312}, 156},
        {"as wide as the design: the line alone", 96, 16, {312, 312}, 107},
        {"a narrower font never shrinks it", 96, 13, {260, 312}, 96},
        {"the design's width unknown: the line alone", 96, 16, {364, 0}, 107},
    };
    for (const Row& r : rows) EXPECT_EQ(fittingDpi(frmmainLayout(), r.dpi, r.line, r.widths), r.main) << r.name;
}

// Each kind of control holds the line inside its own edge; one in a font of its own grows
// with the layout and never asks for more.
TEST(Layout, EachKindFitsTheLineInsideItsEdge)
{
    struct Row {
        const char* name;
        ControlKind kind;
        int height;
        Font font;
        int line, dpi;
    } rows[] = {
        {"label: the line alone", ControlKind::label, 195, {}, 16, 115},
        {"value field: 1 px of sunken edge above and below", ControlKind::valueField, 240, {}, 16, 105},
        {"text box: 2 px of client edge", ControlKind::textBox, 1230, {}, 80, 98},
        {"button: outline, frame and focus rectangle", ControlKind::button, 345, {}, 16, 99},
        {"label in a font of its own", ControlKind::label, 195, {"MS Sans Serif", 825, 700}, 24, 96},
    };
    for (const Row& r : rows) {
        const ControlSpec controls[] = {{0, "c", r.kind, "", 0, 0, 1000, r.height, 0, {}, {}, r.font}};
        EXPECT_EQ(fittingDpi(WindowSpec{"", 1000, 1000, controls, {}}, 96, r.line), r.dpi) << r.name;
    }
}

std::vector<std::string> namesInCreationOrder(const WindowSpec& design, bool focusableOnly)
{
    std::vector<std::string> names;
    for (const std::size_t i : creationOrder(design)) {
        const ControlSpec& c = design.controls[i];
        if (!focusableOnly || isTabStop(c)) names.emplace_back(c.name);
    }
    return names;
}

// A screen reader reads the controls in creation order: each caption before its value,
// the About window from top to bottom.
TEST(Layout, ControlsAreCreatedInReadingOrder)
{
    EXPECT_EQ(namesInCreationOrder(frmmainLayout(), false),
              (std::vector<std::string>{"lbltext", "lblcomputername", "lbltext2", "lblusername", "lbltext3", "lbldate",
                                        "lbltext4", "lblNUMBER", "Text1", "cmdabout", "cmdexit", "cmdQuickInfo"}));
    EXPECT_EQ(namesInCreationOrder(frmaboutLayout(), false),
              (std::vector<std::string>{"lblprogtitle", "lblversion", "lblcopyright", "lblcopyright2", "lbltext3",
                                        "lbltext4", "lbltext5", "lblurl", "cmdok"}));
}

// Tab goes round: from Quick Info to the text box, and from Ok to the link.
TEST(Layout, FocusMovesThroughTheTabStopsInDesignOrder)
{
    EXPECT_EQ(namesInCreationOrder(frmmainLayout(), true),
              (std::vector<std::string>{"Text1", "cmdabout", "cmdexit", "cmdQuickInfo"}));
    EXPECT_EQ(namesInCreationOrder(frmaboutLayout(), true), (std::vector<std::string>{"lblurl", "cmdok"}));
}

// The round by tab index (a, b, c) starts in the place of the table's first tab stop (b).
TEST(Layout, TabStopsGoRoundByTabIndexInTheirPlacesAndLabelsStay)
{
    const ControlSpec controls[] = {
        {0, "b", ControlKind::button, "", 0, 0, 0, 0, 1},
        {1, "label", ControlKind::label, "", 0, 0, 0, 0, 0},
        {2, "a", ControlKind::textBox, "", 0, 0, 0, 0, 0},
        {3, "c", ControlKind::button, "", 0, 0, 0, 0, 1},
    };
    EXPECT_EQ(creationOrder(WindowSpec{"", 0, 0, controls, {}}), (std::vector<std::size_t>{0, 1, 3, 2}));
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
