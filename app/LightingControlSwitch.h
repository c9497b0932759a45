#pragma once
// Whether this program drives the device lighting or leaves it to another
// program. The user switches it with the "control_light_status" button (and
// the program announces it); another program may switch it by message (no
// announcement). A system suspend hands the lighting back without changing
// the setting; resume applies the setting again.
#include <cstdint>
#include <functional>
#include <utility>

class CDevicePageLists;

class CLightingControlSwitch {
 public:
  using ShowLabel = std::function<void(bool on)>;
  using Announce = std::function<void(bool on)>;

  CLightingControlSwitch(const CDevicePageLists& pages, ShowLabel showLabel, Announce announce);

  bool IsOn() const { return on_; }
  // The button: label, pages, announcement.
  void SetByButton(bool on);
  // The request message of another program: wParam 1 and lParam 0 or 1;
  // anything else changes nothing. False when ignored.
  bool SetByRequest(std::uint64_t wParam, std::int64_t lParam);
  // Sets the flag, the label and the pages without announcing it.
  void Apply(bool on);
  void OnSuspend();
  void OnResume();

 private:
  void TellPages(bool on);

  const CDevicePageLists& pages_;
  ShowLabel showLabel_;
  Announce announce_;
  bool on_ = true;
};
