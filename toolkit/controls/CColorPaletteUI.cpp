#include "toolkit/controls/CColorPaletteUI.h"

#include <QColor>
#include <QLinearGradient>
#include <QPainter>
#include <algorithm>

#include "toolkit/core/CPaintManagerUI.h"
#include "toolkit/core/CRenderEngine.h"

using koru::ui::EqualsNoCase;

CColorPaletteUI::CColorPaletteUI() = default;

std::string CColorPaletteUI::GetClass() const { return std::string(DUI_CTR_COLORPALETTE) + "UI"; }

void* CColorPaletteUI::GetInterface(std::string_view name) {
  if (EqualsNoCase(name, DUI_CTR_COLORPALETTE)) return this;
  return CControlUI::GetInterface(name);
}

UIColor CColorPaletteUI::GetSelectColor() const {
  QColor c = QColor::fromHsv(m_nHue, m_nSaturation, m_nValue);
  return 0xFF000000u | (static_cast<UIColor>(c.rgb()) & 0x00FFFFFFu);
}

void CColorPaletteUI::SetSelectColor(UIColor color) {
  QColor c = QColor::fromRgb(static_cast<QRgb>(color | 0xFF000000u));
  int h, s, v;
  c.getHsv(&h, &s, &v);
  // Greys have no hue; keep the previous one so the field does not jump.
  if (h >= 0) m_nHue = h;
  m_nSaturation = s;
  m_nValue = v;
  Invalidate();
}

void CColorPaletteUI::SetPalletHeight(int height) {
  m_nPalletHeight = std::max(0, height);
  Invalidate();
}

void CColorPaletteUI::SetBarHeight(int height) {
  m_nBarHeight = std::max(0, height);
  Invalidate();
}

UIRect CColorPaletteUI::GetPalletRect() const {
  UIRect rc = m_rcItem;
  int gap = m_nBarHeight > 0 ? 4 : 0;
  rc.bottom = m_nPalletHeight > 0 ? std::min(rc.bottom, rc.top + m_nPalletHeight) : rc.bottom - m_nBarHeight - gap;
  return rc;
}

UIRect CColorPaletteUI::GetBarRect() const {
  UIRect rc = m_rcItem;
  rc.top = rc.bottom - m_nBarHeight;
  return rc;
}

void CColorPaletteUI::PickAt(UIPoint pt) {
  if (m_drag == Drag::Pallet) {
    UIRect rc = GetPalletRect();
    int x = std::clamp(pt.x - rc.left, 0, std::max(1, rc.GetWidth() - 1));
    int y = std::clamp(pt.y - rc.top, 0, std::max(1, rc.GetHeight() - 1));
    m_nHue = x * 359 / std::max(1, rc.GetWidth() - 1);
    m_nSaturation = 255 - y * 255 / std::max(1, rc.GetHeight() - 1);
  } else if (m_drag == Drag::Bar) {
    UIRect rc = GetBarRect();
    int x = std::clamp(pt.x - rc.left, 0, std::max(1, rc.GetWidth() - 1));
    m_nValue = 255 - x * 255 / std::max(1, rc.GetWidth() - 1);
  }
  Invalidate();
}

void CColorPaletteUI::DoEvent(TEventUI& event) {
  switch (event.Type) {
    case UIEVENT_BUTTONDOWN:
      if (!IsEnabled()) return;
      if (GetPalletRect().Contains(event.ptMouse)) m_drag = Drag::Pallet;
      else if (GetBarRect().Contains(event.ptMouse)) m_drag = Drag::Bar;
      PickAt(event.ptMouse);
      return;
    case UIEVENT_MOUSEMOVE:
      if (m_drag != Drag::None) PickAt(event.ptMouse);
      return;
    case UIEVENT_BUTTONUP:
      if (m_drag != Drag::None) {
        PickAt(event.ptMouse);
        m_drag = Drag::None;
        if (m_pManager) m_pManager->SendNotify(this, DUI_MSGTYPE_COLORCHANGED);
      }
      return;
    default:
      CControlUI::DoEvent(event);
  }
}

void CColorPaletteUI::SetAttribute(std::string_view name, std::string_view value) {
  using namespace koru::ui;
  if (EqualsNoCase(name, "palletheight")) SetPalletHeight(ParseInt(value));
  else if (EqualsNoCase(name, "barheight")) SetBarHeight(ParseInt(value));
  else if (EqualsNoCase(name, "selectcolor") || EqualsNoCase(name, "color")) SetSelectColor(ParseColor(value));
  else CControlUI::SetAttribute(name, value);
}

void CColorPaletteUI::PaintStatusImage(QPainter& painter) {
  UIRect pallet = GetPalletRect();
  if (!pallet.IsEmpty()) {
    QRectF r(pallet.left, pallet.top, pallet.GetWidth(), pallet.GetHeight());
    QLinearGradient hues(r.topLeft(), r.topRight());
    for (int i = 0; i <= 6; ++i) hues.setColorAt(i / 6.0, QColor::fromHsv((i * 60) % 360, 255, m_nValue));
    painter.fillRect(r, hues);
    QLinearGradient fade(r.topLeft(), r.bottomLeft());
    QColor grey = QColor::fromHsv(0, 0, m_nValue);
    fade.setColorAt(0, QColor(grey.red(), grey.green(), grey.blue(), 0));
    fade.setColorAt(1, grey);
    painter.fillRect(r, fade);
    int x = pallet.left + m_nHue * std::max(1, pallet.GetWidth() - 1) / 359;
    int y = pallet.top + (255 - m_nSaturation) * std::max(1, pallet.GetHeight() - 1) / 255;
    CRenderEngine::DrawBorder(painter, {x - 4, y - 4, x + 5, y + 5}, 1, 0xFFFFFFFF, {9, 9});
  }
  UIRect bar = GetBarRect();
  if (!bar.IsEmpty()) {
    QRectF r(bar.left, bar.top, bar.GetWidth(), bar.GetHeight());
    QLinearGradient values(r.topLeft(), r.topRight());
    values.setColorAt(0, QColor::fromHsv(m_nHue, m_nSaturation, 255));
    values.setColorAt(1, Qt::black);
    painter.fillRect(r, values);
    int x = bar.left + (255 - m_nValue) * std::max(1, bar.GetWidth() - 1) / 255;
    CRenderEngine::DrawColor(painter, {x - 1, bar.top, x + 2, bar.bottom}, 0xFFFFFFFF);
  }
}
