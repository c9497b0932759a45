// Drawing: a sample window against a checked-in picture, image strings, the
// light layer and scaling.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cstdlib>

#include "tests/toolkit/ToolkitTestSupport.h"
#include "toolkit/core/CRenderEngine.h"
#include "toolkit/headless/HeadlessWindow.h"

namespace {

using koru::HeadlessWindow;

class RenderTest : public koru::test::ToolkitTest {};

QRgb Pixel(const QImage& image, int x, int y) { return image.pixel(x, y); }

// Share of pixels whose channels differ by more than `threshold`.
double DifferingShare(const QImage& a, const QImage& b, int threshold) {
  QImage x = a.convertToFormat(QImage::Format_ARGB32);
  QImage y = b.convertToFormat(QImage::Format_ARGB32);
  long differing = 0;
  for (int row = 0; row < x.height(); ++row) {
    for (int col = 0; col < x.width(); ++col) {
      QRgb p = x.pixel(col, row), q = y.pixel(col, row);
      if (std::abs(qRed(p) - qRed(q)) > threshold || std::abs(qGreen(p) - qGreen(q)) > threshold ||
          std::abs(qBlue(p) - qBlue(q)) > threshold || std::abs(qAlpha(p) - qAlpha(q)) > threshold) {
        ++differing;
      }
    }
  }
  return static_cast<double>(differing) / (x.width() * x.height());
}

TEST_F(RenderTest, SampleWindowMatchesTheReferencePicture) {
  HeadlessWindow window;
  ASSERT_TRUE(window.Load("XML_SAMPLE")) << window.GetLastError();
  const QImage& shot = window.Snapshot();
  ASSERT_EQ(shot.size(), QSize(240, 160));
  std::string reference = koru::test::DataDir() + "/reference/sample_window.png";
  if (std::getenv("KORU_UPDATE_REFERENCE")) {
    ASSERT_TRUE(window.SaveSnapshot(reference));
  }
  QImage expected(QString::fromStdString(reference));
  ASSERT_FALSE(expected.isNull()) << "missing " << reference;
  ASSERT_EQ(expected.size(), shot.size());
  // Text rasterisation may move a few pixels between font versions; shapes may not.
  double share = DifferingShare(shot, expected, 40);
  if (share > 0.01) window.SaveSnapshot(testing::TempDir() + "/sample_window_actual.png");
  EXPECT_LE(share, 0.01) << "actual picture saved to " << testing::TempDir();
}

TEST_F(RenderTest, ImageStringsCutSourcesKeyMasksAndKeepCorners) {
  HeadlessWindow window;
  ASSERT_TRUE(window.Load("XML_SAMPLE"));
  const QImage& shot = window.Snapshot();
  auto at = [&](const char* name, int dx, int dy) {
    UIRect rc = window.Find(name)->GetPos();
    return Pixel(shot, rc.left + dx, rc.top + dy);
  };
  EXPECT_EQ(at("red", 10, 10), qRgb(220, 40, 40));
  EXPECT_EQ(at("green", 10, 10), qRgb(40, 200, 60));  // through the res.xml image id
  // A source past the image's right edge is cut to the image: the blue third fills the button.
  EXPECT_EQ(at("cut", 18, 10), qRgb(40, 60, 220));
  // Nine parts: the 4-pixel dark frame keeps its width, the centre stretches.
  EXPECT_EQ(at("frame", 1, 10), qRgb(30, 30, 30));
  EXPECT_EQ(at("frame", 20, 10), qRgb(240, 240, 200));
  EXPECT_EQ(at("hole", 20, 10), qRgb(0xEF, 0xF3, 0xF8));  // the window shows through the hole
  // The mask colour is transparent.
  EXPECT_EQ(at("masked", 1, 1), qRgb(0xEF, 0xF3, 0xF8));
  EXPECT_EQ(at("masked", 10, 10), qRgb(0, 0, 0));
  // Fading blends half of the image over the ground.
  QRgb faded = at("faded", 10, 10);
  EXPECT_NEAR(qRed(faded), (220 + 0xEF) / 2, 3);
  // The SVG is drawn.
  EXPECT_NE(at("badge", 10, 10), qRgb(0xEF, 0xF3, 0xF8));
}

TEST_F(RenderTest, ParserReadsEveryImageStringField) {
  TDrawInfo bare = CRenderEngine::ParseImageString("common/button.png");
  EXPECT_EQ(bare.file, "common/button.png");
  EXPECT_FALSE(bare.hasSource);
  TDrawInfo full = CRenderEngine::ParseImageString(
      "file='a b.png' source='1,2,3,4' dest='5,6,7,8' corner='1,1,2,2' fade='100' hole='true' xtiled='true' "
      "ytiled='false' mask='#FFFF00FF'");
  EXPECT_EQ(full.file, "a b.png");
  EXPECT_EQ(full.source, (UIRect{1, 2, 3, 4}));
  EXPECT_EQ(full.dest, (UIRect{5, 6, 7, 8}));
  EXPECT_EQ(full.corner, (UIRect{1, 1, 2, 2}));
  EXPECT_EQ(full.fade, 100);
  EXPECT_TRUE(full.hole && full.xtiled && !full.ytiled);
  EXPECT_EQ(full.mask, 0xFFFF00FFu);
}

TEST_F(RenderTest, LightLayerFillsTheImageShapeWithItsColourAtItsLevel) {
  HeadlessWindow window;
  ASSERT_TRUE(window.Load(R"(<Window size="40,20"><HorizontalLayout bkcolor="#FF000000">
      <Control name="zone_full" width="16" height="16"/><Control name="zone_half" width="16" height="16"/>
    </HorizontalLayout></Window>)"));
  QImage image(40, 20, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::black);
  QPainter painter(&image);
  // Red in the low byte: 0x00BBGGRR.
  window.Find("zone_full")->DrawImage(painter, "images/zone.png", 0x0000FF00u, 255, true);
  window.Find("zone_half")->DrawImage(painter, "images/zone.png", 0x000000FFu, 128, true);
  painter.end();
  EXPECT_EQ(image.pixel(8, 8), qRgb(0, 255, 0));
  EXPECT_NEAR(qRed(image.pixel(24, 8)), 128, 2);
  EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 0));  // outside the disc nothing is lit

