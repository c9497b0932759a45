// Cost of the device pictures on the user-interface thread: one preview tick
// of the keyboard page (every light changes and the picture is repainted), as
// the tab item's 50 ms refresh causes it, in the main window at 96 and 144 DPI.
#include <benchmark/benchmark.h>

#include <QColor>
#include <vector>

#include "controls/CDeviceKeyButtonUI.h"
#include "controls/RegisterControls.h"
#include "toolkit/core/CPaintManagerUI.h"
#include "toolkit/core/CResourceManager.h"
#include "toolkit/headless/HeadlessWindow.h"
#include "toolkit/layout/CHorizontalLayoutUI.h"
#include "toolkit/layout/CTabLayoutUI.h"
#include "toolkit/markup/CDialogBuilder.h"

namespace {

class PageTags : public IDialogBuilderCallback {
 public:
  CControlUI* CreateControl(std::string_view tag) override {
    return tag.starts_with("Kestro") ? new CHorizontalLayoutUI : nullptr;
  }
};

struct KeyboardWindow {
  koru::HeadlessWindow window;
  PageTags tags;
  CControlUI* picture = nullptr;
  std::vector<CDeviceKeyButtonUI*> lights;

  explicit KeyboardWindow(int dpi) {
    koru::EnsureGuiApplication();
    CPaintManagerUI::SetResourcePath(KORU_SKIN_DIR);
    CResourceManager::GetInstance().LoadResource(KORU_SKIN_DIR);
    RegisterDeviceControls();
    window.Load("XML_MAIN", &tags);
    CDialogBuilder builder;
    auto* page = builder.Create("XML/DeviceXml/keyboarddevice.xml", &tags, &window.Manager());
    auto* pages = window.Find<CTabLayoutUI>("device_switch");
    pages->Add(page);
    pages->SelectItem(page, false);
    window.Find("No_device_Link")->SetVisible(false);
    window.Manager().SetDPI(dpi);
    window.Pump();
    picture = window.Find("keyboard_device_key_light");
    for (CControlUI* c : CPaintManagerUI::FindSubControlsByClass(picture, kDeviceKeyButtonClass)) {
      lights.push_back(static_cast<CDeviceKeyButtonUI*>(c));
    }
    window.Snapshot();
  }
};

void BM_KeyboardPreviewTick(benchmark::State& state) {
  KeyboardWindow kb(static_cast<int>(state.range(0)));
  int phase = 0;
  for (auto _ : state) {
    // The spectrum effect: every light takes the next wheel colour.
    phase = (phase + 1) % 192;
    for (size_t i = 0; i < kb.lights.size(); ++i) {
      QColor c = QColor::fromHsv(static_cast<int>((phase * 2 + i * 3) % 360), 230, 255);
      kb.lights[i]->SetLightState(CDeviceKeyButtonUI::PackLightColour(c.red(), c.green(), c.blue()), 255, true);
    }
    kb.picture->Invalidate();
    benchmark::DoNotOptimize(kb.window.Manager().Paint());
  }
  state.counters["lights"] = static_cast<double>(kb.lights.size());
}
BENCHMARK(BM_KeyboardPreviewTick)->Arg(96)->Arg(144)->Unit(benchmark::kMillisecond);

// As the pages animate: 192 wheel colours, 7 apart from column to column,
// moving on one position per tick, so every colour comes back.
void BM_KeyboardWheelTick(benchmark::State& state) {
  KeyboardWindow kb(static_cast<int>(state.range(0)));
  int phase = 0;
  for (auto _ : state) {
    phase = (phase + 1) % 192;
    for (size_t i = 0; i < kb.lights.size(); ++i) {
      QColor c = QColor::fromHsv(static_cast<int>((phase + (i % 23) * 7) % 192 * 360 / 192), 255, 255);
      kb.lights[i]->SetLightState(CDeviceKeyButtonUI::PackLightColour(c.red(), c.green(), c.blue()), 255, true);
    }
    kb.picture->Invalidate();
    benchmark::DoNotOptimize(kb.window.Manager().Paint());
  }
}
BENCHMARK(BM_KeyboardWheelTick)->Arg(96)->Arg(144)->Unit(benchmark::kMillisecond);

// The same repaint with every light off: what the picture costs without its light layer.
void BM_KeyboardPictureUnlit(benchmark::State& state) {
  KeyboardWindow kb(static_cast<int>(state.range(0)));
  for (CDeviceKeyButtonUI* light : kb.lights) light->SetLightState(0, 0, false);
  for (auto _ : state) {
    kb.picture->Invalidate();
    benchmark::DoNotOptimize(kb.window.Manager().Paint());
  }
}
BENCHMARK(BM_KeyboardPictureUnlit)->Arg(96)->Arg(144)->Unit(benchmark::kMillisecond);

}  // namespace
