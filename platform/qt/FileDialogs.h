#pragma once
// Open and save dialogs for the import and export flows. With a QApplication
// they are Qt's modal file dialogs; a queue of scripted answers, when it holds
// any, is used instead (tests and the headless host), and without a
// QApplication the dialogs answer "cancelled".
#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace koru {

struct FileFilter {
  std::string description;  // "Profile Files(*.json)"
  std::string patterns;     // "*.json;" (';'-separated)
};

struct FileDialogRequest {
  std::vector<FileFilter> filters;
  std::string initialName;       // file name or path shown at first
  std::string defaultExtension;  // appended to a saved name without one ("json"); empty: none
  std::string title;
  QWidget* owner = nullptr;
};

// The chosen path; nullopt when cancelled.
std::optional<std::string> OpenFileDialog(const FileDialogRequest& request);
std::optional<std::string> SaveFileDialog(const FileDialogRequest& request);

// Answers for the next dialogs, in order (nullopt = cancel). Thread-safe.
void ScriptFileDialogAnswers(std::vector<std::optional<std::string>> answers);
void ClearFileDialogScript();

// The Qt filter text: "Profile Files (*.json)" per filter, ";;" between them.
std::string QtFileFilter(const std::vector<FileFilter>& filters);
// Appends ".ext" to a path whose file name has no extension.
std::string WithDefaultExtension(const std::string& path, const std::string& extension);

}  // namespace koru
