#include "toolkit/core/CControlUI.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "toolkit/core/CPaintManagerUI.h"
#include "toolkit/core/CRenderEngine.h"
#include "toolkit/core/CResourceManager.h"

using koru::ui::EqualsNoCase;

CControlUI::CControlUI() = default;

CControlUI::~CControlUI() {
  if (m_pManager) m_pManager->ReapObjects(this);
}

std::string CControlUI::GetClass() const { return std::string(DUI_CTR_CONTROL) + "UI"; }

void* CControlUI::GetInterface(std::string_view name) {
  if (EqualsNoCase(name, DUI_CTR_CONTROL)) return this;
  return nullptr;
}

void CControlUI::SetName(std::string_view name) {
  if (name == m_sName) return;
  std::string old = m_sName;
  m_sName = name;
  if (m_pManager) m_pManager->RenameControl(this, old);
}

void CControlUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init) {
  m_pManager = manager;
  m_pParent = parent;
  if (init && m_pParent) m_pManager->InitControls(this, parent);
  if (init) DoInit();
}

std::string CControlUI::GetText() const {
  if (!m_bResourceText) return m_sText;
  return CResourceManager::GetInstance().GetText(m_sText);
}

void CControlUI::SetText(std::string_view text) {
  if (text == m_sText) return;
  m_sText = text;
  Invalidate();
}

void CControlUI::SetResourceText(bool on) {
  if (on == m_bResourceText) return;
  m_bResourceText = on;
  Invalidate();
}

std::string CControlUI::GetToolTip() const {
  if (!m_bResourceText) return m_sToolTip;
  return CResourceManager::GetInstance().GetText(m_sToolTip);
}

std::string CControlUI::GetVirtualWnd() const {
  for (const CControlUI* c = this; c; c = c->m_pParent) {
    if (!c->m_sVirtualWnd.empty()) return c->m_sVirtualWnd;
  }
  return {};
}

void CControlUI::SetBkColor(UIColor color) {
  if (color == m_dwBackColor) return;
  m_dwBackColor = color;
  Invalidate();
}

void CControlUI::SetBkColor2(UIColor color) {
  if (color == m_dwBackColor2) return;
  m_dwBackColor2 = color;
  Invalidate();
}

void CControlUI::SetBkImage(std::string_view image) {
  if (image == m_sBkImage) return;
  m_sBkImage = image;
  Invalidate();
}

void CControlUI::SetForeImage(std::string_view image) {
  if (image == m_sForeImage) return;
  m_sForeImage = image;
  Invalidate();
}

void CControlUI::SetBorderColor(UIColor color) {
  m_dwBorderColor = color;
  Invalidate();
}

void CControlUI::SetFocusBorderColor(UIColor color) {
  m_dwFocusBorderColor = color;
  Invalidate();
}

void CControlUI::SetBorderSize(int size) {
  m_nBorderSize = std::max(0, size);
  Invalidate();
}

void CControlUI::SetBorderRound(UISize round) {
  m_cxyBorderRound = round;
  Invalidate();
}

void CControlUI::SetPos(const UIRect& rc, bool needInvalidate) {
  UIRect r = rc;
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  if (r == m_rcItem && !m_bUpdateNeeded) return;
  UIRect old = m_rcItem;
  m_rcItem = r;
  m_bUpdateNeeded = false;
  if (needInvalidate && m_pManager) {
    m_pManager->Invalidate(old.Union(m_rcItem));
  }
}

void CControlUI::SetPadding(const UIRect& rc) {
  m_rcPadding = rc;
  NeedParentUpdate();
}

void CControlUI::SetFixedXY(UISize xy) {
  m_cXY = xy;
  NeedParentUpdate();
}

void CControlUI::SetFixedWidth(int cx) {
  if (cx < 0) return;
  m_cxyFixed.cx = cx;
  NeedParentUpdate();
}

void CControlUI::SetFixedHeight(int cy) {
  if (cy < 0) return;
  m_cxyFixed.cy = cy;
  NeedParentUpdate();
}

