#include "platform/qt/FileDialogs.h"

#include <deque>
#include <mutex>
#include <sstream>

#include <QApplication>
#include <QFileDialog>

#include "platform/DebugOutput.h"

namespace koru {
namespace {

struct Script {
  std::mutex lock;
  std::deque<std::optional<std::string>> answers;
};

Script& TheScript() {
  static Script script;
  return script;
}

// nullopt when no answer is scripted; otherwise the scripted answer.
std::optional<std::optional<std::string>> NextScriptedAnswer() {
  Script& script = TheScript();
  std::lock_guard guard(script.lock);
  if (script.answers.empty()) return std::nullopt;
  std::optional<std::string> answer = std::move(script.answers.front());
  script.answers.pop_front();
  return answer;
}

std::string TrimmedDescription(const std::string& description) {
  // A description that already ends in "(*.x)" would show it twice.
  std::string text = description;
  if (!text.empty() && text.back() == ')') {
    const std::size_t open = text.rfind('(');
    if (open != std::string::npos) text.erase(open);
  }
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

enum class DialogKind { Open, Save };

std::optional<std::string> RunDialog(DialogKind kind, const FileDialogRequest& request) {
  if (std::optional<std::optional<std::string>> scripted = NextScriptedAnswer()) {
    if (*scripted && kind == DialogKind::Save) return WithDefaultExtension(**scripted, request.defaultExtension);
    return *scripted;
  }
  // Nobody could answer a modal dialog without a screen: cancel instead of waiting forever.
  const QString platform = QGuiApplication::platformName();
  if (!qobject_cast<QApplication*>(QCoreApplication::instance()) || platform == QLatin1String("offscreen") ||
      platform == QLatin1String("minimal")) {
    if (DebugOutputEnabled()) DebugOutput("file dialog without a screen and without a scripted answer: cancelled");
    return std::nullopt;
  }
  QFileDialog dialog(request.owner, QString::fromStdString(request.title), QString(),
                     QString::fromStdString(QtFileFilter(request.filters)));
  if (kind == DialogKind::Open) {
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
  } else {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
  }
  if (!request.initialName.empty()) dialog.selectFile(QString::fromStdString(request.initialName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().constFirst().toStdString();
}

}  // namespace

std::string QtFileFilter(const std::vector<FileFilter>& filters) {
  std::string text;
  for (const FileFilter& filter : filters) {
    std::string patterns;
    std::istringstream parts(filter.patterns);
    std::string pattern;
    while (std::getline(parts, pattern, ';')) {
      if (pattern.empty()) continue;
      if (!patterns.empty()) patterns.push_back(' ');
      patterns.append(pattern);
    }
    if (patterns.empty()) patterns.push_back('*');
    if (!text.empty()) text.append(";;");
    const std::string description = TrimmedDescription(filter.description);
    if (!description.empty()) text.append(description).append(" ");
    text.append("(").append(patterns).append(")");
  }
  return text;
}

std::string WithDefaultExtension(const std::string& path, const std::string& extension) {
  if (extension.empty() || path.empty() || path.back() == '/') return path;
  const std::size_t slash = path.rfind('/');
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  if (name.find('.', 1) != std::string::npos) return path;
  return path + "." + extension;
}

std::optional<std::string> OpenFileDialog(const FileDialogRequest& request) {
  return RunDialog(DialogKind::Open, request);
}

std::optional<std::string> SaveFileDialog(const FileDialogRequest& request) {
  return RunDialog(DialogKind::Save, request);
}

void ScriptFileDialogAnswers(std::vector<std::optional<std::string>> answers) {
  Script& script = TheScript();
  std::lock_guard guard(script.lock);
  for (auto& answer : answers) script.answers.push_back(std::move(answer));
}

void ClearFileDialogScript() {
  Script& script = TheScript();
  std::lock_guard guard(script.lock);
  script.answers.clear();
}

}  // namespace koru
