#include "toolkit/core/CContainerUI.h"

#include <QPainter>
#include <algorithm>

#include "toolkit/controls/CScrollBarUI.h"
#include "toolkit/core/CPaintManagerUI.h"

using koru::ui::EqualsNoCase;

CContainerUI::CContainerUI() = default;

CContainerUI::~CContainerUI() {
  // Children leave the window first, so that nothing in the manager points at them.
  std::vector<CControlUI*> items;
  items.swap(m_items);
  for (CControlUI* item : items) {
    if (m_bAutoDestroy) delete item;
    else item->SetParentOnly(nullptr);
  }
  delete m_pVerticalScrollBar;
  delete m_pHorizontalScrollBar;
}

std::string CContainerUI::GetClass() const { return std::string(DUI_CTR_CONTAINER) + "UI"; }

void* CContainerUI::GetInterface(std::string_view name) {
  if (EqualsNoCase(name, DUI_CTR_CONTAINER)) return this;
  return CControlUI::GetInterface(name);
}

CControlUI* CContainerUI::GetItemAt(int index) const {
  if (index < 0 || index >= GetCount()) return nullptr;
  return m_items[static_cast<size_t>(index)];
}

int CContainerUI::GetItemIndex(CControlUI* control) const {
  auto it = std::find(m_items.begin(), m_items.end(), control);
  return it == m_items.end() ? -1 : static_cast<int>(it - m_items.begin());
}

bool CContainerUI::SetItemIndex(CControlUI* control, int index) {
  int from = GetItemIndex(control);
  if (from < 0 || index < 0 || index >= GetCount()) return false;
  m_items.erase(m_items.begin() + from);
  m_items.insert(m_items.begin() + index, control);
  NeedUpdate();
  return true;
}

bool CContainerUI::Add(CControlUI* control) { return AddAt(control, GetCount()); }

bool CContainerUI::AddAt(CControlUI* control, int index) {
  if (!control || index < 0 || index > GetCount()) return false;
  if (std::find(m_items.begin(), m_items.end(), control) != m_items.end()) return false;
  m_items.insert(m_items.begin() + index, control);
  if (m_pManager) control->SetManager(m_pManager, this, true);
  else control->SetParentOnly(this);
  // A control moved from a hidden container becomes visible with this one.
  control->SetInternVisible(IsVisible());
  NeedUpdate();
  return true;
}

void CContainerUI::DestroyChild(CControlUI* control) {
  if (m_pManager) {
    m_pManager->ReapObjects(control);
    m_pManager->AddDelayedCleanup(control);
  } else {
    delete control;
  }
}

bool CContainerUI::Remove(CControlUI* control, bool doNotDestroy) {
  int index = GetItemIndex(control);
  if (index < 0) return false;
  return RemoveAt(index, doNotDestroy);
}

bool CContainerUI::RemoveAt(int index, bool doNotDestroy) {
  CControlUI* control = GetItemAt(index);
  if (!control) return false;
  m_items.erase(m_items.begin() + index);
  if (m_bAutoDestroy && !doNotDestroy) {
    DestroyChild(control);
  } else {
    if (m_pManager) m_pManager->ReapObjects(control);
    control->SetParentOnly(nullptr);
  }
  NeedUpdate();
  return true;
}

void CContainerUI::RemoveAll() {
  std::vector<CControlUI*> items;
  items.swap(m_items);
  for (CControlUI* item : items) {
    if (m_bAutoDestroy) {
      DestroyChild(item);
    } else {
      if (m_pManager) m_pManager->ReapObjects(item);
      item->SetParentOnly(nullptr);
    }
  }
  NeedUpdate();
}

CControlUI* CContainerUI::FindSubControl(std::string_view name) {
  return CPaintManagerUI::FindSubControlByName(this, name);
}

void CContainerUI::SetInset(const UIRect& rc) {
  m_rcInset = rc;
  NeedUpdate();
}

void CContainerUI::SetChildPadding(int padding) {
  m_iChildPadding = padding;
  NeedUpdate();
}

void CContainerUI::SetChildAlign(unsigned align) {
  m_uChildAlign = align;
  NeedUpdate();
}

void CContainerUI::SetChildVAlign(unsigned align) {
  m_uChildVAlign = align;
  NeedUpdate();
}

