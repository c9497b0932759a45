#pragma once
// A control that owns children. The base container gives every child its
// whole inner rectangle; the layouts arrange them in rows, columns or pages.
#include <vector>

#include "toolkit/core/CControlUI.h"

class CScrollBarUI;

class CContainerUI : public CControlUI {
 public:
  CContainerUI();
  ~CContainerUI() override;

  std::string GetClass() const override;
  void* GetInterface(std::string_view name) override;

  CControlUI* GetItemAt(int index) const;
  int GetItemIndex(CControlUI* control) const;
  bool SetItemIndex(CControlUI* control, int index);
  int GetCount() const { return static_cast<int>(m_items.size()); }
  virtual bool Add(CControlUI* control);
  virtual bool AddAt(CControlUI* control, int index);
  // Removes and deletes the child (unless auto-destroy is off).
  virtual bool Remove(CControlUI* control, bool doNotDestroy = false);
  virtual bool RemoveAt(int index, bool doNotDestroy = false);
  virtual void RemoveAll();
  bool IsAutoDestroy() const { return m_bAutoDestroy; }
  void SetAutoDestroy(bool on) { m_bAutoDestroy = on; }

  // Searches this subtree by name, ignoring case; a page's panels reuse names,
  // so lookups inside a panel go through here rather than the window.
  CControlUI* FindSubControl(std::string_view name);

  const UIRect& GetInset() const { return m_rcInset; }
  void SetInset(const UIRect& rc);
  int GetChildPadding() const { return m_iChildPadding; }
  void SetChildPadding(int padding);
  unsigned GetChildAlign() const { return m_uChildAlign; }
  void SetChildAlign(unsigned align);
  unsigned GetChildVAlign() const { return m_uChildVAlign; }
  void SetChildVAlign(unsigned align);
  bool IsMouseChildEnabled() const { return m_bMouseChildEnabled; }
  void SetMouseChildEnabled(bool enabled = true) { m_bMouseChildEnabled = enabled; }

  // Scrolling of overflowing content.
  void EnableScrollBar(bool vertical = true, bool horizontal = false);
  CScrollBarUI* GetVerticalScrollBar() const { return m_pVerticalScrollBar; }
  CScrollBarUI* GetHorizontalScrollBar() const { return m_pHorizontalScrollBar; }
  UISize GetScrollPos() const;
  UISize GetScrollRange() const;
  virtual void SetScrollPos(UISize pos);
  void LineUp();
  void LineDown();
  void PageUp();
  void PageDown();
  void LineLeft();
  void LineRight();
  // Scrolls so that the child's rectangle lies inside the view.
  void ScrollIntoView(CControlUI* child);

  void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init = true) override;
  void SetPos(const UIRect& rc, bool needInvalidate = true) override;
  void SetVisible(bool visible = true) override;
  void SetInternVisible(bool visible = true) override;
  void DoEvent(TEventUI& event) override;
  void SetAttribute(std::string_view name, std::string_view value) override;
  CControlUI* FindControl(const FINDCONTROLPROC& proc, unsigned flags) override;
  CControlUI* HitTest(UIPoint pt) override;
  void DoPaint(QPainter& painter, const UIRect& paint) override;

 protected:
  // Inner rectangle minus the visible scroll bars.
  UIRect GetContentRect() const;
  // Places a floating child relative to this container.
  void SetFloatPos(int index);
  // Lays the children out in a column (vertical) or a row: fixed sizes first,
  // the rest shared by the children without a fixed size.
  void LayoutLinear(bool vertical);
  // Shows or hides the scroll bars for content of the given size and sets their ranges.
  void ProcessScrollBar(const UIRect& rc, int cxRequired, int cyRequired);
  void DestroyChild(CControlUI* control);

  std::vector<CControlUI*> m_items;
  UIRect m_rcInset;
  int m_iChildPadding = 0;
  unsigned m_uChildAlign = UI_TEXT_LEFT;
  unsigned m_uChildVAlign = UI_TEXT_TOP;
  bool m_bAutoDestroy = true;
  bool m_bMouseChildEnabled = true;
  int m_nScrollStepSize = 0;
  CScrollBarUI* m_pVerticalScrollBar = nullptr;
  CScrollBarUI* m_pHorizontalScrollBar = nullptr;
};
