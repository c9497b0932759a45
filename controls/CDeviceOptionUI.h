#pragma once
// One device's item in the main window's tab strip: the option that selects
// the device's page and power indicator, the check box that marks the device
// for synchronised lighting, and the timers that drive the device's
// connection life (connect, light refresh, reload, power, link).
#include <functional>
#include <string>

#include "controls/CMarkupItemUI.h"

class COptionUI;
class CLabelUI;
class CMpDevicePowerUI;
class IDeviceTabPage;

inline constexpr const char* kDeviceOptionClass = "DeviceOption";
inline constexpr const char* kDeviceOptionMarkup = "XML/CustomControlXML/DeviceOption.xml";

// The tab item timers.
namespace tabtimer {
inline constexpr unsigned kRefresh = 1000;
inline constexpr unsigned kConnect = 1001;
inline constexpr unsigned kReload = 1002;
inline constexpr unsigned kReserved1 = 1003;
inline constexpr unsigned kReserved2 = 1004;
inline constexpr unsigned kPower = 1005;
inline constexpr unsigned kLink = 1007;

inline constexpr unsigned kConnectDelayMs = 500;
inline constexpr unsigned kConnectRetryMs = 3000;
inline constexpr unsigned kRefreshFirstMs = 5;
inline constexpr unsigned kRefreshMs = 50;
inline constexpr unsigned kPowerFirstMs = 50;
inline constexpr unsigned kPowerMs = 5000;
inline constexpr unsigned kLinkFirstMs = 2000;
inline constexpr unsigned kLinkMs = 3000;
inline constexpr int kFailedLinkWrap = 20;
}  // namespace tabtimer

class CDeviceOptionUI : public CMarkupItemUI {
 public:
  // Asks the main window to show (true) or remove (false) the tab at `index`
  // of the strip; the window's answer is ShowTab or RemoveTab.
  using ShowTabRequest = std::function<void(int index, bool show)>;

  CDeviceOptionUI();
  std::string GetClass() const override;

  // Also picks the tile images and the name of the kind.
  void SetKind(int kind, int variant) override;

  // Selecting "device_select" shows page `index` of the named tab layout.
  void BindPage(std::string_view layoutName, int index);
  int GetPageIndex();
  const std::string& GetPageLayoutName() const { return m_pageLayoutName; }
  // An index below 0 keeps the stored one.
  void SetPowerLayout(std::string_view layoutName, int index);
  int GetPowerIndex() const { return m_powerIndex; }
  const std::string& GetPowerLayoutName() const { return m_powerLayoutName; }
  void SetGroup(std::string_view group);
  void SetName(std::string_view text);

  void SetPage(IDeviceTabPage* page) { m_page = page; }
  IDeviceTabPage* GetPage() const { return m_page; }
  void SetIndicator(CMpDevicePowerUI* indicator) { m_indicator = indicator; }
  CMpDevicePowerUI* GetIndicator() const { return m_indicator; }

  void ShowSyncBox(bool shown);
  // Without a notification.
  void SetSyncChecked(bool checked);
  bool IsSyncChecked();
  void Select(bool selected);
  bool IsSelected();

  void SetVisible(bool visible = true) override;
  bool IsItemVisible() const { return m_visible; }

  void SetShowTabRequest(ShowTabRequest request) { m_showTabRequest = std::move(request); }
  // Connect timer in 500 ms.
  void ArmConnect();
  // Link timer in `ms`, only while the page's channel is open.
  void ArmLink(unsigned ms);
  int GetFailedLinkCount() const { return m_failedLinks; }

  // The four tile images now in use: synchronised selected and normal, selected and normal.
  const std::string& GetSyncSelectedImage() const { return m_syncSelectedImage; }
  const std::string& GetSyncNormalImage() const { return m_syncNormalImage; }
  const std::string& GetSelectedImage() const { return m_selectedImage; }
  const std::string& GetNormalImage() const { return m_normalImage; }

  void DoEvent(TEventUI& event) override;

 private:
  COptionUI* SelectOption();
  COptionUI* SyncOption();
  CLabelUI* NameLabel();
  void ApplyTileImages();
  void RequestTab(bool show);
  void Arm(unsigned id, unsigned ms);
  void OnConnectTimer();
  void OnRefreshTimer();
  void OnPowerTimer();
  void OnLinkTimer();
  void RunTimer(unsigned id);

  IDeviceTabPage* m_page = nullptr;
  COptionUI* m_selectOption = nullptr;
  COptionUI* m_syncOption = nullptr;
  CLabelUI* m_nameLabel = nullptr;
  std::string m_syncSelectedImage;
  std::string m_syncNormalImage;
  std::string m_selectedImage;
  std::string m_normalImage;
  std::string m_pageLayoutName;
  std::string m_powerLayoutName;
  int m_powerIndex = -1;
  bool m_visible = true;
  int m_failedLinks = 0;
  CMpDevicePowerUI* m_indicator = nullptr;
  ShowTabRequest m_showTabRequest;
};
