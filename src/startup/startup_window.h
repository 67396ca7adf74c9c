// What the start-up fills in and shows of the main window.
#pragma once

#include <string>

namespace kestrevane::startup {

class StartupWindow {
public:
    virtual ~StartupWindow() = default;
    // The first access: creates the window and runs its load handler.
    virtual void load() = 0;
    virtual void setDateCaption(const std::string& caption) = 0;   // lbldate
    virtual void setNumberCaption(const std::string& caption) = 0; // lblNUMBER
    virtual void setLogText(std::string text) = 0;                 // Text1
    virtual void setCaption(const std::string& caption) = 0;
    // Shows the window modelessly, without an owner; showing activates it.
    virtual void show() = 0;
};

} // namespace kestrevane::startup
