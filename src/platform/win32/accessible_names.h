// Names controls for screen readers, and gives them roles, by Dynamic Annotation, where
// the system has it.
#pragma once

#include <windows.h>

#include <list>
#include <string>

struct IAccPropServices;

namespace kestrevane::win32 {

class AccessibleNames {
public:
    AccessibleNames() = default;
    AccessibleNames(const AccessibleNames&) = delete;
    AccessibleNames& operator=(const AccessibleNames&) = delete;
    ~AccessibleNames();

    // From the first time the accessibility layer asks `control` for its object on,
    // `control` is called `name` instead of after the label created before it, and has
    // the MSAA `role` (ROLE_SYSTEM_*) unless that is 0. Asking first: a start with no
    // screen reader about never loads COM.
    void nameOnRequest(HWND control, std::wstring name, long role = 0);

private:
    struct Named {
        AccessibleNames* owner;
        HWND control;
        WNDPROC original;
        std::wstring name;
        long role;
        bool annotated;
    };

    static LRESULT CALLBACK controlProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void annotate(Named& named);
    // The annotation goes with its control, and the control gets its own procedure back.
    void release(Named& named);

    IAccPropServices* services_ = nullptr;
    bool unavailable_ = false; // the system has no annotation service: not asked again
    // A list: each control's procedure finds its entry by address, which must not move.
    // (Not unique_ptr: <memory> brings in Vista's condition variables with GCC 14.)
    std::list<Named> named_;
};

} // namespace kestrevane::win32
