#pragma once
// What a device tab item asks of the page it stands for. The device pages
// implement it; its timers call it on the user-interface thread.
class IDeviceTabPage {
 public:
  virtual ~IDeviceTabPage() = default;

  virtual bool IsChannelOpen() const = 0;
  // Reached through the 2.4 GHz receiver rather than the cable.
  virtual bool IsReceiverMode() const = 0;
  // Shows a battery and polls the power status.
  virtual bool IsWirelessCapable() const = 0;
  // The picture shows the live preview and wants repainting.
  virtual bool IsPreviewActive() const = 0;

  virtual void RefreshLightFrame() = 0;
  virtual void RepaintPicture() = 0;
  virtual bool IsWirelessLinkUp() = 0;
  virtual void SyncWithDevice() = 0;
  virtual void UpdatePowerStatus() = 0;
  virtual void ReloadFromDevice() = 0;
  // Told at every refresh whether the page is the selected tab's, so a page
  // nobody sees can rest its animation.
  virtual void SetPictureShown(bool) {}
};