void CContainerUI::EnableScrollBar(bool vertical, bool horizontal) {
  auto make = [this](CScrollBarUI*& bar, bool want, bool isHorizontal) {
    if (want && !bar) {
      bar = new CScrollBarUI;
      bar->SetOwner(this);
      bar->SetHorizontal(isHorizontal);
      bar->SetVisible(false);
      if (m_pManager) bar->SetManager(m_pManager, this, false);
      else bar->SetParentOnly(this);
    } else if (!want && bar) {
      if (m_pManager) m_pManager->ReapObjects(bar);
      delete bar;
      bar = nullptr;
    }
  };
  make(m_pVerticalScrollBar, vertical, false);
  make(m_pHorizontalScrollBar, horizontal, true);
  NeedUpdate();
}

UISize CContainerUI::GetScrollPos() const {
  return {m_pHorizontalScrollBar ? m_pHorizontalScrollBar->GetScrollPos() : 0,
          m_pVerticalScrollBar ? m_pVerticalScrollBar->GetScrollPos() : 0};
}

UISize CContainerUI::GetScrollRange() const {
  return {m_pHorizontalScrollBar && m_pHorizontalScrollBar->IsVisible() ? m_pHorizontalScrollBar->GetScrollRange() : 0,
          m_pVerticalScrollBar && m_pVerticalScrollBar->IsVisible() ? m_pVerticalScrollBar->GetScrollRange() : 0};
}

void CContainerUI::SetScrollPos(UISize pos) {
  UISize old = GetScrollPos();
  if (m_pVerticalScrollBar) m_pVerticalScrollBar->SetScrollPos(pos.cy);
  if (m_pHorizontalScrollBar) m_pHorizontalScrollBar->SetScrollPos(pos.cx);
  UISize now = GetScrollPos();
  if (now == old) return;
  // Children move by the scroll difference; no full relayout is needed.
  int dx = old.cx - now.cx;
  int dy = old.cy - now.cy;
  for (CControlUI* item : m_items) {
    if (!item->IsVisible() || item->IsFloat()) continue;
    UIRect rc = item->GetPos();
    rc.Offset(dx, dy);
    item->SetPos(rc, false);
  }
  Invalidate();
  if (m_pManager) m_pManager->SendNotify(this, DUI_MSGTYPE_SCROLL);
}

void CContainerUI::LineUp() { SetScrollPos({GetScrollPos().cx, GetScrollPos().cy - (m_nScrollStepSize > 0 ? m_nScrollStepSize : 8)}); }
void CContainerUI::LineDown() { SetScrollPos({GetScrollPos().cx, GetScrollPos().cy + (m_nScrollStepSize > 0 ? m_nScrollStepSize : 8)}); }
void CContainerUI::PageUp() { SetScrollPos({GetScrollPos().cx, GetScrollPos().cy - GetContentRect().GetHeight()}); }
void CContainerUI::PageDown() { SetScrollPos({GetScrollPos().cx, GetScrollPos().cy + GetContentRect().GetHeight()}); }
void CContainerUI::LineLeft() { SetScrollPos({GetScrollPos().cx - (m_nScrollStepSize > 0 ? m_nScrollStepSize : 8), GetScrollPos().cy}); }
void CContainerUI::LineRight() { SetScrollPos({GetScrollPos().cx + (m_nScrollStepSize > 0 ? m_nScrollStepSize : 8), GetScrollPos().cy}); }

void CContainerUI::ScrollIntoView(CControlUI* child) {
  if (!child || !m_pVerticalScrollBar) return;
  UIRect view = GetContentRect();
  UIRect rc = child->GetPos();
  UISize pos = GetScrollPos();
  if (rc.top < view.top) pos.cy -= view.top - rc.top;
  else if (rc.bottom > view.bottom) pos.cy += rc.bottom - view.bottom;
  SetScrollPos(pos);
}

UIRect CContainerUI::GetContentRect() const {
  UIRect rc = m_rcItem.Deflate(m_rcInset);
  if (m_pVerticalScrollBar && m_pVerticalScrollBar->IsVisible()) rc.right -= m_pVerticalScrollBar->GetFixedWidth();
  if (m_pHorizontalScrollBar && m_pHorizontalScrollBar->IsVisible()) rc.bottom -= m_pHorizontalScrollBar->GetFixedHeight();
  return rc;
}

