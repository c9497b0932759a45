#pragma once
// A button that shows a window onto a larger picture ("handimage"); dragging
// with the left button pans the window across the picture. The window never
// leaves the picture: it stops at every edge with its size unchanged.
#include <string>

#include "toolkit/controls/CButtonUI.h"

inline constexpr const char* kHandImgSelectButtonClass = "HandImgSelectButton";

class CHandImgSelectButtonUI : public CButtonUI {
 public:
  std::string GetClass() const override;

  // Takes the picture of that name and shows its top-left part at the
  // control's size (the whole picture when it fits). A name that loads no
  // picture leaves what is shown unchanged.
  void SetHandImage(std::string_view image);
  const std::string& GetHandImage() const { return m_handImage; }
  // The image string drawn over the status image.
  const std::string& GetComposedImage() const { return m_composedImage; }
  // The part of the picture shown (x0, y0, x1, y1 in picture pixels).
  const UIRect& GetSourceWindow() const { return m_sourceWindow; }
  UISize GetPictureSize() const { return {m_pictureWidth, m_pictureHeight}; }
  bool IsDragging() const { return m_dragging; }

  void SetPos(const UIRect& rc, bool needInvalidate = true) override;
  void DoEvent(TEventUI& event) override;
  void SetAttribute(std::string_view name, std::string_view value) override;
  void PaintStatusImage(QPainter& painter) override;

 private:
  // Moves one axis of the window by the cursor's step, inside 0..extent.
  static void PanAxis(int delta, int extent, int& low, int& high);
  void ComposeWindow();
  UISize ViewSize() const;

  std::string m_handImage;
  std::string m_composedImage;
  UIRect m_sourceWindow;
  int m_pictureWidth = 0;
  int m_pictureHeight = 0;
  bool m_dragging = false;
  UIPoint m_lastPoint;
};

// The system cursor id of a "cursor" attribute name ("hand" 32649, ...), or 0 when unknown.
int CursorIdByName(std::string_view name);
