#include "accessible_names.h"

#include <oleacc.h>

#include <string>

#include "control_ids.h"
#include "wide_text.h"
#include "window/control_labels.h"

namespace karbelon::window::win32 {

namespace {

// The window that MSAA asks for a control's name. A drop-down combo is asked
// through itself, and its edit part through the edit.
void nameWindow(IAccPropServices& services, HWND target, const std::wstring& name) {
    if (target != nullptr) {
        services.SetHwndPropStr(target, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                PROPID_ACC_NAME, name.c_str());
    }
}

void clearWindow(IAccPropServices& services, HWND target) {
    if (target != nullptr) {
        MSAAPROPID name = PROPID_ACC_NAME;
        services.ClearHwndProps(target, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, &name, 1);
    }
}

HWND comboEdit(HWND combo) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    return GetComboBoxInfo(combo, &info) != FALSE ? info.hwndItem : nullptr;
}

}  // namespace

AccessibleNames::~AccessibleNames() {
    if (services_ != nullptr) {
        services_->Release();
    }
}

void AccessibleNames::annotate(HWND form1) {
    if (services_ == nullptr &&
        FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IAccPropServices, reinterpret_cast<void**>(&services_)))) {
        services_ = nullptr;
        return;
    }
    form1_ = form1;
    for (const ControlSpec& row : controlTable) {
        const std::string name = accessibleName(row.id);
        if (name.empty()) {
            continue;
        }
        const HWND box = GetDlgItem(form1, controlWindowId(row.id));
        nameWindow(*services_, box, toWide(name));
        if (row.kind == ControlKind::ComboBox) {
            nameWindow(*services_, comboEdit(box), toWide(name));
        }
    }
}

void AccessibleNames::clear() {
    if (services_ == nullptr || form1_ == nullptr) {
        return;
    }
    for (const ControlSpec& row : controlTable) {
        if (accessibleName(row.id).empty()) {
            continue;
        }
        const HWND box = GetDlgItem(form1_, controlWindowId(row.id));
        clearWindow(*services_, box);
        if (row.kind == ControlKind::ComboBox) {
            clearWindow(*services_, comboEdit(box));
        }
    }
    form1_ = nullptr;
}

}  // namespace karbelon::window::win32
