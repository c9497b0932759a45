#include "app/SyncLightingThread.h"

#include <algorithm>

#include "app/DevicePageLists.h"
#include "app/IDevicePage.h"
#include "platform/DebugOutput.h"

namespace {

std::uint64_t SteadyMs() {
  using namespace std::chrono;
  return std::uint64_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

}  // namespace

CSyncLightingThread::CSyncLightingThread(const CDevicePageLists& pages, CSyncLightingSettingsStore& settings,
                                         Clock clock)
    : pages_(pages), settings_(settings), clock_(clock ? std::move(clock) : Clock(SteadyMs)) {}

std::vector<IDevicePage*> CSyncLightingThread::Members() const {
  std::vector<IDevicePage*> members = pages_.All();
  std::erase_if(members, [](IDevicePage* page) { return !page->IsChannelOpen() || !page->IsSyncLighting(); });
  return members;
}

void CSyncLightingThread::Run(koru::StopEvent& stop) {
  // A new member or new settings are shown at once, not at the next step.
  std::vector<IDevicePage*> lastMembers;
  SyncLightingSettings lastSettings;
  std::uint64_t due = 0;
  while (!stop.IsSignalled()) {
    const std::vector<IDevicePage*> members = Members();
    if (members.empty()) {
      lastMembers.clear();
      if (stop.WaitFor(kIdleWait)) break;
      continue;
    }
    const SyncLightingSettings settings = settings_.Get();
    std::uint64_t now = clock_();
    if (members != lastMembers || settings != lastSettings || now >= due) {
      const std::uint32_t colour = engine_.Step(settings, now);
      for (IDevicePage* page : members) page->SetSyncColour(colour);
      steps_.fetch_add(1, std::memory_order_relaxed);
      due = engine_.NextStepDue(settings, now);
      lastMembers = members;
      lastSettings = settings;
    }
    now = clock_();
    const auto wait = std::chrono::milliseconds(due > now ? due - now : 0);
    if (stop.WaitFor(std::min(wait, kIdleWait))) break;
  }
  koru::DebugOutput("同步灯光线程设定退出");
}
