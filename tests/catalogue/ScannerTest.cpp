#include <gtest/gtest.h>

#include "catalogue/CDeviceScanner.h"
#include "sim/Simulation.h"
#include "tests/catalogue/ScannerTestSupport.h"

using koru::sim::SimModel;
using koru::sim::SimulatedDevice;
using koru::test::SinkEvent;

namespace {

bool Contains(const std::string& text, std::string_view part) {
    return text.find(part) != std::string::npos;
}

// One scanner pass at a time on the test's thread.
class ScannerTest : public testing::Test {
protected:
    void SetUp() override { koru::hid::SetBackends({recorder}); }
    void TearDown() override { koru::hid::SetBackends({}); }

    std::shared_ptr<SimulatedDevice> Make(SimModel model) {
        return SimulatedDevice::Create(model, bus);
    }
    std::vector<int> ConnectedSlots() const {
        std::vector<int> connected;
        for (int i = 0; i < slots.Size(); ++i)
            if (slots.IsConnected(i)) connected.push_back(i);
        return connected;
    }

    std::shared_ptr<koru::hid::VirtualHidBus> bus = std::make_shared<koru::hid::VirtualHidBus>();
    std::shared_ptr<koru::test::OpenRecordingBackend> recorder =
        std::make_shared<koru::test::OpenRecordingBackend>(bus);
    CInterfaceSlotList slots;
    koru::test::RecordingSink sink;
    CDeviceScanner scanner{slots, sink};
};

TEST_F(ScannerTest, EachWayOfReachingADeviceFillsItsOwnRows) {
    struct Case {
        const char* simulate;
        std::vector<int> rows;
    };
    const Case cases[] = {
        {"keyboard", {0, 1}},
        {"keyboard-receiver", {2, 3}},
        {"mouse", {4, 5}},
        {"mouse-receiver", {6, 7}},
        {"mousepad", {8, 9}},
        {"headset", {10}},
        {"keyboard,keyboard-receiver", {0, 1, 2, 3}},
        {"all", {0, 1, 4, 5, 8, 9, 10}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.simulate);
        CInterfaceSlotList freshSlots;
        koru::test::RecordingSink freshSink;
        CDeviceScanner freshScanner(freshSlots, freshSink);
        koru::sim::SimulationRequest request;
        ASSERT_TRUE(koru::sim::ParseSimulateList(c.simulate, &request, nullptr));
        koru::sim::Simulation simulation(bus, request);

        ASSERT_TRUE(freshScanner.ScanOnce());
        EXPECT_EQ(freshSink.Slots(SinkEvent::Attached), c.rows);
        for (int row : c.rows) {
            const auto slot = freshSlots.Get(row);
            ASSERT_TRUE(slot);
            EXPECT_EQ(slot->connected, 1);
            EXPECT_TRUE(Contains(slot->path, slot->collectionNumber == 4   ? "&col04#"
                                             : slot->collectionNumber == 3 ? "&col03#"
                                                                           : "&mi_03#"))
                << slot->path;
        }
    }
}

TEST_F(ScannerTest, OnlyTheCatalogueCollectionsAreOpenedAndTheSinkSeesTheFilledSlot) {
    auto keyboard = Make(SimModel::Keyboard);
    keyboard->PlugCable();
    std::vector<std::string> pathsSeenBySink;
    sink.onAttach = [&](int slot) { pathsSeenBySink.push_back(slots.PathOf(slot)); };

    ASSERT_TRUE(scanner.ScanOnce());

    ASSERT_EQ(pathsSeenBySink.size(), 2u);
    for (const auto& path : pathsSeenBySink) EXPECT_FALSE(path.empty());
    // The boot keyboard (interface 0) and collections 1 and 2 never pass the pre-filter.
    const auto opened = recorder->Opened();
    ASSERT_EQ(opened.size(), 2u);
    for (const auto& path : opened)
        EXPECT_TRUE(Contains(path, "&mi_01&col03#") || Contains(path, "&mi_01&col04#")) << path;
}

TEST_F(ScannerTest, RightProductWithOtherCollectionsIsNeverOpenedOrWrongUsageNeverClaimed) {
    // Four vendor collections 0xFF00/0x0001: collections 1 and 2 match no row
    // on the path; 3 and 4 do, but their usages do not.
    std::vector<uint8_t> descriptor;
    for (uint8_t id = 1; id <= 4; ++id) {
        const uint8_t collection[] = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, id, 0x15, 0x00,
                                      0x26, 0xFF, 0x00, 0x75, 0x08, 0x95, 0x01, 0x09, 0x01, 0x81, 0x02,
                                      0xC0};
        descriptor.insert(descriptor.end(), std::begin(collection), std::end(collection));
    }
    koru::hid::VirtualDeviceDescription lookalike;
    lookalike.vendorId = 0x320F;
    lookalike.productId = 0x5055;
    lookalike.name = "lookalike";
    lookalike.interfaces = {{0, {}}, {1, descriptor}};
    bus->Plug(lookalike, nullptr);

