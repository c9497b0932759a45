#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "sim/SimulatorControl.h"

using koru::sim::Appearance;
using koru::sim::SimModel;
using koru::sim::SimulatorAction;
using koru::sim::SimulatorCommand;
using koru::sim::SimulatorControl;
using koru::sim::SimulatorState;

namespace {

TEST(SimulatorCommandTest, ParsesTheCommandsAndRefusesEverythingElse) {
    struct Case {
        std::string_view text;
        bool ok;
        SimulatorCommand command;   // when ok
        std::string_view canonical; // when ok
    };
    const Case cases[] = {
        {"list", true, {SimulatorAction::List, SimModel::Keyboard}, "list"},
        {"  list\t", true, {SimulatorAction::List, SimModel::Keyboard}, "list"},
        {"mouse cable plug", true, {SimulatorAction::PlugCable, SimModel::Mouse}, "mouse cable plug"},
        {"mouse  cable\tunplug ", true, {SimulatorAction::UnplugCable, SimModel::Mouse}, "mouse cable unplug"},
        {"keyboard receiver plug", true, {SimulatorAction::PlugReceiver, SimModel::Keyboard}, "keyboard receiver plug"},
        {"keyboard receiver unplug", true, {SimulatorAction::UnplugReceiver, SimModel::Keyboard},
         "keyboard receiver unplug"},
        {"mouse link down", true, {SimulatorAction::LinkDown, SimModel::Mouse}, "mouse link down"},
        {"mouse link up", true, {SimulatorAction::LinkUp, SimModel::Mouse}, "mouse link up"},
        {"headset cable unplug", true, {SimulatorAction::UnplugCable, SimModel::Headset}, "headset cable unplug"},
        // Parsing knows no models' hardware: a mouse pad's receiver is refused when applied.
        {"mousepad receiver plug", true, {SimulatorAction::PlugReceiver, SimModel::MousePad},
         "mousepad receiver plug"},
        {"", false, {}, ""},
        {"   ", false, {}, ""},
        {"list mouse", false, {}, ""},
        {"mouse", false, {}, ""},
        {"mouse cable", false, {}, ""},
        {"mouse cable plug now", false, {}, ""},
        {"Mouse cable plug", false, {}, ""},
        {"mouse-receiver cable plug", false, {}, ""},
        {"trackball cable plug", false, {}, ""},
        {"mouse cable up", false, {}, ""},
        {"mouse link plug", false, {}, ""},
        {"mouse wire plug", false, {}, ""},
        {std::string_view("mouse cable plug\0", 17), false, {}, ""},
        {"mouse cable\nplug", false, {}, ""},
        {"mouse cable pl\xC3\xBCg", false, {}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text));
        SimulatorCommand command{SimulatorAction::LinkDown, SimModel::Headset};  // must survive a refusal
        std::string error;
        ASSERT_EQ(koru::sim::ParseSimulatorCommand(c.text, &command, &error), c.ok) << error;
        if (c.ok) {
            EXPECT_EQ(command, c.command);
            EXPECT_EQ(koru::sim::FormatSimulatorCommand(command), c.canonical);
        } else {
            EXPECT_EQ(command, (SimulatorCommand{SimulatorAction::LinkDown, SimModel::Headset}));
            EXPECT_FALSE(error.empty());
        }
    }
}

TEST(SimulatorStateTest, AnswersRoundTripAndOtherNumbersAreNotAnswers) {
    SimulatorState state;
    state.Of(SimModel::Mouse) = {true, true, false, true};
    state.Of(SimModel::Headset) = {true, false, false, false};
    const int64_t answer = state.Encode();
    EXPECT_GT(answer, 0);
    EXPECT_EQ(SimulatorState::Decode(answer), state);
    EXPECT_EQ(SimulatorState::Decode(SimulatorState{}.Encode()), SimulatorState{});

    // 0 is what the service answers without a handler.
    for (int64_t other : {int64_t{0}, int64_t{-1}, int64_t{-2}, answer | (int64_t{1} << 17),
                          answer & ~(int64_t{1} << 16), SimulatorState{}.Encode() | 2}) {
        SCOPED_TRACE(other);
        EXPECT_FALSE(SimulatorState::Decode(other));
    }
    const std::string text = state.Describe();
    EXPECT_NE(text.find("mouse     cable plugged, receiver unplugged, link up\n"), std::string::npos) << text;
    EXPECT_NE(text.find("keyboard  not simulated\n"), std::string::npos) << text;
    EXPECT_NE(text.find("headset   cable unplugged\n"), std::string::npos) << text;
}

// A program started with --simulate mouse-receiver on a bus of its own.
class SimulatorControlTest : public ::testing::Test {
protected:
    SimulatorControlTest()
        : bus_(std::make_shared<koru::hid::VirtualHidBus>()),
          simulation_(bus_, Request("mouse-receiver"),
                      [this](const auto&) {
                          ++firmwareMade_;
                          return std::shared_ptr<koru::hid::VirtualFirmware>();
                      }),
          control_(simulation_) {}

