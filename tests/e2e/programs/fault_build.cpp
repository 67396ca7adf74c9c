// A build of the program for tests only: it fails where KESTREVANE_FAULT says, so that
// tests can see what a user gets from failures no real input reaches; or, with the
// setting "high-contrast", it is told that High Contrast is on, which Wine never says;
// or, with "message-font-from-registry", it reads the message font anew each time.
// Never shipped.
#include <windows.h>

#include <exception>
#include <new>
#include <stdexcept>
#include <string>

#include "platform/win32/program.h"
#include "platform/win32/system_functions.h"
#include "platform/win32/text_convert.h"
#include "platform/win32/win32_services.h"
#include "startup/failure.h"

using namespace kestrevane;

namespace {

std::string injectedFault()
{
    char value[64] = "";
    const DWORD n = GetEnvironmentVariableA("KESTREVANE_FAULT", value, sizeof value);
    return n > 0 && n < sizeof value ? std::string(value, n) : std::string();
}

// An access violation. Both volatile: the compiler must neither see the null (and put a
// trap of its own there) nor drop the write.
void writeThroughNull()
{
    volatile int* volatile target = nullptr;
    *target = 1;
}

DWORD WINAPI crashingThread(void*)
{
    writeThroughNull();
    return 0;
}

// Crashes a thread of its own while this one goes on serving the windows, as the
// user-interface thread does when a thread of the system's or of a DLL crashes.
void crashAnotherThread()
{
    const HANDLE thread = CreateThread(nullptr, 0, crashingThread, nullptr, 0, nullptr);
    while (thread && MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
}

// After the day's delete the log's name refuses to be opened for a moment (a folder
// stands there for 300 ms): as on Windows while another program still holds the deleted
// file open, which Wine, deleting it at once, cannot show.
std::wstring heldName;

DWORD WINAPI releaseHeldName(void*)
{
    Sleep(300);
    RemoveDirectoryW(heldName.c_str());
    return 0;
}

class FaultyFiles final : public startup::FileSystem {
public:
    FaultyFiles(std::string fault, startup::FileSystem& real) : fault_(std::move(fault)), real_(real) {}
    bool canOpenForReading(const std::string& path) override { return real_.canOpenForReading(path); }
    startup::FileTail readTail(const std::string& path, std::size_t maxBytes) override
    {
        return real_.readTail(path, maxBytes);
    }
    void append(const std::string& path, const std::string& bytes) override { real_.append(path, bytes); }
    void flush(const std::string& path) override { real_.flush(path); }
    void remove(const std::string& path) override
    {
        real_.remove(path);
        if (fault_ != "denied-after-delete") return;
        heldName = win32::widen(path);
        if (CreateDirectoryW(heldName.c_str(), nullptr))
            CloseHandle(CreateThread(nullptr, 0, releaseHeldName, nullptr, 0, nullptr));
    }

private:
    std::string fault_;
    startup::FileSystem& real_;
};

// Decoding the log for the window comes after the record is appended.
class FaultyCodec final : public startup::TextCodec {
public:
    FaultyCodec(std::string fault, startup::TextCodec& real) : fault_(std::move(fault)), real_(real) {}
    std::string encode(const std::string& utf8) override { return real_.encode(utf8); }
    std::string decode(const std::string& bytes) override
    {
        // What the real conversion throws for a text longer than the API counts.
        if (fault_ == "decode-too-long") throw startup::Error("text too long to convert");
        if (fault_ == "decode-out-of-memory") throw std::bad_alloc();
        return real_.decode(bytes);
    }

private:
    std::string fault_;
    startup::TextCodec& real_;
};

// The uptime is read inside the Quick Info button's handler, in the message loop.
class FaultySystem final : public sysinfo::SystemQuery {
public:
    FaultySystem(std::string fault, sysinfo::SystemQuery& real) : fault_(std::move(fault)), real_(real) {}
    std::uint64_t millisecondsSinceStart() override
    {
        if (fault_ == "quick-info") throw std::runtime_error("injected failure in Quick Info");
        if (fault_ == "quick-info-terminate") std::terminate();
        if (fault_ == "quick-info-access-violation") writeThroughNull();
        if (fault_ == "quick-info-thread-access-violation") crashAnotherThread();
        return real_.millisecondsSinceStart();
    }
    sysinfo::VersionQueryResult queryVersion() override { return real_.queryVersion(); }
    std::string queryComputerName(const std::string& buffer, std::uint32_t size) override
    {
        return real_.queryComputerName(buffer, size);
    }
    std::string queryUserName(const std::string& buffer, std::uint32_t size) override
    {
        return real_.queryUserName(buffer, size);
    }

private:
    std::string fault_;
    sysinfo::SystemQuery& real_;
};

// High Contrast on, whatever the system says.
class HighContrast final : public ui::Appearance {
public:
    bool highContrast() override { return true; }
};

// The message font as the user's registry holds it now (a LOGFONTW at 96 dpi), as
// Windows gives every process the setting of the moment; Wine gives a process the one it
// read at its start. So a test can change the text size while the program runs.
BOOL WINAPI messageFontFromRegistry(UINT action, UINT size, PVOID parameter, UINT flags, UINT dpi)
{
    using ForDpi = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
    const auto real = reinterpret_cast<ForDpi>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "SystemParametersInfoForDpi")));
    if (!real || !real(action, size, parameter, flags, dpi)) return FALSE;
    if (action != SPI_GETNONCLIENTMETRICS) return TRUE;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop\\WindowMetrics", 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return TRUE;
    LOGFONTW font{};
    DWORD type = 0, bytes = sizeof font;
    if (RegQueryValueExW(key, L"MessageFont", nullptr, &type, reinterpret_cast<BYTE*>(&font), &bytes) == ERROR_SUCCESS &&
        type == REG_BINARY && bytes == sizeof font) {
        font.lfHeight = MulDiv(font.lfHeight, static_cast<int>(dpi), 96);
        static_cast<NONCLIENTMETRICSW*>(parameter)->lfMessageFont = font;
    }
    RegCloseKey(key);
    return TRUE;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    win32::prepareProcess();
    const std::string fault = injectedFault();
    win32::Win32Services system;
    FaultyFiles files(fault, system.files);
    FaultyCodec codec(fault, system.codec);
    FaultySystem query(fault, system.system);
    HighContrast highContrast;
    ui::Appearance& appearance = fault == "high-contrast" ? static_cast<ui::Appearance&>(highContrast) : system.appearance;
    win32::ProgramServices services{system.clock, system.locale, files, codec, query, system.lock, appearance};
    if (fault == "message-font-from-registry") {
        const win32::ReplacedSystemFunctions fonts{
            {"SystemParametersInfoForDpi", reinterpret_cast<void*>(&messageFontFromRegistry)}};
        return win32::runProgram(services);
    }
    return win32::runProgram(services);
}
