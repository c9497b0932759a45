#pragma once
// A scroll bar owned by a container (or standing alone): a track and a thumb
// that can be dragged; clicks on the track page, the wheel steps by lines.
#include "toolkit/core/CControlUI.h"

class CContainerUI;

inline constexpr const char* DUI_CTR_SCROLLBAR = "ScrollBar";

class CScrollBarUI : public CControlUI {
 public:
  CScrollBarUI();
  std::string GetClass() const override;
  void* GetInterface(std::string_view name) override;

  CContainerUI* GetOwner() const { return m_pOwner; }
  void SetOwner(CContainerUI* owner) { m_pOwner = owner; }
  bool IsHorizontal() const { return m_bHorizontal; }
  void SetHorizontal(bool horizontal = true);
  int GetScrollRange() const { return m_nRange; }
  void SetScrollRange(int range);
  int GetScrollPos() const { return m_nScrollPos; }
  void SetScrollPos(int pos);
  int GetLineSize() const { return m_nLineSize; }
  void SetLineSize(int size) { m_nLineSize = size > 0 ? size : 8; }
  UIRect GetThumbRect() const { return m_rcThumb; }

  UIColor GetTrackColor() const { return m_dwTrackColor; }
  UIColor GetThumbColor() const { return m_dwThumbColor; }

  void SetPos(const UIRect& rc, bool needInvalidate = true) override;
  void DoEvent(TEventUI& event) override;
  void SetAttribute(std::string_view name, std::string_view value) override;
  void DoPaint(QPainter& painter, const UIRect& paint) override;

 private:
  void UpdateThumb();
  void ScrollTo(int pos);

  CContainerUI* m_pOwner = nullptr;
  bool m_bHorizontal = false;
  int m_nRange = 100;
  int m_nScrollPos = 0;
  int m_nLineSize = 8;
  bool m_bDragging = false;
  int m_nDragOffset = 0;
  UIRect m_rcThumb;
  UIColor m_dwTrackColor = 0x20000000;
  UIColor m_dwThumbColor = 0x80000000;
  std::string m_sThumbImage;
};
