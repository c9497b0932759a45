#include "toolkit/controls/COptionUI.h"

#include "toolkit/core/CPaintManagerUI.h"
#include "toolkit/core/CRenderEngine.h"

using koru::ui::EqualsNoCase;

COptionUI::COptionUI() = default;

COptionUI::~COptionUI() {
  if (!m_sGroupName.empty() && m_pManager) m_pManager->RemoveOptionGroup(m_sGroupName, this);
}

std::string COptionUI::GetClass() const { return std::string(DUI_CTR_OPTION) + "UI"; }

void* COptionUI::GetInterface(std::string_view name) {
  if (EqualsNoCase(name, DUI_CTR_OPTION)) return this;
  return CButtonUI::GetInterface(name);
}

void COptionUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init) {
  CButtonUI::SetManager(manager, parent, init);
  if (!m_sGroupName.empty() && m_pManager) m_pManager->AddOptionGroup(m_sGroupName, this);
}

void COptionUI::SetGroup(std::string_view group) {
  if (group == m_sGroupName) return;
  if (!m_sGroupName.empty() && m_pManager) m_pManager->RemoveOptionGroup(m_sGroupName, this);
  m_sGroupName = group;
  if (!m_sGroupName.empty() && m_pManager) m_pManager->AddOptionGroup(m_sGroupName, this);
  // A selected option that joins a group unselects the member selected before.
  if (m_bSelected) {
    m_bSelected = false;
    Selected(true, false);
  }
}

void COptionUI::Selected(bool selected, bool triggerEvent) {
  if (selected == m_bSelected) return;
  m_bSelected = selected;
  if (selected) m_uButtonState |= UISTATE_SELECTED;
  else m_uButtonState &= ~UISTATE_SELECTED;
  if (m_pManager) {
    if (selected && !m_sGroupName.empty()) {
      if (const auto* group = m_pManager->GetOptionGroup(m_sGroupName)) {
        std::vector<CControlUI*> members = *group;  // unselecting may change the group
        for (CControlUI* member : members) {
          auto* option = static_cast<COptionUI*>(member->GetInterface(DUI_CTR_OPTION));
          if (option && option != this && option->IsSelected()) option->Selected(false, triggerEvent);
        }
      }
    }
    if (triggerEvent) m_pManager->SendNotify(this, DUI_MSGTYPE_SELECTCHANGED);
    if (selected) BindTriggerTabSel(-1, triggerEvent);
  }
  Invalidate();
}

bool COptionUI::Activate() {
  if (!CButtonUI::Activate()) return false;
  if (!m_sGroupName.empty()) Selected(true);
  else Selected(!m_bSelected);
  return true;
}

void COptionUI::SetSelectedImage(std::string_view image) {
  m_sSelectedImage = image;
  Invalidate();
}
void COptionUI::SetSelectedHotImage(std::string_view image) {
  m_sSelectedHotImage = image;
  Invalidate();
}
void COptionUI::SetSelectedForeImage(std::string_view image) {
  m_sSelectedForeImage = image;
  Invalidate();
}
void COptionUI::SetSelectedBkColor(UIColor color) {
  m_dwSelectedBkColor = color;
  Invalidate();
}
void COptionUI::SetSelectedTextColor(UIColor color) {
  m_dwSelectedTextColor = color;
  Invalidate();
}

void COptionUI::SetAttribute(std::string_view name, std::string_view value) {
  using namespace koru::ui;
  if (EqualsNoCase(name, "group")) SetGroup(value);
  else if (EqualsNoCase(name, "selected")) Selected(ParseBool(value), false);
  else if (EqualsNoCase(name, "selectedimage")) SetSelectedImage(value);
  else if (EqualsNoCase(name, "selectedhotimage")) SetSelectedHotImage(value);
  else if (EqualsNoCase(name, "selectedpushedimage")) m_sSelectedPushedImage = value;
  else if (EqualsNoCase(name, "selectedforeimage")) SetSelectedForeImage(value);
  else if (EqualsNoCase(name, "selecteddisabledimage")) m_sSelectedDisabledImage = value;
  else if (EqualsNoCase(name, "selectedbkcolor")) SetSelectedBkColor(ParseColor(value));
  else if (EqualsNoCase(name, "selectedtextcolor")) SetSelectedTextColor(ParseColor(value));
  else CButtonUI::SetAttribute(name, value);
}

UIColor COptionUI::GetStateTextColor() const {
  if (m_bSelected && m_dwSelectedTextColor && IsEnabled()) return m_dwSelectedTextColor;
  return CButtonUI::GetStateTextColor();
}

void COptionUI::PaintBkColor(QPainter& painter) {
  if (m_bSelected && m_dwSelectedBkColor) {
    CRenderEngine::DrawColor(painter, m_rcItem, m_pManager->AdjustColor(m_dwSelectedBkColor));
    return;
  }
  CButtonUI::PaintBkColor(painter);
}

void COptionUI::PaintStatusImage(QPainter& painter) {
  if (m_bSelected) {
    const std::string* image = &m_sSelectedImage;
    if (!IsEnabled() && !m_sSelectedDisabledImage.empty()) image = &m_sSelectedDisabledImage;
    else if ((m_uButtonState & UISTATE_PUSHED) && !m_sSelectedPushedImage.empty()) image = &m_sSelectedPushedImage;
    else if ((m_uButtonState & UISTATE_HOT) && !m_sSelectedHotImage.empty()) image = &m_sSelectedHotImage;
    if (!image->empty()) {
      DrawImage(painter, *image);
      return;
    }
  }
  CButtonUI::PaintStatusImage(painter);
}

void COptionUI::PaintForeImage(QPainter& painter) {
  if (m_bSelected && !m_sSelectedForeImage.empty()) DrawImage(painter, m_sSelectedForeImage);
  else CButtonUI::PaintForeImage(painter);
}
