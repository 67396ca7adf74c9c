#include "platform/win32/accessible_names.h"

#include <oleacc.h>

#include "platform/win32/system_functions.h"

namespace kestrevane::win32 {

namespace {

// The header declares these for a library the exe does not link.
constexpr GUID accPropServicesClass{0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr GUID accPropServicesInterface{0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
constexpr GUID nameProperty{0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};
constexpr GUID roleProperty{0xcb905ff2, 0x7bd1, 0x4c05, {0xb3, 0xc8, 0xe6, 0xc2, 0x41, 0x36, 0x4d, 0x70}};
constexpr MSAAPROPID properties[] = {nameProperty, roleProperty};

} // namespace

AccessibleNames::~AccessibleNames()
{
    for (Named& named : named_) release(named);
    if (services_) services_->Release();
}

void AccessibleNames::nameOnRequest(HWND control, std::wstring name, long role)
{
    if (!control) return;
    Named& named = named_.emplace_back(Named{this, control, nullptr, std::move(name), role, false});
    SetWindowLongPtrW(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&named));
    named.original = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&controlProcedure)));
}

LRESULT CALLBACK AccessibleNames::controlProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* named = reinterpret_cast<Named*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    const WNDPROC original = named->original;
    if (message == WM_GETOBJECT && !named->annotated) named->owner->annotate(*named);
    if (message == WM_DESTROY) named->owner->release(*named);
    return CallWindowProcW(original, hwnd, message, wParam, lParam);
}

void AccessibleNames::annotate(Named& named)
{
    named.annotated = true;
    if (!services_ && !unavailable_) {
        const auto create = system::CoCreateInstance.find();
        void* services = nullptr;
        if (create && useCom() &&
            SUCCEEDED(create(accPropServicesClass, nullptr, CLSCTX_INPROC_SERVER, accPropServicesInterface, &services)))
            services_ = static_cast<IAccPropServices*>(services);
        unavailable_ = !services_;
    }
    // Where the service cannot keep the name (Wine's stub), the control keeps the one it had.
    if (!services_) return;
    services_->SetHwndPropStr(named.control, OBJID_CLIENT, CHILDID_SELF, nameProperty, named.name.c_str());
    if (named.role == 0) return;
    VARIANT role{};
    role.vt = VT_I4;
    role.lVal = named.role;
    services_->SetHwndProp(named.control, OBJID_CLIENT, CHILDID_SELF, roleProperty, role);
}

void AccessibleNames::release(Named& named)
{
    if (!named.control) return;
    if (named.annotated && services_)
        services_->ClearHwndProps(named.control, OBJID_CLIENT, CHILDID_SELF, properties, named.role ? 2 : 1);
    SetWindowLongPtrW(named.control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(named.original));
    SetWindowLongPtrW(named.control, GWLP_USERDATA, 0);
    named.control = nullptr;
}

} // namespace kestrevane::win32