void CControlUI::SetMinWidth(int cx) {
  if (cx < 0) return;
  m_cxyMin.cx = cx;
  NeedParentUpdate();
}

void CControlUI::SetMaxWidth(int cx) {
  if (cx < 0) return;
  m_cxyMax.cx = cx;
  NeedParentUpdate();
}

void CControlUI::SetMinHeight(int cy) {
  if (cy < 0) return;
  m_cxyMin.cy = cy;
  NeedParentUpdate();
}

void CControlUI::SetMaxHeight(int cy) {
  if (cy < 0) return;
  m_cxyMax.cy = cy;
  NeedParentUpdate();
}

UISize CControlUI::EstimateSize(UISize) { return m_cxyFixed; }

void CControlUI::SetFloat(bool on) {
  if (on == m_bFloat) return;
  m_bFloat = on;
  NeedParentUpdate();
}

void CControlUI::SetFloatPos(const UIRect& rc) {
  m_rcFloat = rc;
  m_cXY = {rc.left, rc.top};
  m_cxyFixed = {rc.GetWidth(), rc.GetHeight()};
  NeedParentUpdate();
}

void CControlUI::SetVisible(bool visible) {
  if (visible == m_bVisible) return;
  bool wasVisible = IsVisible();
  m_bVisible = visible;
  if (m_bFocused && !visible && m_pManager) m_pManager->SetFocus(nullptr);
  if (IsVisible() != wasVisible) NeedParentUpdate();
}

void CControlUI::SetInternVisible(bool visible) {
  m_bInternVisible = visible;
  if (!visible && m_bFocused && m_pManager) m_pManager->SetFocus(nullptr);
}

bool CControlUI::IsEnabled() const {
  for (const CControlUI* c = this; c; c = c->m_pParent) {
    if (!c->m_bEnabled) return false;
  }
  return true;
}

void CControlUI::SetEnabled(bool enabled) {
  if (enabled == m_bEnabled) return;
  m_bEnabled = enabled;
  Invalidate();
}

void CControlUI::SetFocus() {
  if (m_pManager) m_pManager->SetFocus(this);
}

bool CControlUI::Activate() { return IsVisible() && IsEnabled(); }

void CControlUI::NeedUpdate() {
  if (!IsVisible()) return;
  m_bUpdateNeeded = true;
  Invalidate();
  if (m_pManager) m_pManager->NeedUpdate();
}

void CControlUI::NeedParentUpdate() {
  if (m_pParent) {
    m_pParent->NeedUpdate();
    m_pParent->Invalidate();
  } else {
    NeedUpdate();
  }
  if (m_pManager) m_pManager->NeedUpdate();
}

void CControlUI::Invalidate() {
  if (!m_pManager || !IsVisible()) return;
  // Clip to the ancestors so scrolled-out parts cost nothing.
  UIRect rc = m_rcItem;
  for (CControlUI* p = m_pParent; p && !rc.IsEmpty(); p = p->m_pParent) {
    // Rows of an open drop list live in the popup layer, outside their owner.
    if (auto* popup = dynamic_cast<IPopupUI*>(p)) {
      rc = rc.Intersect(popup->GetPopupRect().Union(p->GetPos()));
      break;
    }
    rc = rc.Intersect(p->GetPos());
  }
  if (!rc.IsEmpty()) m_pManager->Invalidate(rc);
}

CControlUI* CControlUI::FindControl(const FINDCONTROLPROC& proc, unsigned flags) {
  if ((flags & UIFIND_VISIBLE) && !IsVisible()) return nullptr;
  if ((flags & UIFIND_ENABLED) && !IsEnabled()) return nullptr;
  return proc(this);
}

CControlUI* CControlUI::HitTest(UIPoint pt) {
  if (!IsVisible() || !m_rcItem.Contains(pt)) return nullptr;
  return m_bMouseEnabled ? this : nullptr;
}

