#pragma once
// The about box: the program's name and version, modal over the main window.
#include <string>

#include "toolkit/window/WindowImplBase.h"

class CAboutWnd : public WindowImplBase {
 public:
  // Creates the box centred on its owner; it deletes itself when closed.
  static CAboutWnd* Create(HWND owner);
  // The version text the box shows: the application's row of the firmware list.
  static std::string VersionText();

  void Notify(TNotifyUI& msg) override;

 protected:
  std::string GetWindowClassName() const override { return "AboutWnd"; }
  std::string GetSkinFile() override { return "XML_ABOUT"; }
  void InitWindow() override;
  void OnFinalMessage(HWND hWnd) override;

 private:
  CAboutWnd() = default;
};
