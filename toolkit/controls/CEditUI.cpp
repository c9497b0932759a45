#include "toolkit/controls/CEditUI.h"

#include <QFontMetrics>
#include <QPainter>
#include <QString>
#include <algorithm>

#include "toolkit/core/CPaintManagerUI.h"
#include "toolkit/core/CRenderEngine.h"

using koru::ui::EqualsNoCase;

namespace {
std::u32string ToChars(std::string_view utf8) {
  QList<uint> ucs4 = QString::fromUtf8(utf8.data(), static_cast<int>(utf8.size())).toUcs4();
  return std::u32string(ucs4.begin(), ucs4.end());
}

std::string ToUtf8(const std::u32string& chars) {
  return QString::fromUcs4(chars.data(), static_cast<int>(chars.size())).toStdString();
}
}  // namespace

CEditUI::CEditUI() {
  m_uTextStyle = UI_TEXT_VCENTER | UI_TEXT_SINGLELINE;
  m_rcTextPadding = {4, 0, 4, 0};
  m_nCursor = 32513;  // text beam
}

std::string CEditUI::GetClass() const { return std::string(DUI_CTR_EDIT) + "UI"; }

void* CEditUI::GetInterface(std::string_view name) {
  if (EqualsNoCase(name, DUI_CTR_EDIT)) return this;
  return CLabelUI::GetInterface(name);
}

int CEditUI::Length() const { return static_cast<int>(m_chars.size()); }

void CEditUI::SetText(std::string_view text) {
  std::u32string chars = ToChars(text);
  // Text set from code obeys the limit, like typed text.
  if (m_iMaxChar > 0 && static_cast<int>(chars.size()) > m_iMaxChar) chars.resize(static_cast<size_t>(m_iMaxChar));
  m_chars = std::move(chars);
  m_sText = ToUtf8(m_chars);
  m_iCaret = m_iAnchor = Length();
  Invalidate();
}

void CEditUI::SetMaxChar(int max) {
  m_iMaxChar = std::max(0, max);
  if (m_iMaxChar > 0 && Length() > m_iMaxChar) SetText(m_sText);
}

void CEditUI::SetReadOnly(bool on) {
  m_bReadOnly = on;
  Invalidate();
}

void CEditUI::SetPasswordMode(bool on) {
  m_bPasswordMode = on;
  Invalidate();
}

void CEditUI::SetSel(int start, int end) {
  if (end < 0 || end > Length()) end = Length();
  start = std::clamp(start, 0, Length());
  m_iAnchor = start;
  m_iCaret = end;
  Invalidate();
}

std::pair<int, int> CEditUI::GetSel() const { return {std::min(m_iAnchor, m_iCaret), std::max(m_iAnchor, m_iCaret)}; }

std::string CEditUI::GetSelText() const {
  auto [from, to] = GetSel();
  return ToUtf8(m_chars.substr(static_cast<size_t>(from), static_cast<size_t>(to - from)));
}

bool CEditUI::Accepts(char32_t ch) const {
  if (ch < 0x20 || ch == 0x7F) return false;
  if (m_bNumberOnly && (ch < U'0' || ch > U'9')) return false;
  return true;
}

bool CEditUI::DeleteSelection() {
  auto [from, to] = GetSel();
  if (from == to) return false;
  m_chars.erase(static_cast<size_t>(from), static_cast<size_t>(to - from));
  m_iCaret = m_iAnchor = from;
  return true;
}

void CEditUI::ReplaceSel(std::string_view text, bool notify) {
  if (m_bReadOnly) return;
  std::u32string insert;
  for (char32_t ch : ToChars(text)) {
    if (Accepts(ch)) insert.push_back(ch);
  }
  bool deleted = DeleteSelection();
  if (m_iMaxChar > 0) {
    int room = m_iMaxChar - Length();
    if (room < static_cast<int>(insert.size())) insert.resize(static_cast<size_t>(std::max(0, room)));
  }
  if (insert.empty() && !deleted) return;
  m_chars.insert(static_cast<size_t>(m_iCaret), insert);
  m_iCaret = m_iAnchor = m_iCaret + static_cast<int>(insert.size());
  m_sText = ToUtf8(m_chars);
  Invalidate();
  if (notify && m_pManager) m_pManager->SendNotify(this, DUI_MSGTYPE_TEXTCHANGED);
}

