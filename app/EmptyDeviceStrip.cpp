#include <string>

#include "app/IDeviceStrip.h"
#include "catalogue/InterfaceSlotList.h"
#include "platform/DebugOutput.h"

namespace {

std::string DeviceOfKind(int kind) {
  switch (CableKindOf(std::uint16_t(kind))) {
    case kKindKeyboard: return "keyboard";
    case kKindMouse: return "mouse";
    case kKindMousePad: return "mouse pad";
    case kKindHeadset: return "headset";
    default: return "device";
  }
}

void Trace(const CInterfaceSlotList& slots, int slot, const char* what) {
  if (!koru::DebugOutputEnabled()) return;
  const std::optional<InterfaceSlot> record = slots.Get(slot);
  if (!record) return;
  koru::DebugOutput(std::string(what) + " " + DeviceOfKind(record->kind) + " interface, slot " +
                    std::to_string(slot) + " (no page for it yet)");
}

}  // namespace

CEmptyDeviceStrip::CEmptyDeviceStrip(const CInterfaceSlotList& slots) : slots_(slots) {}

void CEmptyDeviceStrip::OnInterfaceAttached(int slot) { Trace(slots_, slot, "attached:"); }

void CEmptyDeviceStrip::OnInterfaceDetached(int slot) { Trace(slots_, slot, "detached:"); }
