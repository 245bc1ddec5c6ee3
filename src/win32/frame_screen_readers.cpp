// What the launcher's windows tell screen readers beyond what Windows tells
// them by itself, through oleacc's annotation service.
#include "frame.h"

#include <oleacc.h>

#include <string>

namespace kelvaro {

namespace {

// The annotation service of oleacc and its name property, from oleacc.h.
const CLSID kAccPropServices = {
    0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
const IID kIAccPropServices = {
    0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
const MSAAPROPID kAccName = {
    0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};

}  // namespace

// Screen readers name a control by its caption; a control whose caption
// says nothing is named by the table, through the system's annotation
// service, until the window goes.
void Frame::NameForScreenReaders(HWND control, std::string_view name) {
    if (annotations_ == nullptr &&
        FAILED(CoCreateInstance(kAccPropServices, nullptr, CLSCTX_INPROC_SERVER, kIAccPropServices,
                                reinterpret_cast<void**>(&annotations_)))) {
        annotations_ = nullptr;
        return;
    }
    const std::wstring wide(name.begin(), name.end());
    annotations_->SetHwndPropStr(control, OBJID_CLIENT, CHILDID_SELF, kAccName, wide.c_str());
}

void Frame::ForgetNames() {
    if (annotations_ == nullptr) return;
    for (const layout::ControlLayout& row : layout::ControlsOf(form_)) {
        if (row.accessibleName.empty()) continue;
        annotations_->ClearHwndProps(Control(row.id), OBJID_CLIENT, CHILDID_SELF, &kAccName, 1);
    }
    annotations_->Release();
    annotations_ = nullptr;
}

}  // namespace kelvaro