void CContainerUI::ProcessScrollBar(const UIRect& rc, int cxRequired, int cyRequired) {
  if (m_pVerticalScrollBar) {
    int range = cyRequired - rc.GetHeight();
    if (range > 0) {
      m_pVerticalScrollBar->SetVisible(true);
      m_pVerticalScrollBar->SetScrollRange(range);
      int w = m_pVerticalScrollBar->GetFixedWidth();
      m_pVerticalScrollBar->SetPos({rc.right, rc.top, rc.right + w, rc.bottom}, false);
    } else {
      m_pVerticalScrollBar->SetScrollPos(0);
      m_pVerticalScrollBar->SetVisible(false);
    }
  }
  if (m_pHorizontalScrollBar) {
    int range = cxRequired - rc.GetWidth();
    if (range > 0) {
      m_pHorizontalScrollBar->SetVisible(true);
      m_pHorizontalScrollBar->SetScrollRange(range);
      int h = m_pHorizontalScrollBar->GetFixedHeight();
      m_pHorizontalScrollBar->SetPos({rc.left, rc.bottom, rc.right, rc.bottom + h}, false);
    } else {
      m_pHorizontalScrollBar->SetScrollPos(0);
      m_pHorizontalScrollBar->SetVisible(false);
    }
  }
}

void CContainerUI::SetFloatPos(int index) {
  CControlUI* control = GetItemAt(index);
  if (!control) return;
  UIRect fl = control->GetFloatPos();
  UISize xy = control->GetFixedXY();
  int w = control->GetFixedWidth() > 0 ? control->GetFixedWidth() : fl.GetWidth();
  int h = control->GetFixedHeight() > 0 ? control->GetFixedHeight() : fl.GetHeight();
  UIRect rc{m_rcItem.left + xy.cx, m_rcItem.top + xy.cy, m_rcItem.left + xy.cx + w, m_rcItem.top + xy.cy + h};
  control->SetPos(rc, false);
}

void CContainerUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init) {
  for (CControlUI* item : m_items) item->SetManager(manager, this, init);
  if (m_pVerticalScrollBar) m_pVerticalScrollBar->SetManager(manager, this, false);
  if (m_pHorizontalScrollBar) m_pHorizontalScrollBar->SetManager(manager, this, false);
  CControlUI::SetManager(manager, parent, init);
}

void CContainerUI::SetPos(const UIRect& rc, bool needInvalidate) {
  CControlUI::SetPos(rc, needInvalidate);
  UIRect inner = m_rcItem.Deflate(m_rcInset);
  for (int i = 0; i < GetCount(); ++i) {
    CControlUI* item = m_items[static_cast<size_t>(i)];
    if (!item->IsVisible()) continue;
    if (item->IsFloat()) SetFloatPos(i);
    else item->SetPos(inner, false);
  }
}

void CContainerUI::SetVisible(bool visible) {
  if (visible == m_bVisible) return;
  CControlUI::SetVisible(visible);
  for (CControlUI* item : m_items) item->SetInternVisible(IsVisible());
}

void CContainerUI::SetInternVisible(bool visible) {
  CControlUI::SetInternVisible(visible);
  for (CControlUI* item : m_items) item->SetInternVisible(IsVisible());
}

void CContainerUI::DoEvent(TEventUI& event) {
  if (event.Type == UIEVENT_SCROLLWHEEL && m_pVerticalScrollBar && m_pVerticalScrollBar->IsVisible() && IsEnabled()) {
    if (event.wParam == 0) {
      LineUp(); LineUp(); LineUp();
    } else {
      LineDown(); LineDown(); LineDown();
    }
    return;
  }
  CControlUI::DoEvent(event);
}

void CContainerUI::SetAttribute(std::string_view name, std::string_view value) {
  using namespace koru::ui;
  if (EqualsNoCase(name, "inset")) SetInset(ParseRect(value));
  else if (EqualsNoCase(name, "childpadding")) SetChildPadding(ParseInt(value));
  else if (EqualsNoCase(name, "mousechild")) SetMouseChildEnabled(ParseBool(value));
  else if (EqualsNoCase(name, "vscrollbar")) EnableScrollBar(ParseBool(value), m_pHorizontalScrollBar != nullptr);
  else if (EqualsNoCase(name, "hscrollbar")) EnableScrollBar(m_pVerticalScrollBar != nullptr, ParseBool(value));
  else if (EqualsNoCase(name, "scrollstepsize")) m_nScrollStepSize = ParseInt(value);
  else if (EqualsNoCase(name, "childalign")) {
    if (EqualsNoCase(value, "center")) SetChildAlign(UI_TEXT_CENTER);
    else if (EqualsNoCase(value, "right")) SetChildAlign(UI_TEXT_RIGHT);
    else SetChildAlign(UI_TEXT_LEFT);
  } else if (EqualsNoCase(name, "childvalign")) {
    if (EqualsNoCase(value, "vcenter") || EqualsNoCase(value, "center")) SetChildVAlign(UI_TEXT_VCENTER);
    else if (EqualsNoCase(value, "bottom")) SetChildVAlign(UI_TEXT_BOTTOM);
    else SetChildVAlign(UI_TEXT_TOP);
  } else {
    CControlUI::SetAttribute(name, value);
  }
}

