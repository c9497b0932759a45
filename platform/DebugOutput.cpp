#include "platform/DebugOutput.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

namespace koru {
namespace {

bool EnabledFromEnvironment() {
    const char* v = std::getenv("KORU_DEBUG");
    return v != nullptr && *v != '\0' && std::strcmp(v, "0") != 0;
}

std::atomic<bool>& Enabled() {
    static std::atomic<bool> enabled{EnabledFromEnvironment()};
    return enabled;
}

std::mutex& SinkMutex() {
    static std::mutex m;
    return m;
}

std::function<void(std::string_view)>& Sink() {
    static std::function<void(std::string_view)> sink;
    return sink;
}

}  // namespace

bool DebugOutputEnabled() { return Enabled().load(std::memory_order_relaxed); }

void SetDebugOutputEnabled(bool on) { Enabled().store(on, std::memory_order_relaxed); }

void DebugOutput(std::string_view line) {
    if (!DebugOutputEnabled()) return;
    std::lock_guard lock(SinkMutex());
    if (Sink()) {
        Sink()(line);
        return;
    }
    std::string text(line);
    text.push_back('\n');
    std::fwrite(text.data(), 1, text.size(), stderr);
}

void SetDebugOutputSink(std::function<void(std::string_view)> sink) {
    std::lock_guard lock(SinkMutex());
    Sink() = std::move(sink);
}

}  // namespace koru
