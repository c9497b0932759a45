#include "controls/CDeviceKeyButtonUI.h"

#include <algorithm>

#include "toolkit/core/CPaintManagerUI.h"

using koru::ui::EqualsNoCase;

namespace {
constexpr std::uint64_t kOnBit = std::uint64_t(1) << 40;
}

CDeviceKeyButtonUI::CDeviceKeyButtonUI() : m_lightState(PackState(255, 200, false)) {}

std::string CDeviceKeyButtonUI::GetClass() const { return kDeviceKeyButtonClass; }

std::uint64_t CDeviceKeyButtonUI::PackState(std::uint32_t colour, int level, bool on) {
  auto clamped = static_cast<std::uint64_t>(std::clamp(level, 0, 255));
  return std::uint64_t(colour) | clamped << 32 | (on ? kOnBit : 0);
}

bool CDeviceKeyButtonUI::SetLightState(std::uint32_t colour, int level, bool on) {
  const auto state = PackState(colour, level, on);
  return m_lightState.exchange(state, std::memory_order_relaxed) != state;
}

std::uint32_t CDeviceKeyButtonUI::GetLightColour() const {
  return static_cast<std::uint32_t>(m_lightState.load(std::memory_order_relaxed));
}

int CDeviceKeyButtonUI::GetLightLevel() const {
  return static_cast<int>((m_lightState.load(std::memory_order_relaxed) >> 32) & 0xFF);
}

bool CDeviceKeyButtonUI::IsLightOn() const { return (m_lightState.load(std::memory_order_relaxed) & kOnBit) != 0; }

void CDeviceKeyButtonUI::SetHideKeySetImage(int hide) {
  if (hide == m_hideKeySetImage) return;
  m_hideKeySetImage = hide;
  Invalidate();
}

void CDeviceKeyButtonUI::SetHideKeyUnsetImage(int hide) {
  if (hide == m_hideKeyUnsetImage) return;
  m_hideKeyUnsetImage = hide;
  Invalidate();
}

void CDeviceKeyButtonUI::SetKeyMark(int mark) {
  if (mark == m_keyMark) return;
  m_keyMark = mark;
  Invalidate();
}

void CDeviceKeyButtonUI::SetBandSelected(int selected) {
  if (selected != m_bandSelected) m_bandSelected = selected;
}

void CDeviceKeyButtonUI::DoEvent(TEventUI& event) {
  if (event.Type == UIEVENT_DBLCLICK && IsMouseEnabled() && IsEnabled() && m_rcItem.Contains(event.ptMouse)) {
    m_uButtonState |= UISTATE_PUSHED | UISTATE_CAPTURED;
    if (m_pManager) m_pManager->SendNotify(this, DUI_MSGTYPE_DBCLICK);
    Invalidate();
    return;
  }
  CButtonUI::DoEvent(event);
}

void CDeviceKeyButtonUI::SetAttribute(std::string_view name, std::string_view value) {
  if (EqualsNoCase(name, "lightimage")) {
    m_lightImage = value;
    Invalidate();
  } else if (EqualsNoCase(name, "keysetimage")) {
    m_keySetImage = value;
    Invalidate();
  } else if (EqualsNoCase(name, "keyunsetimage")) {
    m_keyUnsetImage = value;
    Invalidate();
  } else if (EqualsNoCase(name, "gmnametextcolor")) {
    // Accepted for the markup's sake; the picture names no game-mode keys.
  } else {
    CButtonUI::SetAttribute(name, value);
  }
}

void CDeviceKeyButtonUI::PaintStatusImage(QPainter& painter) {
  CButtonUI::PaintStatusImage(painter);
  std::uint64_t light = m_lightState.load(std::memory_order_relaxed);
  if ((light & kOnBit) && !m_lightImage.empty()) {
    auto colour = static_cast<std::uint32_t>(light);
    int level = static_cast<int>((light >> 32) & 0xFF);
    DrawImage(painter, m_lightImage, ToDrawingColour(colour), level, true);
  }
  if (m_hideKeyUnsetImage == 0 && !m_keyUnsetImage.empty()) DrawImage(painter, m_keyUnsetImage);
  if (m_hideKeySetImage == 0 && !m_keySetImage.empty()) DrawImage(painter, m_keySetImage);
}
