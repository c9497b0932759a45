#include "controls/CDeviceOptionUI.h"

#include "controls/IDeviceTabPage.h"
#include "toolkit/controls/CLabelUI.h"
#include "toolkit/controls/COptionUI.h"
#include "toolkit/core/CPaintManagerUI.h"

namespace {

constexpr const char* kSelectName = "device_select";
constexpr const char* kSyncName = "synchro_device_select";
constexpr const char* kNameLabelName = "device_select_name";

struct KindLook {
  const char* stem;
  const char* nameText;
};

// The icon set and name of a device kind; null stem: leave both as they are.
KindLook LookOfKind(int kind, int variant) {
  switch (kind) {
    case 1:
      return {"common/device_ico/kb_device_", "kb_device_name_text"};
    case 2:
      return {"common/device_ico/ms_device_", "ms_device_name_text"};
    case 3:
      if (variant == 0) return {"common/device_ico/hard_mp_device_", "hard_mp_device_name_text"};
      if (variant == 1) return {"common/device_ico/soft_mp_device_", "soft_mp_device_name_text"};
      return {nullptr, nullptr};
    case 4:
    case 7:
      return {"common/device_ico/hd_device_", "hd_device_name_text"};
    case 5:
      return {"common/device_ico/hub_device_", "hub_device_name_text"};
    default:
      return {"common/device_ico/unknow_device_", "unknow_device_name_text"};
  }
}

}  // namespace

CDeviceOptionUI::CDeviceOptionUI()
    : CMarkupItemUI(kDeviceOptionMarkup),
      m_syncSelectedImage("common/device_ico/unknow_device_synchro_selected.png"),
      m_syncNormalImage("common/device_ico/unknow_device_synchro_normal.png"),
      m_selectedImage("common/device_ico/unknow_device_selected.png"),
      m_normalImage("common/device_ico/unknow_device_normal.png") {}

std::string CDeviceOptionUI::GetClass() const { return kDeviceOptionClass; }

COptionUI* CDeviceOptionUI::SelectOption() {
  if (!m_selectOption) m_selectOption = dynamic_cast<COptionUI*>(FindSubControl(kSelectName));
  return m_selectOption;
}

COptionUI* CDeviceOptionUI::SyncOption() {
  if (!m_syncOption) m_syncOption = dynamic_cast<COptionUI*>(FindSubControl(kSyncName));
  return m_syncOption;
}

CLabelUI* CDeviceOptionUI::NameLabel() {
  if (!m_nameLabel) m_nameLabel = dynamic_cast<CLabelUI*>(FindSubControl(kNameLabelName));
  return m_nameLabel;
}

void CDeviceOptionUI::SetKind(int kind, int variant) {
  CMarkupItemUI::SetKind(kind, variant);
  KindLook look = LookOfKind(kind, variant);
  if (!look.stem) return;
  std::string stem = look.stem;
  m_normalImage = stem + "normal.png";
  m_selectedImage = stem + "selected.png";
  m_syncSelectedImage = stem + "synchro_selected.png";
  m_syncNormalImage = stem + "synchro_normal.png";
  ApplyTileImages();
  if (CLabelUI* label = NameLabel()) {
    label->SetResourceText(true);
    label->SetText(look.nameText);
  }
}

void CDeviceOptionUI::ApplyTileImages() {
  COptionUI* option = SelectOption();
  if (!option) return;
  bool synced = IsSyncChecked();
  option->SetNormalImage(synced ? m_syncNormalImage : m_normalImage);
  option->SetSelectedImage(synced ? m_syncSelectedImage : m_selectedImage);
}

void CDeviceOptionUI::BindPage(std::string_view layoutName, int index) {
  m_pageLayoutName = layoutName;
  if (COptionUI* option = SelectOption()) {
    option->BindTabLayoutName(layoutName);
    option->BindTabIndex(index);
  }
}

int CDeviceOptionUI::GetPageIndex() {
  COptionUI* option = SelectOption();
  return option ? option->GetBindTabLayoutIndex() : -1;
}

void CDeviceOptionUI::SetPowerLayout(std::string_view layoutName, int index) {
  m_powerLayoutName = layoutName;
  if (index >= 0) m_powerIndex = index;
}

void CDeviceOptionUI::SetGroup(std::string_view group) {
  if (COptionUI* option = SelectOption()) option->SetGroup(group);
}

void CDeviceOptionUI::SetName(std::string_view text) {
  if (CLabelUI* label = NameLabel()) label->SetText(text);
}

void CDeviceOptionUI::ShowSyncBox(bool shown) {
  if (COptionUI* sync = SyncOption()) sync->SetVisible(shown);
  ApplyTileImages();
}

