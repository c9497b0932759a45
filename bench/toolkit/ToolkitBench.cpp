// Cost of building a large window from markup and of repainting it, whole and
// in part, at the main window's size of 1000 x 640.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "toolkit/controls/CButtonUI.h"
#include "toolkit/core/CContainerUI.h"
#include "toolkit/core/CPaintManagerUI.h"
#include "toolkit/core/CResourceManager.h"
#include "toolkit/headless/HeadlessWindow.h"
#include "toolkit/markup/CDialogBuilder.h"

namespace {

// A page-like window: a caption row, a tab strip, a device picture of 104 key
// buttons with images, and a side panel of sliders, options, edits and labels.
std::string PageMarkup() {
  std::string m = R"(<Window size="1000,640"><Font id="0" name="DejaVu Sans" size="12" default="true"/>
    <VerticalLayout name="root" bkcolor="#FF20242C">
      <HorizontalLayout height="40" bkcolor="#FF303540" childpadding="6" inset="8,6,8,6">)";
  for (int i = 0; i < 8; ++i) {
    m += R"(<Option name="tab_)" + std::to_string(i) + R"(" group="tabs" width="90" text="Tab" textcolor="#FFFFFFFF" selectedbkcolor="#FF4080C0"/>)";
  }
  m += R"(</HorizontalLayout><HorizontalLayout>
        <VerticalLayout name="picture" width="640" inset="10,10,10,10" bkcolor="#FF181B20">)";
  int key = 0;
  for (int row = 0; row < 8; ++row) {
    m += R"(<HorizontalLayout height="44" childpadding="4">)";
    for (int col = 0; col < 13; ++col, ++key) {
      m += R"(<Button name="key_)" + std::to_string(key) +
           R"(" width="42" normalimage="file='images/frame.png' corner='4,4,4,4'" hotimage="file='images/states.png' source='0,0,20,20'" text="K" textcolor="#FFE0E0E0" bkcolor="#FF2A3038"/>)";
    }
    m += "</HorizontalLayout>";
  }
  m += R"(</VerticalLayout><VerticalLayout name="side" inset="10,10,10,10" childpadding="4" bkcolor="#FF262A32">)";
  for (int i = 0; i < 40; ++i) {
    std::string n = std::to_string(i);
    m += R"(<HorizontalLayout height="20" childpadding="4">
        <Label name="label_)" + n + R"(" text="Setting )" + n + R"(" width="90" textcolor="#FFC0C0C0" endellipsis="true"/>
        <Slider name="slider_)" + n + R"(" min="0" max="100" value="40" bkcolor="#FF404850" forecolor="#FF50A0E0" thumbsize="8,16" thumbcolor="#FFFFFFFF"/>
        <Edit name="edit_)" + n + R"(" width="50" text="40" bkcolor="#FFFFFFFF"/>
        <Option name="check_)" + n + R"(" width="20" bkcolor="#FF505860" selectedbkcolor="#FF50A0E0"/>
      </HorizontalLayout>)";
  }
  m += "</VerticalLayout></HorizontalLayout></VerticalLayout></Window>";
  return m;
}

// A key button that draws its light layer, as the device pictures do.
class LitKeyUI : public CButtonUI {
 public:
  void SetLight(std::uint32_t colour) {
    m_colour = colour;
    Invalidate();
  }
  void PaintStatusImage(QPainter& painter) override {
    CButtonUI::PaintStatusImage(painter);
    DrawImage(painter, "images/zone.png", m_colour, 200, true);
  }

 private:
  std::uint32_t m_colour = 0xFFFFFF;
};

class LitKeys : public IDialogBuilderCallback {
 public:
  CControlUI* CreateControl(std::string_view className) override {
    return className == "Button" ? new LitKeyUI : nullptr;
  }
};

void Prepare() {
  koru::EnsureGuiApplication();
  CPaintManagerUI::SetResourcePath(KORU_TOOLKIT_TEST_DATA);
  CResourceManager::GetInstance().LoadResource(KORU_TOOLKIT_TEST_DATA);
}

int CountControls(CControlUI* root) {
  int n = 0;
  root->FindControl([&n](CControlUI*) -> CControlUI* { ++n; return nullptr; }, UIFIND_ALL);
  return n;
}

void BM_BuildMarkupTree(benchmark::State& state) {
  Prepare();
  std::string markup = PageMarkup();
  int controls = 0;
  for (auto _ : state) {
    CPaintManagerUI manager;
    koru::HeadlessHost host;
    manager.Init(&host);
    CDialogBuilder builder;
    CControlUI* root = builder.Create(markup, nullptr, &manager);
    manager.AttachDialog(root);
    manager.SetClientSize({1000, 640});
    manager.Pump();  // layout and first paint, as a window shows it
    controls = CountControls(root);
  }
  state.counters["controls"] = controls;
}
BENCHMARK(BM_BuildMarkupTree)->Unit(benchmark::kMillisecond);

void BM_FullRepaint(benchmark::State& state) {
  Prepare();
  koru::HeadlessWindow window;
  window.Load(PageMarkup());
  for (auto _ : state) {
    window.Manager().Invalidate();
    window.Manager().Paint();
  }
}
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMillisecond);

void BM_RepaintOneControl(benchmark::State& state) {
  Prepare();
  koru::HeadlessWindow window;
  window.Load(PageMarkup());
  CControlUI* key = window.Find("key_40");
  UIColor colours[2] = {0xFF2A3038, 0xFF603038};
  int i = 0;
  for (auto _ : state) {
    key->SetBkColor(colours[++i & 1]);
    window.Manager().Paint();
  }
}
BENCHMARK(BM_RepaintOneControl)->Unit(benchmark::kMicrosecond);

// One tick of a preview animation: every key of the picture changes its light.
void BM_PreviewFrameAllKeys(benchmark::State& state) {
  Prepare();
  koru::HeadlessWindow window;
  LitKeys callback;
  window.Load(PageMarkup(), &callback);
  std::vector<LitKeyUI*> keys;
  for (int k = 0; k < 104; ++k) keys.push_back(window.Find<LitKeyUI>("key_" + std::to_string(k)));
  std::uint32_t frame = 0;
  for (auto _ : state) {
    ++frame;
    for (size_t k = 0; k < keys.size(); ++k) keys[k]->SetLight((frame * 7 + static_cast<std::uint32_t>(k) * 13) % 256);
    window.Manager().Paint();
  }
}
BENCHMARK(BM_PreviewFrameAllKeys)->Unit(benchmark::kMillisecond);

}  // namespace