void CControlUI::DoEvent(TEventUI& event) {
  switch (event.Type) {
    case UIEVENT_SETCURSOR:
      if (m_pManager && m_pManager->GetHost()) m_pManager->GetHost()->SetCursor(m_nCursor);
      return;
    case UIEVENT_SETFOCUS:
      m_bFocused = true;
      Invalidate();
      return;
    case UIEVENT_KILLFOCUS:
      m_bFocused = false;
      Invalidate();
      return;
    case UIEVENT_TIMER:
      if (m_pManager) m_pManager->SendNotify(this, DUI_MSGTYPE_TIMER, event.wParam, event.lParam);
      return;
    case UIEVENT_SCROLLWHEEL:
    case UIEVENT_CONTEXTMENU:
      // Unhandled wheel and context-menu events bubble to the parent.
      if (m_pParent) m_pParent->DoEvent(event);
      return;
    default:
      return;
  }
}

void CControlUI::SetAttribute(std::string_view name, std::string_view value) {
  using namespace koru::ui;
  if (EqualsNoCase(name, "pos")) {
    UIRect rc = ParseRect(value);
    SetFloatPos(rc);
  } else if (EqualsNoCase(name, "padding")) {
    SetPadding(ParseRect(value));
  } else if (EqualsNoCase(name, "bkcolor") || EqualsNoCase(name, "bkcolor1")) {
    SetBkColor(ParseColor(value));
  } else if (EqualsNoCase(name, "bkcolor2")) {
    SetBkColor2(ParseColor(value));
  } else if (EqualsNoCase(name, "bordercolor")) {
    SetBorderColor(ParseColor(value));
  } else if (EqualsNoCase(name, "focusbordercolor")) {
    SetFocusBorderColor(ParseColor(value));
  } else if (EqualsNoCase(name, "bordersize")) {
    SetBorderSize(ParseInt(value));
  } else if (EqualsNoCase(name, "borderround")) {
    SetBorderRound(ParseSize(value));
  } else if (EqualsNoCase(name, "bkimage")) {
    SetBkImage(value);
  } else if (EqualsNoCase(name, "foreimage")) {
    SetForeImage(value);
  } else if (EqualsNoCase(name, "width")) {
    SetFixedWidth(ParseInt(value));
  } else if (EqualsNoCase(name, "height")) {
    SetFixedHeight(ParseInt(value));
  } else if (EqualsNoCase(name, "minwidth")) {
    SetMinWidth(ParseInt(value));
  } else if (EqualsNoCase(name, "minheight")) {
    SetMinHeight(ParseInt(value));
  } else if (EqualsNoCase(name, "maxwidth")) {
    SetMaxWidth(ParseInt(value));
  } else if (EqualsNoCase(name, "maxheight")) {
    SetMaxHeight(ParseInt(value));
  } else if (EqualsNoCase(name, "name")) {
    SetName(value);
  } else if (EqualsNoCase(name, "text")) {
    SetText(value);
  } else if (EqualsNoCase(name, "resourcetext")) {
    SetResourceText(ParseBool(value));
  } else if (EqualsNoCase(name, "tooltip")) {
    SetToolTip(value);
  } else if (EqualsNoCase(name, "userdata")) {
    SetUserData(value);
  } else if (EqualsNoCase(name, "virtualwnd")) {
    SetVirtualWnd(value);
  } else if (EqualsNoCase(name, "tag")) {
    SetTag(static_cast<std::uintptr_t>(ParseInt(value)));
  } else if (EqualsNoCase(name, "enabled")) {
    SetEnabled(ParseBool(value));
  } else if (EqualsNoCase(name, "mouse")) {
    SetMouseEnabled(ParseBool(value));
  } else if (EqualsNoCase(name, "keyboard")) {
    SetKeyboardEnabled(ParseBool(value));
  } else if (EqualsNoCase(name, "visible")) {
    SetVisible(ParseBool(value));
  } else if (EqualsNoCase(name, "float")) {
    SetFloat(ParseBool(value));
  } else if (EqualsNoCase(name, "style")) {
    if (m_pManager) ApplyAttributeList(m_pManager->GetStyle(value));
  }
  // Unknown attributes are ignored: skins carry attributes for other controls.
}