    ASSERT_TRUE(scanner.ScanOnce());

    EXPECT_TRUE(sink.Events().empty());
    EXPECT_TRUE(ConnectedSlots().empty());
    const auto opened = recorder->Opened();
    ASSERT_EQ(opened.size(), 2u);
    for (const auto& path : opened)
        EXPECT_TRUE(Contains(path, "&col03#") || Contains(path, "&col04#")) << path;
}

TEST_F(ScannerTest, UnpluggingFreesTheSlotsAndTheDeviceCanComeBack) {
    auto mouse = Make(SimModel::Mouse);
    mouse->PlugCable();
    ASSERT_TRUE(scanner.ScanOnce());
    ASSERT_EQ(ConnectedSlots(), (std::vector<int>{4, 5}));

    mouse->UnplugCable();
    ASSERT_TRUE(scanner.ScanOnce());
    EXPECT_EQ(sink.Slots(SinkEvent::Detached), (std::vector<int>{4, 5}));
    EXPECT_TRUE(ConnectedSlots().empty());
    EXPECT_EQ(slots.PathOf(4), "");

    sink.Clear();
    mouse->PlugCable();
    ASSERT_TRUE(scanner.ScanOnce());
    EXPECT_EQ(sink.Slots(SinkEvent::Attached), (std::vector<int>{4, 5}));
}

TEST_F(ScannerTest, CableBesideTheReceiverFillsBothPathsAndLeavesTheReceiverOnUnplug) {
    auto mouse = Make(SimModel::Mouse);
    mouse->PlugReceiver();
    ASSERT_TRUE(scanner.ScanOnce());
    ASSERT_EQ(ConnectedSlots(), (std::vector<int>{6, 7}));

    mouse->PlugCable();
    ASSERT_TRUE(scanner.ScanOnce());
    EXPECT_EQ(ConnectedSlots(), (std::vector<int>{4, 5, 6, 7}));

    sink.Clear();
    mouse->UnplugCable();
    ASSERT_TRUE(scanner.ScanOnce());
    EXPECT_EQ(sink.Slots(SinkEvent::Detached), (std::vector<int>{4, 5}));
    EXPECT_EQ(ConnectedSlots(), (std::vector<int>{6, 7}));
}

TEST_F(ScannerTest, ASecondIdenticalKeyboardWaitsUntilTheFirstIsGone) {
    auto first = Make(SimModel::Keyboard);
    auto second = Make(SimModel::Keyboard);
    first->PlugCable();
    second->PlugCable();
    const auto secondPaths = bus->PathsOf(*second->CableId());

    ASSERT_TRUE(scanner.ScanOnce());
    EXPECT_EQ(sink.Slots(SinkEvent::Attached), (std::vector<int>{0, 1}));
    for (const auto& path : recorder->Opened())
        EXPECT_EQ(std::count(secondPaths.begin(), secondPaths.end(), path), 0) << path;

    first->UnplugCable();
    ASSERT_TRUE(scanner.ScanOnce());  // the probe frees the slots
    ASSERT_TRUE(scanner.ScanOnce());  // the next enumeration finds the second keyboard
    EXPECT_EQ(sink.Slots(SinkEvent::Attached), (std::vector<int>{0, 0, 1, 1}));
    EXPECT_EQ(std::count(secondPaths.begin(), secondPaths.end(), slots.PathOf(0)), 1);
}

