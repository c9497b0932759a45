#pragma once
// The program from start to end: private fonts, one instance per session, the
// toolkit with the skin, the custom controls, the registered messages, the
// simulated devices when asked for, the main window and its message loop, and
// the undoing of it all in reverse order.
#include <string>
#include <vector>

namespace koru {

struct ApplicationOptions {
  std::vector<std::string> arguments;  // without the program name
};

// Needs a QApplication and the window backend already set. Answers the
// process's exit status: 0 also for a second start, which only asks the
// running instance to show itself.
int RunApplication(const ApplicationOptions& options);

// Registers the program's own control classes with the toolkit's factory.
void RegisterCustomControls();

}  // namespace koru