void CEditUI::Changed() {
  m_sText = ToUtf8(m_chars);
  Invalidate();
  if (m_pManager) m_pManager->SendNotify(this, DUI_MSGTYPE_TEXTCHANGED);
}

void CEditUI::MoveCaret(int pos, bool extend) {
  m_iCaret = std::clamp(pos, 0, Length());
  if (!extend) m_iAnchor = m_iCaret;
  Invalidate();
}

int CEditUI::CaretFromPoint(UIPoint pt) const {
  if (!m_pManager) return Length();
  QFontMetrics metrics(m_pManager->GetFont(m_iFont));
  int x = pt.x - (m_rcItem.left + m_rcTextPadding.left);
  std::u32string shown = m_bPasswordMode ? std::u32string(m_chars.size(), m_cPasswordChar) : m_chars;
  for (int i = 0; i < Length(); ++i) {
    int left = metrics.horizontalAdvance(QString::fromUcs4(shown.data(), i));
    int right = metrics.horizontalAdvance(QString::fromUcs4(shown.data(), i + 1));
    if (x < (left + right) / 2) return i;
  }
  return Length();
}

void CEditUI::DoEvent(TEventUI& event) {
  bool shift = (event.wKeyState & UIKEYSTATE_SHIFT) != 0;
  switch (event.Type) {
    case UIEVENT_SETFOCUS:
      CLabelUI::DoEvent(event);
      if (m_pManager) m_pManager->SendNotify(this, DUI_MSGTYPE_SETFOCUS);
      return;
    case UIEVENT_KILLFOCUS:
      CLabelUI::DoEvent(event);
      m_iAnchor = m_iCaret;
      if (m_pManager) m_pManager->SendNotify(this, DUI_MSGTYPE_KILLFOCUS);
      return;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
      if (!IsEnabled()) return;
      if (event.Type == UIEVENT_DBLCLICK) {
        SetSelAll();
      } else {
        MoveCaret(CaretFromPoint(event.ptMouse), shift);
        m_bSelecting = true;
      }
      return;
    case UIEVENT_MOUSEMOVE:
      if (m_bSelecting) MoveCaret(CaretFromPoint(event.ptMouse), true);
      return;
    case UIEVENT_BUTTONUP:
      m_bSelecting = false;
      return;
    case UIEVENT_MOUSEENTER:
      m_bHot = true;
      Invalidate();
      return;
    case UIEVENT_MOUSELEAVE:
      m_bHot = false;
      Invalidate();
      return;
    case UIEVENT_CHAR:
      if (!IsEnabled() || m_bReadOnly || !Accepts(event.chKey)) return;
      {
        auto [from, to] = GetSel();
        int after = Length() - (to - from) + 1;
        if (m_iMaxChar > 0 && after > m_iMaxChar) return;  // full: the key is refused
        DeleteSelection();
        m_chars.insert(static_cast<size_t>(m_iCaret), 1, event.chKey);
        m_iCaret = m_iAnchor = m_iCaret + 1;
        Changed();
      }
      return;
    case UIEVENT_KEYDOWN:
      if (!IsEnabled()) return;
      switch (event.chKey) {
        case UIKEY_LEFT: MoveCaret(m_iCaret - 1, shift); return;
        case UIKEY_RIGHT: MoveCaret(m_iCaret + 1, shift); return;
        case UIKEY_HOME: MoveCaret(0, shift); return;
        case UIKEY_END: MoveCaret(Length(), shift); return;
        case UIKEY_RETURN:
          if (m_pManager) m_pManager->SendNotify(this, DUI_MSGTYPE_RETURN);
          return;
        case UIKEY_BACK:
          if (m_bReadOnly) return;
          if (!DeleteSelection()) {
            if (m_iCaret == 0) return;
            m_chars.erase(static_cast<size_t>(m_iCaret - 1), 1);
            m_iCaret = m_iAnchor = m_iCaret - 1;
          }
          Changed();
          return;
        case UIKEY_DELETE:
          if (m_bReadOnly) return;
          if (!DeleteSelection()) {
            if (m_iCaret >= Length()) return;
            m_chars.erase(static_cast<size_t>(m_iCaret), 1);
          }
          Changed();
          return;
        case UIKEY_A:
          if (event.wKeyState & UIKEYSTATE_CONTROL) SetSelAll();
          return;
        default:
          return;
      }
    default:
      CLabelUI::DoEvent(event);
  }
}