void CDeviceOptionUI::SetSyncChecked(bool checked) {
  if (COptionUI* sync = SyncOption()) sync->Selected(checked, false);
  ApplyTileImages();
}

bool CDeviceOptionUI::IsSyncChecked() {
  COptionUI* sync = SyncOption();
  return sync && sync->IsSelected();
}

void CDeviceOptionUI::Select(bool selected) {
  if (COptionUI* option = SelectOption()) option->Selected(selected);
}

bool CDeviceOptionUI::IsSelected() {
  COptionUI* option = SelectOption();
  return option && option->IsSelected();
}

void CDeviceOptionUI::SetVisible(bool visible) {
  m_visible = visible;
  CMarkupItemUI::SetVisible(visible);
}

void CDeviceOptionUI::RequestTab(bool show) {
  if (!m_showTabRequest) return;
  auto* strip = dynamic_cast<CContainerUI*>(m_pParent);
  m_showTabRequest(strip ? strip->GetItemIndex(this) : -1, show);
}

void CDeviceOptionUI::Arm(unsigned id, unsigned ms) {
  if (m_pManager) m_pManager->SetTimer(this, id, ms);
}

void CDeviceOptionUI::ArmConnect() { Arm(tabtimer::kConnect, tabtimer::kConnectDelayMs); }

void CDeviceOptionUI::ArmLink(unsigned ms) {
  if (m_page && m_page->IsChannelOpen()) Arm(tabtimer::kLink, ms);
}

void CDeviceOptionUI::OnConnectTimer() {
  if (!m_page) return;
  bool receiver = m_page->IsReceiverMode();
  if (receiver && m_page->IsChannelOpen()) {
    if (!m_page->IsWirelessLinkUp()) {
      m_failedLinks = (m_failedLinks + 1) % tabtimer::kFailedLinkWrap;
      if (m_visible) RequestTab(false);
      Arm(tabtimer::kConnect, tabtimer::kConnectRetryMs);
      return;
    }
    RequestTab(true);
  }
  m_page->SyncWithDevice();
  m_failedLinks = 0;
  Arm(tabtimer::kRefresh, tabtimer::kRefreshFirstMs);
  if (m_page->IsWirelessCapable() && m_page->IsChannelOpen()) Arm(tabtimer::kPower, tabtimer::kPowerFirstMs);
  if (receiver) Arm(tabtimer::kLink, tabtimer::kLinkFirstMs);
}

void CDeviceOptionUI::OnRefreshTimer() {
  if (!m_page) return;
  const bool shown = IsSelected();
  m_page->SetPictureShown(shown);
  m_page->RefreshLightFrame();
  if (shown && m_page->IsPreviewActive()) m_page->RepaintPicture();
  if (m_page->IsChannelOpen()) Arm(tabtimer::kRefresh, tabtimer::kRefreshMs);
}

void CDeviceOptionUI::OnPowerTimer() {
  if (!m_page || !m_page->IsWirelessCapable()) return;
  m_page->UpdatePowerStatus();
  Arm(tabtimer::kPower, tabtimer::kPowerMs);
}

void CDeviceOptionUI::OnLinkTimer() {
  if (!m_page || !m_page->IsReceiverMode()) return;
  bool linkUp = m_page->IsWirelessLinkUp();
  if (linkUp && !m_visible) {
    RequestTab(true);
    if (m_page->IsWirelessCapable()) m_page->UpdatePowerStatus();
  } else if (!linkUp && m_visible) {
    RequestTab(false);
  }
  // The page may have left receiver mode while the request was handled, or
  // lost its device: the next connection arms the timer again.
  if (m_page->IsReceiverMode() && m_page->IsChannelOpen()) Arm(tabtimer::kLink, tabtimer::kLinkMs);
}

void CDeviceOptionUI::RunTimer(unsigned id) {
  switch (id) {
    case tabtimer::kConnect:
      OnConnectTimer();
      break;
    case tabtimer::kRefresh:
      OnRefreshTimer();
      break;
    case tabtimer::kReload:
      if (m_page) m_page->ReloadFromDevice();
      break;
    case tabtimer::kPower:
      OnPowerTimer();
      break;
    case tabtimer::kLink:
      OnLinkTimer();
      break;
    default:
      // 1003 and 1004 have no work; nothing arms them.
      break;
  }
}

void CDeviceOptionUI::DoEvent(TEventUI& event) {
  if (event.Type == UIEVENT_TIMER && m_pManager) {
    auto id = static_cast<unsigned>(event.wParam);
    // Every handler stops its own timer first and re-arms it when it repeats.
    m_pManager->KillTimer(this, id);
    RunTimer(id);
  }
  CMarkupItemUI::DoEvent(event);
}
