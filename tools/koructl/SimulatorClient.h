#pragma once
// koructl sim: plugs and unplugs the simulated devices of the running program
// over the session bus (the "KORU7315_Simulator" message, docs/ipc.md).
#include <iosfwd>
#include <string>
#include <vector>

namespace koru::tool {

// `words` is the command after "sim" ("mouse cable plug", "list"). Prints the
// devices' state after the command and returns the process exit code.
int RunSimulatorCommand(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);

}  // namespace koru::tool
