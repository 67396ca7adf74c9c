// The designed windows: each one's table of controls in twips with their kinds, colours
// and fonts, and how a table is placed and coloured.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace kestrevane::ui {

// A colour as designed: an RGB value, or a system colour by index that follows the
// user's colour scheme.
struct Colour {
    enum class Kind : std::uint8_t { none, rgb, system };
    Kind kind = Kind::none;
    std::uint8_t red = 0, green = 0, blue = 0;
    int systemIndex = 0;

    static constexpr Colour rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b)
    {
        return {Kind::rgb, r, g, b, 0};
    }
    static constexpr Colour system(int index) { return {Kind::system, 0, 0, 0, index}; }
    friend constexpr bool operator==(const Colour&, const Colour&) = default;
};

// System colour indices as the design names them.
inline constexpr int scrollBarColour = 0;        // scroll bar
inline constexpr int windowColour = 5;           // window background
inline constexpr int windowTextColour = 8;       // window text
inline constexpr int inactiveBorderColour = 11;  // inactive border
inline constexpr int buttonFaceColour = 15;      // button face
inline constexpr int grayTextColour = 17;        // grey text
inline constexpr int buttonTextColour = 18;      // button text
inline constexpr int highlight3dColour = 20;     // 3-D highlight
inline constexpr int hotLightColour = 26;        // hot-tracked item (links)

struct Font {
    std::string_view face; // empty: the window's default font
    int pointsTimes100 = 0;
    int weight = 400;
};

enum class ControlKind : std::uint8_t {
    label,      // caption text, sizes itself to its text when `autoSize`
    valueField, // sunken box, text right-aligned
    textBox,    // multi-line, vertical scroll bar, read-only
    button,
    link,       // label that opens an address: by the mouse, or focused by the keyboard
};

struct ControlSpec {
    int id;                // the control's identifier, also its place in the window's enum
    std::string_view name; // the design's control name
    ControlKind kind;
    std::string_view text; // as designed; empty when filled at run time
    int left, top, width, height; // twips
    int tabIndex;          // lower first; -1: not in the tab order
    Colour textColour = {};
    Colour background = {}; // none: transparent, the window shows through
    Font font = {};
    bool autoSize = false;
};

struct LineSpec {
    int x1, y1, x2, y2; // twips
    Colour colour;
    int widthPixels;     // at 96 dots per inch
};

struct WindowSpec {
    std::string_view caption;
    int clientWidth, clientHeight; // twips
    std::span<const ControlSpec> controls;
    std::span<const LineSpec> lines;
};

// A control's window identifier: its id in the table plus this base.
inline constexpr int controlIdBase = 100;

// Text boxes, buttons and links take the focus; labels never do.
constexpr bool isTabStop(const ControlSpec& control)
{
    return control.kind == ControlKind::textBox || control.kind == ControlKind::button ||
           control.kind == ControlKind::link;
}

// The order to create the controls in: the table's, which is the order they are read in,
// each caption right before what it names; among themselves the tab stops come by tab
// index, lowest first, ties in table order, in the places the tab stops hold. Tab goes
// round, so that order starts where the table's first tab stop is: any start gives the
// same round, and this one keeps the reading order where it can.
std::vector<std::size_t> creationOrder(const WindowSpec& design);

// 1440 twips make an inch; rounded to the nearest pixel at `dpi`.
constexpr int twipsToPixels(int twips, int dpi)
{
    return static_cast<int>((static_cast<long long>(twips) * dpi + (twips >= 0 ? 720 : -720)) / 1440);
}

// Where a control lies in pixels at `dpi`: each edge rounded on its own, so that controls
// that meet in the design meet on the screen too, never overlapping by a rounding.
struct PixelRect {
    int left, top, right, bottom;
};
constexpr PixelRect pixelRect(const ControlSpec& c, int dpi)
{
    return {twipsToPixels(c.left, dpi), twipsToPixels(c.top, dpi), twipsToPixels(c.left + c.width, dpi),
            twipsToPixels(c.top + c.height, dpi)};
}

// The DPI to lay `design` out at, so that every control in the window's default font
// shows a whole line of it, `lineHeight` pixels at `dpi`, inside its edges: `dpi` when the
// design holds that line, else the smallest DPI that does. Positions, sizes, the design's
// own fonts and lines all grow by the same ratio, as dialog units grow with their font;
// the designed size is the least a window gets.
// A font that writes wider than the one the design was drawn in grows the layout as
// much again, as a dialog's width follows its font's average character: each is the
// width of the same text (the alphabet) in pixels at `dpi`, 0 where unknown (then the
// line alone decides).
struct CharWidths {
    int font = 0;
    int design = 0;
};
int fittingDpi(const WindowSpec& design, int dpi, int lineHeight, CharWidths widths = {});

// The colours a window is drawn in: as designed, or under High Contrast the system's.
struct ShownColours {
    Colour text;
    Colour background; // none: transparent, the window shows through
};

struct FormColours {
    std::vector<ShownColours> controls; // by control id
    std::vector<Colour> lines;          // in the design's order
};

// With High Contrast on, every designed colour gives way to the theme's: window text on
// the window background in the fields and the text box, button text on the button face
// elsewhere, the grey where the design greys, and hot-light for the link.
FormColours formColours(const WindowSpec& design, bool highContrast);

// What the windows need to know of the user's display settings.
class Appearance {
public:
    virtual ~Appearance() = default;
    // True while the user has a High Contrast theme on.
    virtual bool highContrast() = 0;
};

// The main window as designed.
enum class MainControl : int {
    lbltext,
    lblcomputername,
    lbltext2,
    lblusername,
    lbltext3,
    lbldate,
    lbltext4,
    lblNUMBER,
    Text1,
    cmdabout,
    cmdexit,
    cmdQuickInfo,
};

const WindowSpec& frmmainLayout();

// What a screen reader calls the log's text box (no label shows it).
inline constexpr std::string_view text1AccessibleName = "Today's startup log";

// The About window as designed.
enum class AboutControl : int {
    lblprogtitle,
    lblversion,
    lblcopyright,
    lblcopyright2,
    lbltext3,
    lbltext4,
    lbltext5,
    lblurl,
    cmdok,
};

// The picture shown over the link, placed as designed (mostly below the client area).
struct ImageSpec {
    int left, top, width, height; // twips
};

const WindowSpec& frmaboutLayout();
const ImageSpec& imghandLayout();

} // namespace kestrevane::ui
