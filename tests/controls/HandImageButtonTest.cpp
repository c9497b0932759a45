// Buttons with a picture layer: hover notifications, the click of the plain
// one, and the panning window of the select button.
#include "controls/CHandImgButtonUI.h"
#include "controls/CHandImgSelectButtonUI.h"
#include "controls/CRedioMacroButtonUI.h"
#include "tests/controls/ControlsTestSupport.h"
#include "toolkit/core/CPaintManagerUI.h"

namespace koru::test {
namespace {

// The about box's logo is a 96 x 96 picture, larger than the 40 x 30 select button.
constexpr const char* kButtons = R"(<Window size="300,200"><VerticalLayout>
  <HandImgButton name="hand" float="true" pos="10,10,60,60" handimage="file='common/logo.svg'"
      deletenormalimage="a.svg" deletehotimage="b.svg"/>
  <HandImgSelectButton name="window" float="true" pos="100,10,140,40" handimage="common/logo_large.svg" cursor="hand"/>
  <HandImgSelectButton name="whole" float="true" pos="100,96,250,196" handimage="common/logo_large.svg"/>
  <HandImgSelectButton name="missing" float="true" pos="10,100,60,150" handimage="device/no_such_picture.svg" cursor="nonsense"/>
  <RedioMacroButton name="radio" float="true" pos="200,10,280,40" redioimage="r.svg"/>
</VerticalLayout></Window>)";

class HandImageButtonTest : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    window_ = Build(kButtons);
    window_->Pump();
    select_ = window_->Find<CHandImgSelectButtonUI>("window");
    ASSERT_TRUE(select_);
  }
  void DragSelect(int dx, int dy) {
    UIPoint from = select_->GetPos().Center();
    window_->Drag(from, {from.x + dx, from.y + dy}, 1);
  }
  std::unique_ptr<HeadlessWindow> window_;
  CHandImgSelectButtonUI* select_ = nullptr;
};

TEST_F(HandImageButtonTest, AnswerTheirTags) {
  EXPECT_EQ(window_->Find("hand")->GetClass(), "HandImgButton");
  EXPECT_EQ(select_->GetClass(), "HandImgSelectButton");
  EXPECT_EQ(window_->Find("radio")->GetClass(), "RedioMacroButton");
  EXPECT_EQ(window_->Find<CRedioMacroButtonUI>("radio")->GetRedioImage(), "r.svg");
}

TEST_F(HandImageButtonTest, HandButtonKeepsTheDeleteImagesAndClicksOnRelease) {
  auto* hand = window_->Find<CHandImgButtonUI>("hand");
  EXPECT_EQ(hand->GetDeleteNormalImage(), "a.svg");
  EXPECT_EQ(hand->GetDeleteHotImage(), "b.svg");
  ASSERT_TRUE(window_->Click("hand"));
  EXPECT_EQ(window_->CountNotify("click", "hand"), 1);
}

TEST_F(HandImageButtonTest, EnterAndLeaveAreNotifiedWhileEnabled) {
  for (const char* name : {"hand", "window"}) {
    window_->ClearNotifications();
    ASSERT_TRUE(window_->Hover(name));
    window_->MoveTo({290, 190});
    window_->Pump();
    EXPECT_EQ(window_->CountNotify("msenter", name), 1) << name;
    EXPECT_EQ(window_->CountNotify("msleave", name), 1) << name;
  }
  window_->Find("hand")->SetEnabled(false);
  window_->ClearNotifications();
  window_->Hover("hand");
  window_->MoveTo({290, 190});
  window_->Pump();
  EXPECT_EQ(window_->CountNotify("msenter"), 0);
}

TEST_F(HandImageButtonTest, SelectButtonShowsTheTopLeftWindowOfALargerPicture) {
  EXPECT_EQ(select_->GetPictureSize(), (UISize{96, 96}));
  EXPECT_EQ(select_->GetSourceWindow(), (UIRect{0, 0, 40, 30}));
  EXPECT_EQ(select_->GetComposedImage(), "file='common/logo_large.svg' source='0,0,40,30'");
  EXPECT_EQ(select_->GetCursor(), 32649);
  // A picture that fits is shown whole.
  EXPECT_EQ(window_->Find<CHandImgSelectButtonUI>("whole")->GetComposedImage(), "common/logo_large.svg");
}

TEST_F(HandImageButtonTest, PanningStaysInsideThePicture) {
  struct Step {
    int dx, dy;
    UIRect window;
  };
  const Step steps[] = {
      {10, 10, {0, 0, 40, 30}},      // already at the top-left: nothing moves
      {-20, -6, {20, 6, 60, 36}},    // cursor left and up: the window moves right and down
      {-50, -100, {56, 66, 96, 96}}, // stops at the right and bottom edges, size kept
      {-5, -5, {56, 66, 96, 96}},
      {30, 0, {26, 66, 66, 96}},
      {100, 100, {0, 0, 40, 30}},    // back, stopping at 0
  };
  for (const Step& s : steps) {
    DragSelect(s.dx, s.dy);
    EXPECT_EQ(select_->GetSourceWindow(), s.window) << s.dx << "," << s.dy;
  }
  EXPECT_EQ(select_->GetComposedImage(), "file='common/logo_large.svg' source='0,0,40,30'");
  EXPECT_FALSE(select_->IsDragging());
  EXPECT_EQ(window_->CountNotify("click", "window"), 0);
}

TEST_F(HandImageButtonTest, UnloadablePictureShowsNothingNew) {
  auto* missing = window_->Find<CHandImgSelectButtonUI>("missing");
  EXPECT_EQ(missing->GetHandImage(), "device/no_such_picture.svg");
  EXPECT_EQ(missing->GetComposedImage(), "");
  EXPECT_EQ(missing->GetCursor(), 0);

  // A later unloadable name keeps the picture already shown.
  select_->SetHandImage("device/no_such_picture.svg");
  EXPECT_EQ(select_->GetComposedImage(), "file='common/logo_large.svg' source='0,0,40,30'");
}

}  // namespace
}  // namespace koru::test
