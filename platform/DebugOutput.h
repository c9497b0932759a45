#pragma once
// The program's one diagnostic sink, in place of the debugger output: silent by
// default, switched on by KORU_DEBUG=1 (or SetDebugOutputEnabled). Callers test
// DebugOutputEnabled() before formatting anything costly.
#include <atomic>
#include <functional>
#include <string_view>

namespace koru {

bool DebugOutputEnabled();
void SetDebugOutputEnabled(bool on);
// Writes one line (a newline is added). Thread-safe.
void DebugOutput(std::string_view line);
// Tests and tools may capture the lines instead of stderr; an empty function restores stderr.
void SetDebugOutputSink(std::function<void(std::string_view)> sink);

}  // namespace koru
