#include "win_desktop.h"

#include <oleacc.h>

#include <iterator>
#include <string>

namespace kelvaro {

namespace {

// The annotation service of oleacc and the properties it is given, from
// oleacc.h.
const CLSID kAccPropServices = {
    0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
const IID kIAccPropServices = {
    0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
const MSAAPROPID kAnnotated[] = {
    {0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}},  // name
    {0xcb905ff2, 0x7bd1, 0x4c05, {0xb3, 0xc8, 0xe6, 0xc2, 0x41, 0x36, 0x4d, 0x70}},  // role
};

}  // namespace

WinDesktop::~WinDesktop() {
    if (annotations_ != nullptr) annotations_->Release();
}

bool WinDesktop::HighContrastOn() {
    HIGHCONTRASTA highContrast = {};
    highContrast.cbSize = sizeof highContrast;
    return SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof highContrast, &highContrast, 0) &&
           (highContrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

void WinDesktop::Annotate(HWND control, std::string_view name, long role) {
    if (!annotationsTried_) {
        annotationsTried_ = true;
        if (FAILED(CoCreateInstance(kAccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                    kIAccPropServices, reinterpret_cast<void**>(&annotations_)))) {
            annotations_ = nullptr;
        }
    }
    if (annotations_ == nullptr) return;
    if (!name.empty()) {
        const std::wstring wide(name.begin(), name.end());
        annotations_->SetHwndPropStr(control, OBJID_CLIENT, CHILDID_SELF, kAnnotated[0],
                                     wide.c_str());
    }
    if (role != 0) {
        VARIANT value = {};
        value.vt = VT_I4;
        value.lVal = role;
        annotations_->SetHwndProp(control, OBJID_CLIENT, CHILDID_SELF, kAnnotated[1], value);
    }
}

void WinDesktop::ForgetAnnotations(HWND control) {
    if (annotations_ == nullptr) return;
    annotations_->ClearHwndProps(control, OBJID_CLIENT, CHILDID_SELF, kAnnotated,
                                 std::size(kAnnotated));
}

}  // namespace kelvaro
