#pragma once
// The picture's light frame: one entry per light, written by the light thread
// and read by the user-interface thread (and the synchronised-lighting thread
// writes into it). Each entry is one atomic word, so a reader never sees half
// an update; a reader may see the previous frame for one refresh.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "devices/LightingTables.h"

struct LightFrameEntry {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  uint8_t level = 0;

  // Red in the lowest byte, then green, blue and the level.
  uint32_t Packed() const {
    return uint32_t{red} | uint32_t{green} << 8 | uint32_t{blue} << 16 | uint32_t{level} << 24;
  }
  static LightFrameEntry FromPacked(uint32_t packed) {
    return {static_cast<uint8_t>(packed), static_cast<uint8_t>(packed >> 8), static_cast<uint8_t>(packed >> 16),
            static_cast<uint8_t>(packed >> 24)};
  }
  static LightFrameEntry Of(const WheelColour& colour, uint8_t level) {
    return {colour.red, colour.green, colour.blue, level};
  }
  bool operator==(const LightFrameEntry&) const = default;
};

class CLightFrame {
 public:
  CLightFrame() = default;
  CLightFrame(const CLightFrame&) = delete;
  CLightFrame& operator=(const CLightFrame&) = delete;

  // Not safe while another thread uses the frame; every entry becomes dark.
  void Resize(int count);
  int Size() const { return count_; }

  // Out-of-range indexes are ignored on writing and read as dark.
  void Set(int index, LightFrameEntry entry);
  void SetPacked(int index, uint32_t packed);
  LightFrameEntry Get(int index) const;
  uint32_t GetPacked(int index) const;
  void Fill(LightFrameEntry entry);

 private:
  std::unique_ptr<std::atomic<uint32_t>[]> entries_;
  int count_ = 0;
};
