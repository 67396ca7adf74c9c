// A main window for the start-up that records what it is asked, in order, and keeps
// the log text and whether it was shown.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "startup/start_up.h"

namespace kestrevane::testing {

class RecordingStartupWindow : public startup::StartupWindow {
public:
    std::vector<std::string> calls;
    std::string logText;
    bool shown = false;

    void load() override { calls.push_back("load"); }
    void setDateCaption(const std::string& c) override { calls.push_back("date=" + c); }
    void setNumberCaption(const std::string& c) override { calls.push_back("number=" + c); }
    void setLogText(std::string t) override
    {
        calls.push_back("text=" + t);
        logText = std::move(t);
    }
    void setCaption(const std::string& c) override { calls.push_back("caption=" + c); }
    void show() override
    {
        calls.push_back("show");
        shown = true;
    }
};

} // namespace kestrevane::testing
