#pragma once
// A plain button that keeps a "redioimage" for the macro editor's radio look;
// the image is stored, not drawn.
#include <string>

#include "toolkit/controls/CButtonUI.h"

inline constexpr const char* kRedioMacroButtonClass = "RedioMacroButton";

class CRedioMacroButtonUI : public CButtonUI {
 public:
  std::string GetClass() const override;
  const std::string& GetRedioImage() const { return m_redioImage; }
  void SetAttribute(std::string_view name, std::string_view value) override;

 private:
  std::string m_redioImage;
};
