#pragma once
// A single-line text field drawn by the toolkit itself: caret, selection,
// maximum length, digits-only and read-only modes. "textchanged" follows every
// edit by the user, "return" the Enter key, "setfocus"/"killfocus" the focus.
#include "toolkit/controls/CLabelUI.h"

inline constexpr const char* DUI_CTR_EDIT = "Edit";

class CEditUI : public CLabelUI {
 public:
  CEditUI();
  std::string GetClass() const override;
  void* GetInterface(std::string_view name) override;

  // Setting the text from code sends no notification and puts the caret at the end.
  void SetText(std::string_view text) override;
  int GetMaxChar() const { return m_iMaxChar; }
  void SetMaxChar(int max);
  bool IsReadOnly() const { return m_bReadOnly; }
  void SetReadOnly(bool on);
  bool IsNumberOnly() const { return m_bNumberOnly; }
  void SetNumberOnly(bool on) { m_bNumberOnly = on; }
  bool IsPasswordMode() const { return m_bPasswordMode; }
  void SetPasswordMode(bool on);

  // Caret and selection in characters (code points).
  int GetCaretPos() const { return m_iCaret; }
  void SetSel(int start, int end);
  void SetSelAll() { SetSel(0, -1); }
  std::pair<int, int> GetSel() const;
  std::string GetSelText() const;
  // Replaces the selection as typing would (limits apply), sending "textchanged" when asked.
  void ReplaceSel(std::string_view text, bool notify = false);

  void DoEvent(TEventUI& event) override;
  void SetAttribute(std::string_view name, std::string_view value) override;
  void PaintStatusImage(QPainter& painter) override;
  void PaintText(QPainter& painter) override;

 private:
  int Length() const;
  bool Accepts(char32_t ch) const;
  void MoveCaret(int pos, bool extend);
  bool DeleteSelection();
  void Changed();
  int CaretFromPoint(UIPoint pt) const;

  std::u32string m_chars;
  int m_iCaret = 0;
  int m_iAnchor = 0;
  int m_iMaxChar = 255;
  bool m_bReadOnly = false;
  bool m_bNumberOnly = false;
  bool m_bPasswordMode = false;
  char32_t m_cPasswordChar = U'*';
  UIColor m_dwSelectionColor = 0xFF99C9EF;
  UIColor m_dwCaretColor = 0xFF000000;
  std::string m_sNormalImage;
  std::string m_sHotImage;
  std::string m_sFocusedImage;
  std::string m_sDisabledImage;
  bool m_bHot = false;
  bool m_bSelecting = false;
};
