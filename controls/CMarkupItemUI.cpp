#include "controls/CMarkupItemUI.h"

#include "toolkit/core/CPaintManagerUI.h"
#include "toolkit/markup/CDialogBuilder.h"

bool CMarkupItemUI::BuildContent(std::string_view markup, IDialogBuilderCallback* callback) {
  CDialogBuilder builder;
  CControlUI* content = builder.Create(markup.empty() ? m_ownMarkup : markup, callback, m_pManager);
  if (!content) return false;
  Add(content);
  if (GetFixedWidth() == 0) SetFixedWidth(content->GetFixedWidth());
  if (GetFixedHeight() == 0) SetFixedHeight(content->GetFixedHeight());
  return true;
}

bool CMarkupItemUI::Activate() {
  if (!CHorizontalLayoutUI::Activate()) return false;
  if (m_pManager) m_pManager->SendNotify(this, DUI_MSGTYPE_SELECTCHANGED);
  return true;
}

void CMarkupItemUI::SetKind(int kind, int variant) {
  m_kind = kind;
  m_variant = variant;
}
