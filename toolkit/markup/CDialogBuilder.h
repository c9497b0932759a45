#pragma once
// Builds a control tree from markup.
//
// The source is markup text (starting with '<'), a res.xml identifier, or a
// path relative to the skin folder (either separator). A <Window> root carries
// window attributes and the <Font>, <Default>, <Style> and <Include> elements;
// its first control element is the tree's root. Every other element is a
// control: the callback is asked first, then the control factory. Unknown tags
// are skipped with their subtree; unknown attributes are ignored.
#include <string>
#include <string_view>

class CControlUI;
class CPaintManagerUI;

namespace pugi {
class xml_node;
}

class IDialogBuilderCallback {
 public:
  virtual ~IDialogBuilderCallback() = default;
  // A control for the tag, or null to let the toolkit decide.
  virtual CControlUI* CreateControl(std::string_view className) = 0;
};

class CDialogBuilder {
 public:
  // Returns the root control (not yet attached when `parent` is null), or null
  // when the markup cannot be read. With `parent`, the built controls are added to it.
  CControlUI* Create(std::string_view source, IDialogBuilderCallback* callback = nullptr,
                     CPaintManagerUI* manager = nullptr, CControlUI* parent = nullptr);
  // Why the last Create failed (file, parse position).
  const std::string& GetLastError() const { return m_sError; }

 private:
  CControlUI* Parse(const pugi::xml_node& root, CControlUI* parent, CPaintManagerUI* manager);
  CControlUI* BuildChildren(const pugi::xml_node& node, CControlUI* parent, CPaintManagerUI* manager);
  void ApplyWindow(const pugi::xml_node& window, CPaintManagerUI* manager);

  IDialogBuilderCallback* m_pCallback = nullptr;
  std::string m_sError;
  int m_depth = 0;
};
