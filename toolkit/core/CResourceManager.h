#pragma once
// Language texts and the skin's resource index (res.xml).
//
// A language file is XML:
//   <Language name="English">
//     <Text id="keyboard_key_A">A</Text>
//     <Text id="message_text_22" value="Restore the defaults?"/>
//   </Language>
// A text is the element's "value" attribute when present, else its content.
//
// res.xml, in the skin folder, names markup files and images by identifier:
//   <Resource>
//     <Xml id="XML_MAIN" file="main.xml"/>
//     <Image id="IMG_LOGO" file="common/logo.png"/>
//   </Resource>
//
// Used from the user-interface thread.
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

// The window's text-query callback, asked for identifiers the language file lacks.
class IQueryControlText {
 public:
  virtual ~IQueryControlText() = default;
  // No value means "no text": the identifier itself is shown.
  virtual std::optional<std::string> QueryControlText(std::string_view id, std::string_view type) = 0;
};

class CResourceManager {
 public:
  static CResourceManager& GetInstance();

  // res.xml of a skin folder; false when missing or malformed (the index is then empty).
  bool LoadResource(const std::string& skinFolder);
  // Markup file for an id (or the id itself when it names no entry), relative to the skin.
  std::string GetXmlPath(std::string_view id) const;
  std::string GetImagePath(std::string_view id) const;

  void SetLanguage(std::string_view name) { m_sLanguage = name; }
  const std::string& GetLanguage() const { return m_sLanguage; }
  // Loads a language file (absolute, or relative to the skin folder) and
  // replaces the current texts; false when it cannot be read (texts unchanged).
  bool LoadLanguage(const std::string& path);
  // Translation of an id; unknown ids ask the query callback, then answer the id.
  std::string GetText(std::string_view id, std::string_view type = {}) const;
  bool HasText(std::string_view id) const;
  void SetTextQueryInterface(IQueryControlText* query) { m_pQuery = query; }
  // Re-resolves every resource-text control of every window.
  void ReloadText();
  void ResetTexts();

 private:
  CResourceManager() = default;
  std::unordered_map<std::string, std::string> m_texts;
  std::unordered_map<std::string, std::string> m_xmlIndex;
  std::unordered_map<std::string, std::string> m_imageIndex;
  std::string m_sLanguage;
  IQueryControlText* m_pQuery = nullptr;
};
