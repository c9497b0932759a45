#pragma once
// A scrolling column of rows (list label or list container elements) with one
// selected row. "itemselect" reports a selection (wParam new, lParam old),
// "itemclick" a click on a row, "menu" a context click when "menu" is on.
#include "toolkit/controls/IListItemUI.h"
#include "toolkit/layout/CVerticalLayoutUI.h"

inline constexpr const char* DUI_CTR_LIST = "List";

class CListUI : public CVerticalLayoutUI, public IListOwnerUI {
 public:
  CListUI();
  std::string GetClass() const override;
  void* GetInterface(std::string_view name) override;

  bool Add(CControlUI* control) override;
  bool AddAt(CControlUI* control, int index) override;
  bool RemoveAt(int index, bool doNotDestroy = false) override;
  void RemoveAll() override;

  TListInfoUI* GetListInfo() override { return &m_listInfo; }
  int GetCurSel() const override { return m_iCurSel; }
  bool SelectItem(int index, bool takeFocus = false, bool triggerEvent = true) override;
  void OnItemClick(CControlUI* item) override;
  bool IsContextMenuUsed() const override { return m_bContextMenu; }
  void SetContextMenuUsed(bool on) { m_bContextMenu = on; }
  // Scrolls so that row `index` is fully visible.
  void EnsureVisible(int index);

  void SetPos(const UIRect& rc, bool needInvalidate = true) override;
  void DoEvent(TEventUI& event) override;
  void SetAttribute(std::string_view name, std::string_view value) override;

 private:

  TListInfoUI m_listInfo;
  int m_iCurSel = -1;
  bool m_bContextMenu = false;
  int m_iPendingVisible = -1;
};
