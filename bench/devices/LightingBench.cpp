// The cost of the page's lighting work: one tick of the light thread, and one
// refresh of a picture with 170 light buttons.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "devices/CKestroKeyboardDevice.h"
#include "controls/CDeviceKeyButtonUI.h"
#include "toolkit/layout/CVerticalLayoutUI.h"

namespace {

constexpr int kLights = 170;

// A keyboard page whose picture has a light button for each of its 170 lights.
void BuildKeyboard(CKestroKeyboardDevice& page) {
  page.SetPageXml("keyboard.xml");
  page.SetKeyCount(kLights);
  page.SetLightCount(kLights);
  auto* picture = new CVerticalLayoutUI;
  picture->SetName("keyboard_device_key_light");
  page.Add(picture);
  for (int i = 0; i < kLights; ++i) {
    auto* button = new CDeviceKeyButtonUI;
    button->SetName("light_" + std::to_string(i));
    picture->Add(button);
  }
  page.InitDevicePage();
}

LightInfoData Effect(uint8_t effect) {
  return {.selectItem = effect, .light = 3, .speed = 4, .fx = 1, .multiColor = 1, .red = 200, .green = 100};
}

// Effect 5 (breathing) and 4 (spectrum) step on every tick at speed 4; 40 has
// no step of its own and plays a custom flow effect.
void BM_LightTick(benchmark::State& state) {
  CKestroKeyboardDevice page;
  page.SetLightCount(kLights);
  page.SetLightInfo(Effect(static_cast<uint8_t>(state.range(0))));
  page.ReplaceCustomEffect({{Effect(4), 1000000, 0}});
  if (state.range(1) != 0) {
    std::vector<LightInfoData> records(kLights, LightInfoData{.selectItem = 0, .speed = 2, .multiColor = 1, .valid = 1});
    for (int i = 0; i < kLights; i += 3) records[i].selectItem = 2;
    page.ReplaceLightList(records);
  }
  for (auto _ : state) {
    page.AnimateOneTick();
    benchmark::DoNotOptimize(page.GetLightColor(kLights - 1));
  }
}
BENCHMARK(BM_LightTick)->ArgNames({"effect", "records"})->Args({5, 0})->Args({4, 0})->Args({40, 0})->Args({5, 1});

void BM_RefreshLightFrame(benchmark::State& state) {
  CKestroKeyboardDevice page;
  BuildKeyboard(page);
  page.SetLightInfo(Effect(4));
  page.AnimateOneTick();
  for (auto _ : state) page.RefreshLightFrame();
}
BENCHMARK(BM_RefreshLightFrame);

}  // namespace
