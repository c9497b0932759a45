#include "devices/CKestroKeyboardDevice.h"

#include "devices/EffectTables.h"
#include "devices/KeyboardLayout.h"
#include "profiles/CKeyboardProfiledata.h"
#include "toolkit/core/CPaintManagerUI.h"

CKestroKeyboardDevice::CKestroKeyboardDevice() : CKestroUSBDevice(kKindKeyboard, "KestroKeyboardDevice") {}

// The light thread calls this kind's steps, so it stops before the kind goes.
CKestroKeyboardDevice::~CKestroKeyboardDevice() { StopLightThread(); }

void CKestroKeyboardDevice::InitDevicePage() {
  if (m_pManager != nullptr) m_pManager->AddNotifier(this);
  CKestroUSBDevice::InitDevicePage();
}

void CKestroKeyboardDevice::BuildDeviceControls() {
  BindPictureContainer(FindContainer("keyboard_device_key_light"), true);
}

std::span<const CKestroUSBDevice::EffectSlot> CKestroKeyboardDevice::EffectTable() const {
  return koru::KeyboardEffects();
}

std::unique_ptr<CBasicProfiledata> CKestroKeyboardDevice::MakeProfile() const {
  return std::make_unique<CKeyboardProfiledata>();
}

void CKestroKeyboardDevice::StepColumnsWave() {
  using namespace koru::lighting;
  using namespace koru::keyboard;
  const LightInfoData info = GetLightInfo();
  const uint8_t phase = PhaseStep(info.fx, kWheelLength, GetPhase(), 1);
  SetPhase(phase);
  const uint8_t level = BrightnessOf(info.light);
  for (int column = 0; column < kGridColumns; ++column) {
    const LightFrameEntry entry = info.multiColor
                                      ? LightFrameEntry::Of(WheelAt(phase + column * 7), level)
                                      : LightFrameEntry::Of(StaticColour(info), Scale(FlowAt(phase + column * 4), level));
    for (int row = 0; row < kGridRows; ++row) {
      const uint8_t key = KeyAt(column, row);
      if (key != kFirstNoKey) frame_.Set(key, entry);
    }
  }
}