    static koru::sim::SimulationRequest Request(std::string_view list) {
        koru::sim::SimulationRequest request;
        EXPECT_TRUE(koru::sim::ParseSimulateList(list, &request, nullptr));
        return request;
    }
    bool Listed(uint16_t productId) const {
        std::vector<koru::hid::InterfaceInfo> listed;
        EXPECT_TRUE(bus_->Enumerate(listed));
        return std::any_of(listed.begin(), listed.end(),
                           [&](const auto& info) { return info.productId == productId; });
    }
    SimulatorState Answer(std::string_view text) {
        const int64_t answer = control_.Execute(text);
        const auto state = SimulatorState::Decode(answer);
        EXPECT_TRUE(state) << text << " answered " << answer;
        return state.value_or(SimulatorState{});
    }

    std::shared_ptr<koru::hid::VirtualHidBus> bus_;
    int firmwareMade_ = 0;
    koru::sim::Simulation simulation_;
    SimulatorControl control_;
};

TEST_F(SimulatorControlTest, PluggingTheMouseCableSwitchesItsAppearanceAndBack) {
    const auto mouse = simulation_.Device(SimModel::Mouse);
    ASSERT_TRUE(mouse);
    const uint16_t cable = mouse->CableIdentity().productId;
    const uint16_t receiver = mouse->ReceiverIdentity().productId;
    ASSERT_EQ(mouse->CurrentAppearance(), Appearance::Receiver);
    EXPECT_FALSE(Listed(cable));

    SimulatorState state = Answer("mouse cable plug");
    EXPECT_EQ(state.Of(SimModel::Mouse), (koru::sim::SimulatedDeviceState{true, true, true, true}));
    EXPECT_EQ(mouse->CurrentAppearance(), Appearance::Cable);
    EXPECT_TRUE(Listed(cable));
    EXPECT_TRUE(Listed(receiver));

    state = Answer("mouse cable unplug");
    EXPECT_FALSE(state.Of(SimModel::Mouse).cablePlugged);
    EXPECT_EQ(mouse->CurrentAppearance(), Appearance::Receiver);
    EXPECT_FALSE(Listed(cable));

    Answer("mouse link down");
    EXPECT_EQ(mouse->CurrentAppearance(), Appearance::None);
    EXPECT_TRUE(Listed(receiver));  // the receiver stays on the bus without its device
    Answer("mouse receiver unplug");
    EXPECT_FALSE(Listed(receiver));
    EXPECT_EQ(simulation_.Devices().size(), 1u);
    EXPECT_EQ(firmwareMade_, 1);
}

TEST_F(SimulatorControlTest, AModelOutsideTheStartListIsCreatedWithItsFirmwareWhenPlugged) {
    EXPECT_FALSE(Answer("list").Of(SimModel::Keyboard).simulated);
    // Unplugging what is not there creates nothing.
    EXPECT_FALSE(Answer("keyboard cable unplug").Of(SimModel::Keyboard).simulated);
    EXPECT_EQ(firmwareMade_, 1);

    const SimulatorState state = Answer("keyboard receiver plug");
    EXPECT_EQ(state.Of(SimModel::Keyboard), (koru::sim::SimulatedDeviceState{true, false, true, true}));
    const auto keyboard = simulation_.Device(SimModel::Keyboard);
    ASSERT_TRUE(keyboard);
    EXPECT_TRUE(Listed(keyboard->ReceiverIdentity().productId));
    EXPECT_EQ(firmwareMade_, 2);

    Answer("keyboard cable plug");
    EXPECT_EQ(simulation_.Device(SimModel::Keyboard), keyboard);
    EXPECT_EQ(firmwareMade_, 2);
}

TEST_F(SimulatorControlTest, RefusedCommandsChangeNothing) {
    const SimulatorState before = Answer("list");
    EXPECT_EQ(control_.Execute("mousepad receiver plug"), koru::sim::kSimulatorNoReceiver);
    EXPECT_EQ(control_.Execute("headset link down"), koru::sim::kSimulatorNoReceiver);
    EXPECT_EQ(control_.Execute("mouse cable yank"), koru::sim::kSimulatorBadCommand);
    EXPECT_EQ(control_.Execute(std::string(200, 'x')), koru::sim::kSimulatorBadCommand);
    EXPECT_EQ(Answer("list"), before);
    EXPECT_EQ(simulation_.Devices().size(), 1u);
    EXPECT_EQ(firmwareMade_, 1);
}

// The control runs on the program's event loop thread while the scanner lists
// the bus and pages look up their devices.
TEST_F(SimulatorControlTest, CommandsAndLookupsFromOtherThreadsDoNotRace) {
    std::atomic<bool> done{false};
    std::thread scanner([&] {
        while (!done) {
            std::vector<koru::hid::InterfaceInfo> listed;
            bus_->Enumerate(listed);
            for (const auto& device : simulation_.Devices()) device->CurrentAppearance();
            simulation_.Device(SimModel::Headset);
        }
    });
    for (int i = 0; i < 50; ++i) {
        control_.Execute("mouse cable plug");
        control_.Execute("headset cable plug");
        control_.Execute("mouse cable unplug");
        control_.Execute("headset cable unplug");
    }
    done = true;
    scanner.join();
    EXPECT_EQ(Answer("list").Of(SimModel::Headset), (koru::sim::SimulatedDeviceState{true, false, false, false}));
}

}  // namespace
