#pragma once
// The simulator control on the bus: only while the program runs with simulated
// devices does it accept the message "KORU7315_Simulator" (its command text as
// data), which plugs and unplugs them as if by hand (koructl sim ...). Without
// simulation the name is refused like any unknown message.
#include <cstdint>

#include "platform/qt/BusMessage.h"
#include "platform/qt/MessagePolicy.h"
#include "sim/SimulatorControl.h"

namespace koru {

// The program's policy plus the simulator message.
MessagePolicy SimulatingProgramPolicy();

// Takes the simulator message on the Qt event loop's thread and hands every
// other message on to the main window.
class SimulatorMessageSink : public IExternalMessageSink {
 public:
  SimulatorMessageSink(IExternalMessageSink& next, sim::Simulation& simulation)
      : next_(next), control_(simulation) {}
  std::int64_t OnExternalMessage(const ExternalMessage& message) override;

 private:
  IExternalMessageSink& next_;
  sim::SimulatorControl control_;
};

}  // namespace koru