void CEditUI::SetAttribute(std::string_view name, std::string_view value) {
  using namespace koru::ui;
  if (EqualsNoCase(name, "maxchar")) SetMaxChar(ParseInt(value));
  else if (EqualsNoCase(name, "readonly")) SetReadOnly(ParseBool(value));
  else if (EqualsNoCase(name, "numberonly")) SetNumberOnly(ParseBool(value));
  else if (EqualsNoCase(name, "password")) SetPasswordMode(ParseBool(value));
  else if (EqualsNoCase(name, "passwordchar")) {
    std::u32string chars = ToChars(value);
    if (!chars.empty()) m_cPasswordChar = chars.front();
  } else if (EqualsNoCase(name, "selectioncolor")) m_dwSelectionColor = ParseColor(value);
  else if (EqualsNoCase(name, "nativebkcolor")) SetBkColor(ParseColor(value));
  else if (EqualsNoCase(name, "caretcolor")) m_dwCaretColor = ParseColor(value);
  else if (EqualsNoCase(name, "normalimage")) m_sNormalImage = value;
  else if (EqualsNoCase(name, "hotimage")) m_sHotImage = value;
  else if (EqualsNoCase(name, "focusedimage")) m_sFocusedImage = value;
  else if (EqualsNoCase(name, "disabledimage")) m_sDisabledImage = value;
  else if (EqualsNoCase(name, "text")) SetText(value);
  else CLabelUI::SetAttribute(name, value);
}

void CEditUI::PaintStatusImage(QPainter& painter) {
  const std::string* image = &m_sNormalImage;
  if (!IsEnabled() && !m_sDisabledImage.empty()) image = &m_sDisabledImage;
  else if (IsFocused() && !m_sFocusedImage.empty()) image = &m_sFocusedImage;
  else if (m_bHot && !m_sHotImage.empty()) image = &m_sHotImage;
  if (!image->empty()) DrawImage(painter, *image);
}

void CEditUI::PaintText(QPainter& painter) {
  if (!m_pManager) return;
  std::u32string shown = m_bPasswordMode ? std::u32string(m_chars.size(), m_cPasswordChar) : m_chars;
  UIRect rc = m_rcItem.Deflate(m_rcTextPadding);
  const QFont& font = m_pManager->GetFont(m_iFont);
  QFontMetrics metrics(font);
  auto advance = [&](int count) { return metrics.horizontalAdvance(QString::fromUcs4(shown.data(), count)); };
  // Keep the caret in view: text scrolls left when it is longer than the field.
  int caretX = advance(m_iCaret);
  int shift = std::max(0, caretX - rc.GetWidth() + 2);
  painter.save();
  painter.setClipRect(QRect(rc.left, rc.top, rc.GetWidth(), rc.GetHeight()), Qt::IntersectClip);
  auto [from, to] = GetSel();
  if (IsFocused() && from != to) {
    UIRect sel{rc.left + advance(from) - shift, rc.top + (rc.GetHeight() - metrics.height()) / 2,
               rc.left + advance(to) - shift, rc.top + (rc.GetHeight() + metrics.height()) / 2};
    CRenderEngine::DrawColor(painter, sel, m_dwSelectionColor);
  }
  UIRect textRect{rc.left - shift, rc.top, rc.right + 10000, rc.bottom};
  CRenderEngine::DrawText(painter, m_pManager, textRect, ToUtf8(shown), GetStateTextColor(),
                          m_iFont, (m_uTextStyle & ~(UI_TEXT_CENTER | UI_TEXT_RIGHT | UI_TEXT_END_ELLIPSIS)));
  if (IsFocused() && !m_bReadOnly) {
    int x = rc.left + caretX - shift;
    UIRect caret{x, rc.top + (rc.GetHeight() - metrics.height()) / 2, x + 1,
                 rc.top + (rc.GetHeight() + metrics.height()) / 2};
    CRenderEngine::DrawColor(painter, caret, m_dwCaretColor);
  }
  painter.restore();
}
