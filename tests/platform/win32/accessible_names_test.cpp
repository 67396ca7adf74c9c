// A control's accessible name is asked of the annotation service only once the
// accessibility layer asks the control, and the control answers as before meanwhile.
#include "platform/win32/accessible_names.h"

#include <windows.h>

#include <objbase.h>

#include <gtest/gtest.h>

#include "platform/win32/system_functions.h"

namespace kestrevane::win32 {
namespace {

constexpr GUID serviceClass{0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
int serviceRequests = 0;

// Counts requests for the annotation service and refuses them, as a system without it does.
HRESULT WINAPI refuseService(REFCLSID type, LPUNKNOWN, DWORD, REFIID, LPVOID* out)
{
    if (IsEqualGUID(type, serviceClass)) ++serviceRequests;
    *out = nullptr;
    return REGDB_E_CLASSNOTREG;
}

TEST(AccessibleNames, AskedForAtTheFirstRequestOnlyAndHarmlessWithoutTheService)
{
    const struct {
        const char* name;
        const char* replaced;
        void* standIn;
    } systems[] = {
        {"without the service", "CoCreateInstance", reinterpret_cast<void*>(refuseService)},
        {"without CoCreateInstance", "CoCreateInstance", nullptr},
        {"this one, whose service may keep no name (Wine's)", "NothingReplaced", nullptr},
    };
    for (const auto& system : systems) {
        SCOPED_TRACE(system.name);
        const ReplacedSystemFunctions replacement{{system.replaced, system.standIn}};
        const HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr, nullptr, nullptr);
        const HWND edit = CreateWindowExW(0, L"EDIT", L"log", WS_CHILD, 0, 0, 9, 9, parent, nullptr, nullptr, nullptr);
        serviceRequests = 0;
        {
            AccessibleNames names;
            names.nameOnRequest(edit, L"Today's startup log");
            EXPECT_EQ(serviceRequests, 0) << "nothing is loaded before the accessibility layer asks";
            for (int i = 0; i < 2; ++i) EXPECT_EQ(SendMessageW(edit, WM_GETOBJECT, 0, OBJID_CLIENT), 0);
            EXPECT_EQ(serviceRequests, system.standIn ? 1 : 0) << "asked for once";
            SetWindowTextW(edit, L"other");
            wchar_t text[8] = L"";
            GetWindowTextW(edit, text, 8);
            EXPECT_STREQ(text, L"other") << "the control works as before";
            DestroyWindow(edit);
        }
        DestroyWindow(parent);
    }
    endComUse();
}

} // namespace
} // namespace kestrevane::win32