CControlUI* CContainerUI::FindControl(const FINDCONTROLPROC& proc, unsigned flags) {
  if ((flags & UIFIND_VISIBLE) && !IsVisible()) return nullptr;
  if ((flags & UIFIND_ENABLED) && !IsEnabled()) return nullptr;
  if (flags & UIFIND_ME_FIRST) {
    if (CControlUI* found = proc(this)) return found;
  }
  if (flags & UIFIND_TOP_FIRST) {
    for (auto it = m_items.rbegin(); it != m_items.rend(); ++it) {
      if (CControlUI* found = (*it)->FindControl(proc, flags)) return found;
    }
  } else {
    for (CControlUI* item : m_items) {
      if (CControlUI* found = item->FindControl(proc, flags)) return found;
    }
  }
  if (!(flags & UIFIND_ME_FIRST)) return proc(this);
  return nullptr;
}

CControlUI* CContainerUI::HitTest(UIPoint pt) {
  if (!IsVisible() || !m_rcItem.Contains(pt)) return nullptr;
  if (m_pVerticalScrollBar) {
    if (CControlUI* hit = m_pVerticalScrollBar->HitTest(pt)) return hit;
  }
  if (m_pHorizontalScrollBar) {
    if (CControlUI* hit = m_pHorizontalScrollBar->HitTest(pt)) return hit;
  }
  if (m_bMouseChildEnabled) {
    // Later children paint on top, so they are hit first.
    for (auto it = m_items.rbegin(); it != m_items.rend(); ++it) {
      if (CControlUI* hit = (*it)->HitTest(pt)) return hit;
    }
  }
  return m_bMouseEnabled ? this : nullptr;
}

void CContainerUI::DoPaint(QPainter& painter, const UIRect& paint) {
  UIRect clip = paint.Intersect(m_rcItem);
  if (clip.IsEmpty()) return;
  CControlUI::DoPaint(painter, clip);
  if (!m_items.empty()) {
    // Flowing children stay inside the content area (they may be scrolled);
    // floating ones are placed by hand and may cover the inset, so they come second.
    UIRect content = GetContentRect().Intersect(clip);
    for (int pass = 0; pass < 2; ++pass) {
      const UIRect& area = pass == 0 ? content : clip;
      if (area.IsEmpty()) continue;
      painter.save();
      painter.setClipRect(QRect(area.left, area.top, area.GetWidth(), area.GetHeight()), Qt::IntersectClip);
      for (CControlUI* item : m_items) {
        if (!item->IsVisible() || item->IsFloat() != (pass == 1)) continue;
        if (area.Intersects(item->GetPos())) item->DoPaint(painter, area);
      }
      painter.restore();
    }
  }
  if (m_pVerticalScrollBar && m_pVerticalScrollBar->IsVisible()) m_pVerticalScrollBar->DoPaint(painter, clip);
  if (m_pHorizontalScrollBar && m_pHorizontalScrollBar->IsVisible()) m_pHorizontalScrollBar->DoPaint(painter, clip);
}

