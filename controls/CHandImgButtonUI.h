#pragma once
// A button with an extra picture layer ("handimage") drawn over its status
// image, which tells its listeners when the mouse enters ("msenter") and
// leaves ("msleave"). The delete icon's images are accepted and kept but never
// drawn or hit-tested.
#include <string>

#include "toolkit/controls/CButtonUI.h"

inline constexpr const char* kHandImgButtonClass = "HandImgButton";

class CHandImgButtonUI : public CButtonUI {
 public:
  std::string GetClass() const override;

  const std::string& GetHandImage() const { return m_handImage; }
  void SetHandImage(std::string_view image);
  const std::string& GetDeleteNormalImage() const { return m_deleteNormalImage; }
  const std::string& GetDeleteHotImage() const { return m_deleteHotImage; }

  void DoEvent(TEventUI& event) override;
  void SetAttribute(std::string_view name, std::string_view value) override;
  void PaintStatusImage(QPainter& painter) override;

 private:
  std::string m_handImage;
  std::string m_deleteNormalImage;
  std::string m_deleteHotImage;
};

// Enter and leave of the hand-image buttons: hot state, notification, repaint.
// True when the event was one of the two.
bool HandleHoverNotify(CButtonUI& button, unsigned& buttonState, TEventUI& event);
