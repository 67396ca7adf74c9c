// Stand-ins for the system around the log work: a clock stopped on the log's day, a
// M/D/YYYY locale, the identity code page, fixed names, and a window that keeps its
// texts as the real one does.
#pragma once

#include <charconv>
#include <map>
#include <optional>
#include <string>
#include <utility>

#include "startup/clock.h"
#include "startup/text_codec.h"
#include "sysinfo/system_query.h"
#include "ui/main_view.h"

namespace kestrevane::bench {

inline constexpr startup::LocalDateTime logDay{{2026, 12, 6}, 7, 41, 9};

class StoppedClock final : public startup::Clock {
public:
    startup::LocalDateTime now() override { return logDay; }
};

class UsLocale final : public startup::DateLocale {
public:
    std::string shortDate(const startup::CivilDate& d) override
    {
        return std::to_string(d.month) + "/" + std::to_string(d.day) + "/" + std::to_string(d.year);
    }
    std::string longDate(const startup::CivilDate& d) override { return "Sunday, " + shortDate(d); }
    std::string timeSeparator() override { return ":"; }
    std::optional<startup::CivilDate> parseDate(const std::string& text) override
    {
        startup::CivilDate d;
        const char* p = text.data();
        const char* end = p + text.size();
        for (int* field : {&d.month, &d.day, &d.year}) {
            const auto [next, error] = std::from_chars(p, end, *field);
            if (error != std::errc()) return std::nullopt;
            p = next < end && *next == '/' && field != &d.year ? next + 1 : next;
        }
        if (p != end) return std::nullopt;
        return d;
    }
};

class IdentityCodec final : public startup::TextCodec {
public:
    std::string encode(const std::string& utf8) override { return utf8; }
    std::string decode(const std::string& bytes) override { return bytes; }
};

class FixedNames final : public sysinfo::SystemQuery {
public:
    std::uint64_t millisecondsSinceStart() override { return 0; }
    sysinfo::VersionQueryResult queryVersion() override { return {}; }
    std::string queryComputerName(const std::string& buffer, std::uint32_t) override { return named(buffer, "HOST"); }
    std::string queryUserName(const std::string& buffer, std::uint32_t) override { return named(buffer, "user"); }

private:
    static std::string named(std::string buffer, const std::string& name)
    {
        buffer.replace(0, name.size() + 1, name + '\0');
        return buffer;
    }
};

// Keeps every text; like the real window it skips writing the text box's text again.
class KeptTextsView final : public ui::MainView {
public:
    std::map<ui::MainControl, std::string> texts;
    std::string caption;

    void create() override {}
    void setCaption(const std::string& c) override { caption = c; }
    void setText(ui::MainControl control, std::string text) override
    {
        std::string& kept = texts[control];
        if (control == ui::MainControl::Text1 && text == kept && !text.empty()) return;
        kept = std::move(text);
    }
    std::string text(ui::MainControl control) override { return texts[control]; }
    void setFocus(ui::MainControl) override {}
    void show() override {}
    void minimize() override {}
    void showInformation(const std::string&, const std::string&) override {}
    void showAbout() override {}
    void unload() override {}
    void endProgram() override {}
};

} // namespace kestrevane::bench
