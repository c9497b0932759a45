#pragma once
// Synchronised lighting: every connected page that joined shows the same
// effect, computed here and handed to the pages as one packed colour.
#include <cstdint>
#include <mutex>
#include <optional>

#include "profiles/ProfileRecords.h"

class CDevicePageLists;
class IDevicePage;

enum class SyncEffect : int { Breathing = 0, Static = 1, Blinking = 2, Spectrum = 3, Off = 4 };
inline constexpr int kSyncEffectCount = 5;

// A page's light mode as a synchronised effect type, by the page's kind; nullopt
// for a mode that has no synchronised counterpart.
std::optional<int> SyncTypeOfMode(int pageKind, int mode);
// The page kind's light mode for a synchronised effect type.
std::optional<int> ModeOfSyncType(int pageKind, int type);

// Shared with the lighting editor.
struct SyncLightingSettings {
  int type = 0;        // SyncEffect
  int speed = 0;       // 0..4
  int brightness = 0;  // 0..4
  int direction = 0;   // breathing backwards when 0
  bool colourful = false;
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  bool operator==(const SyncLightingSettings&) const = default;
};

class CSyncLightingSettingsStore {
 public:
  SyncLightingSettings Get() const;
  void Set(const SyncLightingSettings& settings);

 private:
  mutable std::mutex mutex_;
  SyncLightingSettings settings_;
};

// The effect's state between steps. Not thread-safe: the thread owns it.
class CSyncLightingEngine {
 public:
  static constexpr std::uint64_t kTickMs = 2;
  // Static and off change nothing between steps; they are repeated this often
  // only so that pages that joined in between get the colour.
  static constexpr std::uint64_t kSteadyRepeatMs = 1000;

  // One step at `nowMs`; the packed colour R | G << 8 | B << 16 | level << 24.
  std::uint32_t Step(const SyncLightingSettings& settings, std::uint64_t nowMs);
  // When the next step that can change the colour is due.
  std::uint64_t NextStepDue(const SyncLightingSettings& settings, std::uint64_t nowMs) const;

  int BreathingPosition() const { return breathing_; }
  int WheelPosition() const { return wheel_; }
  bool BlinkOn() const { return blinkOn_; }

 private:
  int breathing_ = 0;
  int wheel_ = 0;
  bool blinkOn_ = false;
  std::optional<std::uint64_t> lastToggleMs_;
};

std::uint32_t PackSyncColour(std::uint8_t red, std::uint8_t green, std::uint8_t blue, std::uint8_t level);

struct ScreenSize {
  int width = 0;
  int height = 0;
};

// The "deng_same_mode" button: every connected page takes the selected page's
// effect, each in its own kind's mode. False (nothing changed) when the
// selected page's mode has no synchronised counterpart.
bool JoinSynchronisedLighting(IDevicePage& selected, const CDevicePageLists& pages,
                              CSyncLightingSettingsStore& settings, ScreenSize screen);
