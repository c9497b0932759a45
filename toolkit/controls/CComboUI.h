#pragma once
// A drop-down choice. Its rows are list elements; the drop list is drawn as a
// layer above the window while open. Hidden rows keep their index and are
// left out of the drop list. SelectItem(-1) clears the choice.
#include "toolkit/controls/IListItemUI.h"
#include "toolkit/core/CContainerUI.h"
#include "toolkit/core/CPaintManagerUI.h"

inline constexpr const char* DUI_CTR_COMBO = "Combo";

class CComboUI : public CContainerUI, public IListOwnerUI, public IPopupUI {
 public:
  CComboUI();
  ~CComboUI() override;
  std::string GetClass() const override;
  void* GetInterface(std::string_view name) override;

  bool Add(CControlUI* control) override;
  bool AddAt(CControlUI* control, int index) override;
  bool RemoveAt(int index, bool doNotDestroy = false) override;
  void RemoveAll() override;

  TListInfoUI* GetListInfo() override { return &m_listInfo; }
  int GetCurSel() const override { return m_iCurSel; }
  // The notifying form sends "itemselect" (wParam new, lParam old).
  bool SelectItem(int index, bool takeFocus = false, bool triggerEvent = true) override;
  void OnItemClick(CControlUI* item) override;
  // The text of the selected row, or empty.
  std::string GetText() const override;

  bool Activate() override;
  bool IsDropped() const { return m_bDropped; }
  void ShowDropDown(bool show);
  UISize GetDropBoxSize() const { return m_szDropBox; }
  void SetDropBoxSize(UISize size) { m_szDropBox = size; }

  // IPopupUI
  UIRect GetPopupRect() const override { return m_rcDrop; }
  CControlUI* PopupHitTest(UIPoint pt) override;
  void PaintPopup(QPainter& painter) override;
  void ClosePopup() override;

  void SetPos(const UIRect& rc, bool needInvalidate = true) override;
  CControlUI* HitTest(UIPoint pt) override;
  void DoEvent(TEventUI& event) override;
  void SetAttribute(std::string_view name, std::string_view value) override;
  void DoPaint(QPainter& painter, const UIRect& paint) override;
  void PaintStatusImage(QPainter& painter) override;
  void PaintText(QPainter& painter) override;

 private:
  void LayoutDropList();

  TListInfoUI m_listInfo;
  int m_iCurSel = -1;
  bool m_bDropped = false;
  unsigned m_uButtonState = 0;
  UISize m_szDropBox{0, 150};
  UIRect m_rcDrop;
  UIRect m_rcTextPadding{4, 0, 4, 0};
  int m_iFont = -1;
  UIColor m_dwTextColor = 0;
  UIColor m_dwDropBkColor = 0xFFFFFFFF;
  UIColor m_dwDropBorderColor = 0xFF808080;
  std::string m_sNormalImage;
  std::string m_sHotImage;
  std::string m_sPushedImage;
  std::string m_sDisabledImage;
};