  // Tints are kept by colour: the zones swap colours and still show their own.
  QPainter again(&image);
  window.Find("zone_full")->DrawImage(again, "images/zone.png", 0x000000FFu, 255, true);
  window.Find("zone_half")->DrawImage(again, "images/zone.png", 0x0000FF00u, 255, true);
  again.end();
  EXPECT_EQ(image.pixel(8, 8), qRgb(255, 0, 0));
  EXPECT_EQ(image.pixel(24, 8), qRgb(0, 255, 0));
}

TEST_F(RenderTest, ScalingTo144DpiEnlargesTheImageAndMapsInput) {
  HeadlessWindow window;
  ASSERT_TRUE(window.Load("XML_SAMPLE"));
  window.Manager().SetDPI(144);
  const QImage& shot = window.Snapshot();
  EXPECT_EQ(shot.size(), QSize(360, 240));
  UIRect red = window.Find("red")->GetPos();
  EXPECT_EQ(Pixel(shot, red.Center().x * 3 / 2, red.Center().y * 3 / 2), qRgb(220, 40, 40));
  // Clicks land on the same control at either scale.
  EXPECT_TRUE(window.Click("opt_b"));
  EXPECT_EQ(window.CountNotify("selectchanged", "opt_b"), 1);
}

// Large fills and images go in strips of a few dozen lines; a strip edge must never show.
TEST_F(RenderTest, ATallRepaintAt144DpiShowsNoStripEdges) {
  HeadlessWindow window;
  ASSERT_TRUE(window.Load(R"(<Window size="60,200"><VerticalLayout bkcolor="#FF102030" inset="4,4,4,4">
      <Control name="shape" bkcolor="#FF406080" bordersize="3" bordercolor="#FFE0A040" borderround="40,40"/>
    </VerticalLayout></Window>)"));
  window.Manager().SetDPI(144);
  ASSERT_GT(window.Snapshot().height(), 3 * CRenderEngine::kMaxStripLines);
  const QImage whole = window.Snapshot().copy();
  // Strips laid from another top line cut the shape elsewhere.
  for (int top : {7, 33, 101}) {
    window.Manager().Invalidate({0, top, 60, 200});
    window.Manager().Paint();
    EXPECT_EQ(DifferingShare(window.Snapshot(), whole, 0), 0.0) << "repainted from line " << top;
  }
}

TEST_F(RenderTest, PartialRepaintCoversOnlyTheChangedControl) {
  HeadlessWindow window;
  ASSERT_TRUE(window.Load("XML_SAMPLE"));
  window.Snapshot();
  CControlUI* progress = window.Find("progress");
  progress->SetBkColor(0xFF000000);
  UIRect painted = window.Manager().Paint();
  EXPECT_EQ(painted, progress->GetPos());
  EXPECT_EQ(window.Manager().Paint(), UIRect{});
}

TEST(AdjustColorTest, NeutralAdjustmentKeepsTheColourAndHueTurns) {
  EXPECT_EQ(CPaintManagerUI::GetAdjustColor(0xFF336699, 180, 100, 100), 0xFF336699u);
  UIColor turned = CPaintManagerUI::GetAdjustColor(0xFFFF0000, 300, 100, 100);  // +120 degrees
  EXPECT_EQ(turned & 0xFFFFFF, 0x00FF00u);
  EXPECT_EQ(CPaintManagerUI::GetAdjustColor(0xFF808080, 180, 100, 0) & 0xFFFFFF, 0u);
}

}  // namespace