void CContainerUI::LayoutLinear(bool vertical) {
  // Written once for both directions: "main" runs along the layout, "cross" across it.
  auto mainOf = [vertical](UISize s) { return vertical ? s.cy : s.cx; };
  auto crossOf = [vertical](UISize s) { return vertical ? s.cx : s.cy; };
  auto minMain = [vertical](CControlUI* c) { return vertical ? c->GetMinHeight() : c->GetMinWidth(); };
  auto maxMain = [vertical](CControlUI* c) { return vertical ? c->GetMaxHeight() : c->GetMaxWidth(); };
  auto minCross = [vertical](CControlUI* c) { return vertical ? c->GetMinWidth() : c->GetMinHeight(); };
  auto maxCross = [vertical](CControlUI* c) { return vertical ? c->GetMaxWidth() : c->GetMaxHeight(); };
  auto padBefore = [vertical](const UIRect& p) { return vertical ? p.top : p.left; };
  auto padAfter = [vertical](const UIRect& p) { return vertical ? p.bottom : p.right; };
  auto crossBefore = [vertical](const UIRect& p) { return vertical ? p.left : p.top; };
  auto crossAfter = [vertical](const UIRect& p) { return vertical ? p.right : p.bottom; };
  CScrollBarUI* bar = vertical ? m_pVerticalScrollBar : m_pHorizontalScrollBar;

  UIRect area = m_rcItem.Deflate(m_rcInset);
  for (int pass = 0; pass < 2; ++pass) {
    int areaMain = vertical ? area.GetHeight() : area.GetWidth();
    int areaCross = vertical ? area.GetWidth() : area.GetHeight();
    UISize available = vertical ? UISize{areaCross, areaMain} : UISize{areaMain, areaCross};
    int fixedTotal = 0;
    int autoCount = 0;
    int autoMinTotal = 0;
    int count = 0;
    std::vector<UISize> sizes(m_items.size());
    for (size_t i = 0; i < m_items.size(); ++i) {
      CControlUI* item = m_items[i];
      if (!item->IsVisible() || item->IsFloat()) continue;
      sizes[i] = item->EstimateSize(available);
      int main = mainOf(sizes[i]);
      if (main <= 0) {
        ++autoCount;
        autoMinTotal += minMain(item);
      } else {
        fixedTotal += std::clamp(main, minMain(item), std::max(minMain(item), maxMain(item)));
      }
      fixedTotal += padBefore(item->GetPadding()) + padAfter(item->GetPadding());
      ++count;
    }
    if (count > 1) fixedTotal += (count - 1) * m_iChildPadding;
    int required = fixedTotal + autoMinTotal;

    // A scroll bar takes room across the layout, so the children are measured again with it.
    if (bar && pass == 0) {
      bool overflow = required > areaMain;
      if (overflow != bar->IsVisible() || overflow) {
        UIRect view = area;
        if (overflow) {
          if (vertical) view.right -= bar->GetFixedWidth();
          else view.bottom -= bar->GetFixedHeight();
        }
        ProcessScrollBar(view, vertical ? 0 : required, vertical ? required : 0);
        if (overflow) {
          area = view;
          continue;
        }
      }
    }

    int autoMain = autoCount > 0 ? std::max(0, areaMain - fixedTotal) / autoCount : 0;
    int autoRemainder = autoCount > 0 ? std::max(0, areaMain - fixedTotal) - autoMain * autoCount : 0;
    int scroll = bar && bar->IsVisible() ? bar->GetScrollPos() : 0;
    int pos = (vertical ? area.top : area.left) - scroll;
    if (autoCount == 0 && required < areaMain) {
      unsigned align = vertical ? m_uChildVAlign : m_uChildAlign;
      bool centre = vertical ? (align & UI_TEXT_VCENTER) : (align & UI_TEXT_CENTER);
      bool end = vertical ? (align & UI_TEXT_BOTTOM) : (align & UI_TEXT_RIGHT);
      if (centre) pos += (areaMain - required) / 2;
      else if (end) pos += areaMain - required;
    }
    int crossStart = vertical ? area.left : area.top;
    int autoSeen = 0;
    for (size_t i = 0; i < m_items.size(); ++i) {
      CControlUI* item = m_items[i];
      if (!item->IsVisible()) continue;
      if (item->IsFloat()) {
        SetFloatPos(static_cast<int>(i));
        continue;
      }
      const UIRect& pad = item->GetPadding();
      int main = mainOf(sizes[i]);
      if (main <= 0) {
        ++autoSeen;
        main = autoMain + (autoSeen == autoCount ? autoRemainder : 0);
      }
      main = std::clamp(main, minMain(item), std::max(minMain(item), maxMain(item)));
      int crossRoom = areaCross - crossBefore(pad) - crossAfter(pad);
      int cross = crossOf(sizes[i]);
      if (cross <= 0) cross = crossRoom;
      cross = std::clamp(cross, minCross(item), std::max(minCross(item), maxCross(item)));
      int crossPos = crossStart + crossBefore(pad);
      unsigned align = vertical ? m_uChildAlign : m_uChildVAlign;
      bool centre = vertical ? (align & UI_TEXT_CENTER) : (align & UI_TEXT_VCENTER);
      bool end = vertical ? (align & UI_TEXT_RIGHT) : (align & UI_TEXT_BOTTOM);
      if (centre) crossPos += (crossRoom - cross) / 2;
      else if (end) crossPos += crossRoom - cross;
      pos += padBefore(pad);
      UIRect rc = vertical ? UIRect{crossPos, pos, crossPos + cross, pos + main}
                           : UIRect{pos, crossPos, pos + main, crossPos + cross};
      item->SetPos(rc, false);
      pos += main + padAfter(pad) + m_iChildPadding;
    }
    break;
  }
}
