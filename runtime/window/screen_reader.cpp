#include "runtime/window/screen_reader.h"

#include "runtime/window/handles.h"

#include <oleacc.h>

namespace velmora::window {

namespace {

// Windows' annotation service and its interface, and UI Automation's LiveSetting property, as
// Microsoft's headers give them (MinGW's lack the last).
constexpr GUID annotationService{
    0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr GUID annotationInterface{
    0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
constexpr GUID liveSettingProperty{
    0xc12bcd8e, 0x2a8e, 0x4950, {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};
// LiveSetting's Polite: read out after what the screen reader is saying, not over it.
constexpr LONG polite = 1;

void release(IAccPropServices* services) noexcept {
  services->Release();
}

using AnnotationService = UniqueHandle<IAccPropServices*, release>;

} // namespace

ComApartment::ComApartment() noexcept
    : initialized_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}

ComApartment::~ComApartment() {
  if (SUCCEEDED(initialized_)) {
    CoUninitialize();
  }
}

// Direct annotation, as Microsoft's page "Using Direct Annotation" does it: the service sets the
// property on the window's behalf and is let go at once. Before Windows 8 it knows no
// LiveSetting and refuses it (Wine knows none of it); the control is then left as it was.
void markLiveRegion(HWND control) noexcept {
  IAccPropServices* made = nullptr;
  if (FAILED(CoCreateInstance(annotationService, nullptr, CLSCTX_INPROC_SERVER, annotationInterface,
                              reinterpret_cast<void**>(&made)))) {
    return;
  }
  const AnnotationService services(made);
  VARIANT setting{};
  setting.vt = VT_I4;
  setting.lVal = polite;
  services.get()->SetHwndProp(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                              liveSettingProperty, setting);
}

// After the write, as a live region's event must follow its change.
void announceChange(HWND control) noexcept {
  NotifyWinEvent(EVENT_OBJECT_LIVEREGIONCHANGED, control, OBJID_CLIENT, CHILDID_SELF);
}

} // namespace velmora::window