void CControlUI::ApplyAttributeList(std::string_view list) {
  for (const auto& [name, value] : koru::ui::ParseAttributeList(list)) SetAttribute(name, value);
}

void CControlUI::DoPaint(QPainter& painter, const UIRect& paint) {
  if (!paint.Intersects(m_rcItem)) return;
  bool rounded = m_cxyBorderRound.cx > 0 || m_cxyBorderRound.cy > 0;
  if (rounded) {
    painter.save();
    QPainterPath path;
    path.addRoundedRect(QRectF(m_rcItem.left, m_rcItem.top, m_rcItem.GetWidth(), m_rcItem.GetHeight()),
                        m_cxyBorderRound.cx / 2.0, m_cxyBorderRound.cy / 2.0);
    painter.setClipPath(path, Qt::IntersectClip);
  }
  PaintBkColor(painter);
  PaintBkImage(painter);
  PaintStatusImage(painter);
  PaintForeImage(painter);
  PaintText(painter);
  if (rounded) painter.restore();
  PaintBorder(painter);
}

// An opaque background image stretched over the whole control hides its colour.
bool CControlUI::BkImageHidesBkColor() {
  if (m_sBkImage.empty() || m_pManager == nullptr) return false;
  const TDrawInfo& draw = m_pManager->GetDrawInfo(m_sBkImage);
  if (draw.hasDest || draw.fade != 255 || draw.hole || draw.mask != 0) return false;
  const auto image = m_pManager->GetImageEx(draw.file, draw.mask);
  return image != nullptr && image->image.format() == QImage::Format_RGB32;
}

void CControlUI::PaintBkColor(QPainter& painter) {
  if (m_dwBackColor == 0 || BkImageHidesBkColor()) return;
  UIColor c1 = m_pManager ? m_pManager->AdjustColor(m_dwBackColor) : m_dwBackColor;
  if (m_dwBackColor2 != 0) {
    UIColor c2 = m_pManager ? m_pManager->AdjustColor(m_dwBackColor2) : m_dwBackColor2;
    CRenderEngine::DrawGradient(painter, m_rcItem, c1, c2, true);
  } else {
    CRenderEngine::DrawColor(painter, m_rcItem, c1);
  }
}

void CControlUI::PaintBkImage(QPainter& painter) {
  if (!m_sBkImage.empty()) DrawImage(painter, m_sBkImage);
}

void CControlUI::PaintStatusImage(QPainter&) {}

void CControlUI::PaintForeImage(QPainter& painter) {
  if (!m_sForeImage.empty()) DrawImage(painter, m_sForeImage);
}

void CControlUI::PaintText(QPainter&) {}

void CControlUI::PaintBorder(QPainter& painter) {
  if (m_nBorderSize <= 0) return;
  UIColor color = (m_bFocused && m_dwFocusBorderColor != 0) ? m_dwFocusBorderColor : m_dwBorderColor;
  if (color == 0) return;
  if (m_pManager) color = m_pManager->AdjustColor(color);
  CRenderEngine::DrawBorder(painter, m_rcItem, m_nBorderSize, color, m_cxyBorderRound);
}

bool CControlUI::DrawImage(QPainter& painter, std::string_view image, std::string_view modify) {
  return CRenderEngine::DrawImageString(painter, m_pManager, m_rcItem, image, modify);
}

bool CControlUI::DrawImage(QPainter& painter, std::string_view image, std::uint32_t lightColour, int level, bool on) {
  if (!on) return DrawImage(painter, image);
  TLightLayer light{lightColour, std::clamp(level, 0, 255)};
  return CRenderEngine::DrawImageString(painter, m_pManager, m_rcItem, image, {}, &light);
}
