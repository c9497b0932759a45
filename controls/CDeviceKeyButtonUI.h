#pragma once
// One key, mouse button or light zone of a device picture. Over the usual
// button images it draws the zone's light (the "lightimage" filled with the
// zone's colour at its level) and the marks of keys with and without an
// assignment. The pages bind these buttons by name ("key_N", "light_N") and
// set their light on every preview tick.
#include <atomic>
#include <cstdint>
#include <string>

#include "toolkit/controls/CButtonUI.h"

// Tag and GetClass text; the pages compare GetClass with it (case-sensitive).
inline constexpr const char* kDeviceKeyButtonClass = "DeviceKeyButton";

class CDeviceKeyButtonUI : public CButtonUI {
 public:
  // The light colour as the pages pack their light entry: red in the low byte,
  // then blue, then green (red | blue << 8 | green << 16).
  static constexpr std::uint32_t PackLightColour(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return std::uint32_t(red) | std::uint32_t(blue) << 8 | std::uint32_t(green) << 16;
  }
  // The same colour in the toolkit's light-layer order (red | green << 8 | blue << 16).
  static constexpr std::uint32_t ToDrawingColour(std::uint32_t packed) {
    return (packed & 0xFFu) | ((packed >> 16) & 0xFFu) << 8 | ((packed >> 8) & 0xFFu) << 16;
  }

  CDeviceKeyButtonUI();
  std::string GetClass() const override;

  // Stores colour (page packing, kept unchanged), level (0..255) and on. No
  // repaint: the page repaints the picture once per tick. The three values
  // travel as one word, so a paint never sees a colour of one call with the
  // level of another; any thread may call it. True when the state changed.
  bool SetLightState(std::uint32_t colour, int level, bool on);
  std::uint32_t GetLightColour() const;
  int GetLightLevel() const;
  bool IsLightOn() const;

  // 0 draws the mark; any other value hides it. Repaint only on a change.
  void SetHideKeySetImage(int hide);
  int GetHideKeySetImage() const { return m_hideKeySetImage; }
  void SetHideKeyUnsetImage(int hide);
  int GetHideKeyUnsetImage() const { return m_hideKeyUnsetImage; }
  // A per-key mark the pages keep here; not drawn.
  void SetKeyMark(int mark);
  int GetKeyMark() const { return m_keyMark; }
  // Set by the rubber band of the enclosing select panel.
  void SetBandSelected(int selected);
  int IsBandSelected() const { return m_bandSelected; }

  const std::string& GetLightImage() const { return m_lightImage; }
  const std::string& GetKeySetImage() const { return m_keySetImage; }
  const std::string& GetKeyUnsetImage() const { return m_keyUnsetImage; }

  void DoEvent(TEventUI& event) override;
  void SetAttribute(std::string_view name, std::string_view value) override;
  void PaintStatusImage(QPainter& painter) override;

 private:
  static std::uint64_t PackState(std::uint32_t colour, int level, bool on);

  std::string m_lightImage;
  std::string m_keySetImage;
  std::string m_keyUnsetImage;
  int m_hideKeySetImage = 1;
  int m_hideKeyUnsetImage = 1;
  int m_keyMark = 0;
  // colour in the low 32 bits, level in bits 32..39, on in bit 40.
  std::atomic<std::uint64_t> m_lightState;
  int m_bandSelected = 0;
};
