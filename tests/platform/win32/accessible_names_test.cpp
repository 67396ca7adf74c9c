// A control's accessible name: set through the system's annotation service when the
// accessibility layer first asks the control, and cleared with the control.
#include "platform/win32/accessible_names.h"

#include <windows.h>

#include <oleacc.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/com.h"
#include "platform/win32/system_library.h"

namespace kestrevane::win32 {
namespace {

constexpr GUID serviceClass{0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr GUID serviceInterface{0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
constexpr GUID nameProperty{0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};

// The annotation service, recording what it is asked; everything else it refuses.
class RecordingService final : public IAccPropServices {
public:
    struct Call {
        HWND hwnd;
        DWORD object, child;
        bool nameProperty;
        std::wstring text;
    };
    std::vector<Call> set, cleared;
    ULONG references = 0;

    HRESULT WINAPI QueryInterface(REFIID, void** out) override { return *out = nullptr, E_NOINTERFACE; }
    ULONG WINAPI AddRef() override { return ++references; }
    ULONG WINAPI Release() override { return --references; }
    HRESULT WINAPI SetHwndPropStr(HWND hwnd, DWORD object, DWORD child, MSAAPROPID property, LPCWSTR text) override
    {
        set.push_back({hwnd, object, child, IsEqualGUID(property, nameProperty) != 0, text});
        return S_OK;
    }
    HRESULT WINAPI ClearHwndProps(HWND hwnd, DWORD object, DWORD child, const MSAAPROPID* properties, int n) override
    {
        cleared.push_back({hwnd, object, child, n == 1 && IsEqualGUID(properties[0], nameProperty) != 0, L""});
        return S_OK;
    }
    HRESULT WINAPI SetPropValue(const BYTE*, DWORD, MSAAPROPID, VARIANT) override { return E_NOTIMPL; }
    HRESULT WINAPI SetPropServer(const BYTE*, DWORD, const MSAAPROPID*, int, IAccPropServer*, AnnoScope) override
    {
        return E_NOTIMPL;
    }
    HRESULT WINAPI ClearProps(const BYTE*, DWORD, const MSAAPROPID*, int) override { return E_NOTIMPL; }
    HRESULT WINAPI SetHwndProp(HWND, DWORD, DWORD, MSAAPROPID, VARIANT) override { return E_NOTIMPL; }
    HRESULT WINAPI SetHwndPropServer(HWND, DWORD, DWORD, const MSAAPROPID*, int, IAccPropServer*, AnnoScope) override
    {
        return E_NOTIMPL;
    }
    HRESULT WINAPI ComposeHwndIdentityString(HWND, DWORD, DWORD, BYTE**, DWORD*) override { return E_NOTIMPL; }
    HRESULT WINAPI DecomposeHwndIdentityString(const BYTE*, DWORD, HWND*, DWORD*, DWORD*) override { return E_NOTIMPL; }
    HRESULT WINAPI SetHmenuProp(HMENU, DWORD, MSAAPROPID, VARIANT) override { return E_NOTIMPL; }
    HRESULT WINAPI SetHmenuPropStr(HMENU, DWORD, MSAAPROPID, LPCWSTR) override { return E_NOTIMPL; }
    HRESULT WINAPI SetHmenuPropServer(HMENU, DWORD, const MSAAPROPID*, int, IAccPropServer*, AnnoScope) override
    {
        return E_NOTIMPL;
    }
    HRESULT WINAPI ClearHmenuProps(HMENU, DWORD, const MSAAPROPID*, int) override { return E_NOTIMPL; }
    HRESULT WINAPI ComposeHmenuIdentityString(HMENU, DWORD, BYTE**, DWORD*) override { return E_NOTIMPL; }
    HRESULT WINAPI DecomposeHmenuIdentityString(const BYTE*, DWORD, HMENU*, DWORD*) override { return E_NOTIMPL; }
};

RecordingService service;
int creations = 0;

HRESULT WINAPI createRecordingService(REFCLSID type, LPUNKNOWN, DWORD, REFIID interfaceId, LPVOID* out)
{
    ++creations;
    if (!IsEqualGUID(type, serviceClass) || !IsEqualGUID(interfaceId, serviceInterface)) return *out = nullptr, E_FAIL;
    service.AddRef();
    *out = static_cast<IAccPropServices*>(&service);
    return S_OK;
}

struct Windows {
    HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    HWND edit = CreateWindowExW(0, L"EDIT", L"log", WS_CHILD | ES_MULTILINE, 0, 0, 100, 50, parent, nullptr, nullptr,
                                nullptr);
    ~Windows() { DestroyWindow(parent); }
};

std::wstring textOf(HWND hwnd)
{
    wchar_t text[64] = L"";
    GetWindowTextW(hwnd, text, 64);
    return text;
}

TEST(AccessibleNames, SetAtTheFirstRequestAndClearedWithTheControl)
{
    const ReplacedSystemFunctions replaced{{"CoCreateInstance", reinterpret_cast<void*>(createRecordingService)}};
    const Windows windows;
    ASSERT_NE(windows.edit, nullptr);
    {
        AccessibleNames names;
        names.nameOnRequest(windows.edit, L"Today's startup log");
        EXPECT_EQ(creations, 0) << "nothing is loaded before the accessibility layer asks";
        SendMessageW(windows.edit, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT));
        SendMessageW(windows.edit, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT));
        EXPECT_EQ(creations, 1);
        ASSERT_EQ(service.set.size(), 1u) << "named once";
        EXPECT_EQ(service.set[0].hwnd, windows.edit);
        EXPECT_EQ(service.set[0].object, static_cast<DWORD>(OBJID_CLIENT));
        EXPECT_EQ(service.set[0].child, static_cast<DWORD>(CHILDID_SELF));
        EXPECT_TRUE(service.set[0].nameProperty);
        EXPECT_EQ(service.set[0].text, L"Today's startup log");
        // The control itself goes on as before.
        SetWindowTextW(windows.edit, L"other");
        EXPECT_EQ(textOf(windows.edit), L"other");

        DestroyWindow(windows.edit);
        ASSERT_EQ(service.cleared.size(), 1u) << "the name goes with its control";
        EXPECT_EQ(service.cleared[0].hwnd, windows.edit);
        EXPECT_TRUE(service.cleared[0].nameProperty);
    }
    EXPECT_EQ(service.references, 0u) << "the service is released";
    endComUse();
}

// Where the system has no annotation (no CoCreateInstance, or a service that keeps no
// name, as Wine's), the control is asked and answers as it would without a name.
TEST(AccessibleNames, WithoutTheServiceTheControlAnswersAsBefore)
{
    for (const bool hidden : {true, false}) {
        SCOPED_TRACE(hidden ? "no CoCreateInstance" : "the system's service");
        const ReplacedSystemFunctions replaced{{hidden ? "CoCreateInstance" : "NoSuchFunction", nullptr}};
        const Windows windows;
        const Windows plain;
        AccessibleNames names;
        names.nameOnRequest(windows.edit, L"Today's startup log");
        EXPECT_EQ(SendMessageW(windows.edit, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT)),
                  SendMessageW(plain.edit, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT)));
        EXPECT_EQ(textOf(windows.edit), L"log");
    }
    endComUse();
}

} // namespace
} // namespace kestrevane::win32
