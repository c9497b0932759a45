#pragma once
// The contract between lists (list, combo) and their rows, and the behaviour
// every kind of row shares: selection, hot tracking, clicks and row colours.
#include <string>

#include "toolkit/core/CControlUI.h"

inline constexpr const char* DUI_CTR_LISTITEM = "ListItem";
inline constexpr const char* DUI_CTR_ILISTOWNER = "IListOwner";

// Row appearance, kept by the list and read by its rows.
struct TListInfoUI {
  int nFont = -1;
  unsigned uTextStyle = UI_TEXT_VCENTER | UI_TEXT_SINGLELINE;
  UIRect rcTextPadding;
  UIColor dwTextColor = 0xFF000000;
  UIColor dwBkColor = 0;
  UIColor dwSelectedTextColor = 0xFF000000;
  UIColor dwSelectedBkColor = 0xFFC1E3FF;
  UIColor dwHotTextColor = 0xFF000000;
  UIColor dwHotBkColor = 0xFFE9F5FF;
  UIColor dwDisabledTextColor = 0xFFCCCCCC;
  std::string sSelectedImage;
  std::string sHotImage;
  // Applies an "item…" attribute of a list or combo; false when the name is not one.
  bool SetAttribute(std::string_view name, std::string_view value);
};

class IListOwnerUI {
 public:
  virtual ~IListOwnerUI() = default;
  virtual TListInfoUI* GetListInfo() = 0;
  virtual int GetCurSel() const = 0;
  virtual bool SelectItem(int index, bool takeFocus = false, bool triggerEvent = true) = 0;
  // A row was clicked (the list sends "itemclick" and selects it).
  virtual void OnItemClick(CControlUI* item) = 0;
  // Rows send "menu" on a context click when the owner asks for it.
  virtual bool IsContextMenuUsed() const { return false; }
};

class IListItemUI;
class CContainerUI;

// The row interface of a control, or null when it is no row.
IListItemUI* AsListItem(CControlUI* control);
// Bookkeeping of an owner's rows after an insertion or removal at `index`:
// row indexes follow their positions and the selection stays on its row.
void OnListRowAdded(CContainerUI& rows, IListOwnerUI* owner, int index, int& curSel);
void OnListRowRemoved(CContainerUI& rows, int index, int& curSel);

class IListItemUI {
 public:
  virtual ~IListItemUI() = default;
  int GetIndex() const { return m_iIndex; }
  void SetIndex(int index) { m_iIndex = index; }
  IListOwnerUI* GetOwner() const { return m_pOwner; }
  void SetOwner(IListOwnerUI* owner) { m_pOwner = owner; }
  bool IsSelected() const { return m_bSelected; }
  // Only marks the row; lists select through their own SelectItem.
  virtual bool Select(bool select = true);
  bool IsHot() const { return m_bHot; }

 protected:
  // Shared event handling of rows; `self` is the row as a control.
  // Returns true when the event was consumed.
  bool HandleItemEvent(CControlUI* self, TEventUI& event);
  // Background of a row in its state.
  void PaintItemBk(CControlUI* self, QPainter& painter);
  UIColor ItemTextColor(const CControlUI* self) const;
  virtual CControlUI* AsControl() = 0;

  int m_iIndex = -1;
  IListOwnerUI* m_pOwner = nullptr;
  bool m_bSelected = false;
  bool m_bHot = false;
};
