#include <gtest/gtest.h>

#include "catalogue/InterfaceLister.h"
#include "sim/SimulatedDevice.h"

namespace {

using koru::hid::VirtualHidBus;
using koru::sim::SimModel;

class InterfaceListerTest : public testing::Test {
protected:
    void TearDown() override { koru::hid::SetBackends({}); }
    std::shared_ptr<VirtualHidBus> first = std::make_shared<VirtualHidBus>();
    std::shared_ptr<VirtualHidBus> second = std::make_shared<VirtualHidBus>();
    koru::InterfaceLister lister;
    std::vector<std::string> paths;
};

TEST_F(InterfaceListerTest, ListsEveryBackendInOrderAndFollowsTheBackendsInUse) {
    auto headset = koru::sim::SimulatedDevice::Create(SimModel::Headset, first);
    auto pad = koru::sim::SimulatedDevice::Create(SimModel::MousePad, second);
    headset->PlugCable();
    pad->PlugCable();
    auto expected = first->PathsOf(*headset->CableId());
    const auto padPaths = second->PathsOf(*pad->CableId());
    expected.insert(expected.end(), padPaths.begin(), padPaths.end());

    koru::hid::SetBackends({first, second});
    ASSERT_TRUE(lister.List(paths));
    EXPECT_EQ(paths, expected);

    koru::hid::SetBackends({second});
    ASSERT_TRUE(lister.List(paths));
    EXPECT_EQ(paths, padPaths);

    // A backend without a change watch is asked every time.
    pad->UnplugCable();
    ASSERT_TRUE(lister.List(paths));
    EXPECT_TRUE(paths.empty());
}

TEST_F(InterfaceListerTest, AFailingBackendFailsTheWholeListing) {
    auto headset = koru::sim::SimulatedDevice::Create(SimModel::Headset, first);
    headset->PlugCable();
    koru::hid::SetBackends({first, second});
    second->FailNextEnumerate();
    EXPECT_FALSE(lister.List(paths));
    EXPECT_TRUE(paths.empty());
    EXPECT_TRUE(lister.List(paths));
    EXPECT_EQ(paths.size(), 1u);
}

}  // namespace
