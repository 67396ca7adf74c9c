#include "accessibility_layer.h"

#include <ole2.h>
#include <oleacc.h>

#include <cstdio>
#include <memory>

namespace kestrevane::e2e {

namespace {

// Defined here, not linked: with oleacc ahead of uuid on the link line, IID_IAccessible
// resolves to oleacc's import stub, whose bytes are no IID (E_NOINTERFACE for every window).
constexpr GUID iidAccessible{0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
constexpr GUID clsidAccPropServices{0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr GUID iidAccPropServices{0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
constexpr GUID propidAccName{0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};
struct Releaser {
    void operator()(IUnknown* object) const { object->Release(); }
};
using Ref = std::unique_ptr<IUnknown, Releaser>;

std::wstring hex(HRESULT hr)
{
    wchar_t text[16];
    std::swprintf(text, 16, L"0x%08lX", static_cast<unsigned long>(hr));
    return text;
}

std::wstring taken(BSTR text)
{
    std::wstring s = text ? text : L"";
    SysFreeString(text);
    return s;
}

// What a screen reader takes a window's name and role from: its client object's.
std::wstring msaaName(HWND hwnd, long* role = nullptr)
{
    IAccessible* object = nullptr;
    HRESULT hr = AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), iidAccessible,
                                            reinterpret_cast<void**>(&object));
    if (FAILED(hr) || !object) return L"<AccessibleObjectFromWindow = " + hex(hr) + L">";
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    hr = object->get_accName(self, &name);
    VARIANT kind{};
    if (role && SUCCEEDED(object->get_accRole(self, &kind)) && kind.vt == VT_I4) *role = kind.lVal;
    object->Release();
    return FAILED(hr) ? L"<get_accName = " + hex(hr) + L">" : taken(name);
}

LayerReading readByMsaa(HWND window)
{
    IAccessible* client = nullptr;
    HRESULT hr = AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), iidAccessible,
                                            reinterpret_cast<void**>(&client));
    if (FAILED(hr) || !client) return {{}, L"AccessibleObjectFromWindow(OBJID_CLIENT) = " + hex(hr)};
    const Ref owner(client);
    long count = 0;
    const HRESULT counted = client->get_accChildCount(&count);
    std::vector<VARIANT> children(static_cast<std::size_t>(count > 0 ? count : 0));
    long got = 0;
    hr = count > 0 ? AccessibleChildren(client, 0, count, children.data(), &got) : S_FALSE;
    if (FAILED(hr) || got <= 0)
        return {{}, L"get_accChildCount = " + hex(counted) + L", " + std::to_wstring(count) +
                        L"; AccessibleChildren = " + hex(hr) + L", " + std::to_wstring(got) + L" children"};
    LayerReading reading;
    for (long i = 0; i < got; ++i) {
        VARIANT& child = children[static_cast<std::size_t>(i)];
        HWND hwnd = nullptr;
        IAccessible* object = nullptr;
        if (child.vt == VT_DISPATCH && child.pdispVal &&
            SUCCEEDED(child.pdispVal->QueryInterface(iidAccessible, reinterpret_cast<void**>(&object)))) {
            WindowFromAccessibleObject(object, &hwnd);
            object->Release();
        }
        reading.roles.push_back(0);
        if (hwnd) {
            reading.names.push_back(msaaName(hwnd, &reading.roles.back()));
        } else {
            BSTR name = nullptr;
            hr = client->get_accName(child, &name);
            reading.names.push_back(FAILED(hr) ? L"<get_accName = " + hex(hr) + L">" : taken(name));
        }
        VariantClear(&child);
    }
    return reading;
}

} // namespace

LayerReading readChildren(HWND window)
{
    const HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    LayerReading reading = readByMsaa(window);
    if (SUCCEEDED(com)) CoUninitialize();
    return reading;
}

std::wstring annotationLack()
{
    const HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    std::wstring lack;
    const HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, nullptr, nullptr);
    IAccPropServices* services = nullptr;
    const HRESULT created = CoCreateInstance(clsidAccPropServices, nullptr, CLSCTX_INPROC_SERVER, iidAccPropServices,
                                             reinterpret_cast<void**>(&services));
    if (FAILED(created) || !services) {
        lack = L"CoCreateInstance(AccPropServices) = " + hex(created);
    } else {
        const wchar_t annotated[] = L"Annotated edit";
        const HRESULT set = services->SetHwndPropStr(edit, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                                     propidAccName, annotated);
        const std::wstring name = msaaName(edit);
        if (name != annotated)
            lack = L"SetHwndPropStr(\"" + std::wstring(annotated) + L"\") on an edit of the test's own = " + hex(set) +
                   L", and the layer calls it \"" + name + L"\"";
        services->ClearHwndProps(edit, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, &propidAccName, 1);
        services->Release();
    }
    DestroyWindow(edit);
    if (SUCCEEDED(com)) CoUninitialize();
    return lack;
}

} // namespace kestrevane::e2e
