#pragma once
// Creates controls by markup tag. Custom classes registered by the program come
// first; the toolkit's own classes are the fallback. Tags ignore case.
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

class CControlUI;

using CreateClass = std::function<CControlUI*()>;

class CControlFactory {
 public:
  static CControlFactory* GetInstance();

  // Registers (or replaces) a custom class.
  void RegistControl(std::string_view className, CreateClass creator);
  // A new control for the tag, or null when no class has that name.
  CControlUI* CreateControl(std::string_view className) const;
  // Only the toolkit's own classes.
  static CControlUI* CreateBuiltinControl(std::string_view className);

 private:
  CControlFactory() = default;
  std::unordered_map<std::string, CreateClass> m_custom;
};

#define DUI_REGISTER_CONTROL(tag, cls) CControlFactory::GetInstance()->RegistControl(tag, [] { return new cls; })
