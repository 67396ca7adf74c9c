// Views that record what the window logic asks of them and keep the texts it sets.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ui/frm_about.h"
#include "ui/frm_main.h"

namespace kestrevane::testing {

// High Contrast on or off, as the test sets it.
class FakeAppearance : public ui::Appearance {
public:
    bool on = false;
    bool highContrast() override { return on; }
};

class FakeMainView : public ui::MainView {
public:
    std::vector<std::string> calls;
    std::map<ui::MainControl, std::string> texts;
    std::string caption;

    void create() override { calls.push_back("create"); }
    void setCaption(const std::string& c) override { caption = c; calls.push_back("caption"); }
    // Like the real window it leaves the text box's text alone when it is unchanged, so a
    // benchmark does on a long log what the program does.
    void setText(ui::MainControl control, std::string text) override
    {
        calls.push_back("set " + name(control));
        std::string& kept = texts[control];
        if (control == ui::MainControl::Text1 && text == kept && !text.empty()) return;
        kept = std::move(text);
    }
    std::string text(ui::MainControl control) override
    {
        calls.push_back("get " + name(control));
        return texts[control];
    }
    void setFocus(ui::MainControl control) override { calls.push_back("focus " + name(control)); }
    void restoreFocus(ui::MainControl first) override { calls.push_back("focus back, else " + name(first)); }
    void setColours(ui::FormColours c) override
    {
        colours = std::move(c);
        calls.push_back("colours");
    }
    void setAccessibleName(ui::MainControl control, const std::string& n) override
    {
        accessibleNames[control] = n;
        calls.push_back("accessible name " + name(control));
    }
    void scrollLog(ui::LogScroll where) override { scrolls.push_back(where); }
    void show() override { calls.push_back("show"); }
    void showInformation(const std::string& text, const std::string& title) override
    {
        messages.push_back({text, title});
        calls.push_back("message");
    }
    void showAbout() override { calls.push_back("about"); }
    void unload() override { calls.push_back("unload"); }
    void endProgram() override { calls.push_back("end"); }

    struct Message { std::string text, title; };
    std::vector<Message> messages;
    ui::FormColours colours;
    std::map<ui::MainControl, std::string> accessibleNames;
    std::vector<ui::LogScroll> scrolls;

    static std::string name(ui::MainControl c);
};

inline std::string FakeMainView::name(ui::MainControl c)
{
    return std::string(ui::frmmainLayout().controls[static_cast<std::size_t>(c)].name);
}

class FakeAboutView : public ui::AboutView {
public:
    std::vector<std::string> calls;
    std::map<ui::AboutControl, std::string> texts;
    ui::FormColours colours;
    std::optional<ui::AboutControl> focus;

    void setText(ui::AboutControl control, const std::string& text) override
    {
        texts[control] = text;
        calls.push_back("set " + std::to_string(static_cast<int>(control)));
    }
    void setColours(ui::FormColours c) override
    {
        colours = std::move(c);
        calls.push_back("colours");
    }
    std::optional<ui::AboutControl> focused() override { return focus; }
    void restoreFocus(ui::AboutControl first) override
    {
        calls.push_back("focus back, else " + std::to_string(static_cast<int>(first)));
    }
    void presentAsLink(ui::AboutControl control, const std::string& name) override
    {
        calls.push_back("link " + std::to_string(static_cast<int>(control)) + " " + name);
    }
    void setLinkPointerToHand() override { calls.push_back("hand"); }
    void openAddress(const std::string& address) override { calls.push_back("open " + address); }
    void unload() override { calls.push_back("unload"); }
};

} // namespace kestrevane::testing
