// A light thread may set key lights while the picture paints.
#include <atomic>
#include <thread>

#include "controls/CDeviceKeyButtonUI.h"
#include "tests/controls/ControlsTestSupport.h"

namespace koru::test {
namespace {

using LightStateThreadTest = ControlsTest;

TEST_F(LightStateThreadTest, PaintSeesWholeStatesWhileAnotherThreadSetsThem) {
  auto window = Build(R"(<Window size="100,60"><VerticalLayout bkcolor="#FF000000">
    <DeviceKeyButton name="key_0" float="true" pos="10,10,50,50" lightimage="file='device/common/zone_light.svg'"/>
  </VerticalLayout></Window>)");
  auto* key = window->Find<CDeviceKeyButtonUI>("key_0");
  ASSERT_TRUE(key);
  std::atomic<bool> stop{false};
  // Two states only: pure red at full level, or pure blue at level 1. A torn
  // read would show red at level 1 or blue at full level.
  std::thread lights([&] {
    for (unsigned n = 0; !stop.load(); ++n) {
      if (n % 2) key->SetLightState(CDeviceKeyButtonUI::PackLightColour(255, 0, 0), 255, true);
      else key->SetLightState(CDeviceKeyButtonUI::PackLightColour(0, 0, 255), 1, true);
    }
  });
  for (int i = 0; i < 200; ++i) {
    key->Invalidate();
    window->Pump();
    QColor shown = PixelAt(*window, {30, 30});
    EXPECT_FALSE(shown.blue() > 100) << "blue is only ever shown at level 1";
  }
  stop = true;
  lights.join();
}

}  // namespace
}  // namespace koru::test