TEST_F(ScannerTest, AnInterfaceThatRefusesTheOpenIsRetriedOnTheNextPass) {
    auto pad = Make(SimModel::MousePad);
    pad->PlugCable();
    bus->SetAccessDenied(*pad->CableId(), 1, true);
    ASSERT_TRUE(scanner.ScanOnce());
    EXPECT_TRUE(ConnectedSlots().empty());

    bus->SetAccessDenied(*pad->CableId(), 1, false);
    ASSERT_TRUE(scanner.ScanOnce());
    EXPECT_EQ(ConnectedSlots(), (std::vector<int>{8, 9}));
}

TEST_F(ScannerTest, AFailedEnumerationIsReported) {
    bus->FailNextEnumerate();
    EXPECT_FALSE(scanner.ScanOnce());
    EXPECT_TRUE(sink.Events().empty());
}

// The thread itself.
class ScannerThreadTest : public ScannerTest {};

TEST_F(ScannerThreadTest, ReportsPlugAndUnplugWhileRunningAndStopsWhenAsked) {
    CDeviceScanner running(slots, sink, std::chrono::milliseconds(5));
    ASSERT_TRUE(running.Start());
    ASSERT_TRUE(sink.WaitFor(SinkEvent::FirstPass, 1));

    auto headset = Make(SimModel::Headset);
    headset->PlugCable();
    ASSERT_TRUE(sink.WaitFor(SinkEvent::Attached, 1));
    headset->UnplugCable();
    ASSERT_TRUE(sink.WaitFor(SinkEvent::Detached, 1));

    running.Stop();
    EXPECT_FALSE(running.IsRunning());
    EXPECT_EQ(sink.Events(), (std::vector<SinkEvent>{{SinkEvent::FirstPass, -1},
                                                     {SinkEvent::Attached, 10},
                                                     {SinkEvent::Detached, 10}}));
}

TEST_F(ScannerThreadTest, AFailedEnumerationEndsTheThreadAfterTheFirstPassNotice) {
    bus->FailNextEnumerate();
    CDeviceScanner running(slots, sink);
    ASSERT_TRUE(running.Start());
    ASSERT_TRUE(running.WaitUntilEnded(std::chrono::seconds(10)));
    EXPECT_TRUE(running.EndedOnFailure());
    EXPECT_EQ(sink.Events(), (std::vector<SinkEvent>{{SinkEvent::FirstPass, -1}}));
    running.Stop();  // joins a thread that has already ended
    EXPECT_FALSE(running.Start());
}

TEST_F(ScannerThreadTest, StopInterruptsTheWaitBetweenPasses) {
    // With an hour between passes, Stop only returns if it wakes the thread.
    auto scannerWithLongPeriod =
        std::make_unique<CDeviceScanner>(slots, sink, std::chrono::hours(1));
    ASSERT_TRUE(scannerWithLongPeriod->Start());
    ASSERT_TRUE(sink.WaitFor(SinkEvent::FirstPass, 1));
    scannerWithLongPeriod->Stop();
    EXPECT_FALSE(scannerWithLongPeriod->IsRunning());
    EXPECT_FALSE(scannerWithLongPeriod->EndedOnFailure());

    // Destroying a running scanner stops it as well.
    auto another = std::make_unique<CDeviceScanner>(slots, sink, std::chrono::hours(1));
    ASSERT_TRUE(another->Start());
    another.reset();
}

}  // namespace
