#include <gtest/gtest.h>

#include <cstdlib>

#include "sim/Simulation.h"

using koru::sim::SimModel;
using koru::sim::SimulationChoice;
using koru::sim::SimulationRequest;
using koru::sim::SimulationSource;

namespace {

TEST(SimulateListTest, ParsesNamesAllAndNoneAndRejectsUnknownNames) {
    struct Case {
        const char* list;
        bool ok;
        const char* canonical;  // when ok
    };
    const Case cases[] = {
        {"keyboard,mouse-receiver,mousepad,headset", true, "keyboard,mouse-receiver,mousepad,headset"},
        {" mouse , keyboard-receiver ", true, "keyboard-receiver,mouse"},
        {"all", true, "keyboard,mouse,mousepad,headset"},
        {"all,mouse-receiver", true, "keyboard,mouse,mouse-receiver,mousepad,headset"},
        {"none", true, "none"},
        {"", true, "none"},
        {"keyboard,,keyboard", true, "keyboard"},
        {"keyboard,trackball", false, ""},
        {"Keyboard", false, ""},
        {"mouse_receiver", false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.list);
        SimulationRequest request;
        request.headset = true;  // must survive a failed parse
        std::string error;
        ASSERT_EQ(koru::sim::ParseSimulateList(c.list, &request, &error), c.ok);
        if (c.ok) {
            EXPECT_EQ(koru::sim::FormatSimulateList(request), c.canonical);
        } else {
            EXPECT_TRUE(request.headset);
            EXPECT_NE(error.find("unknown simulated device"), std::string::npos);
        }
    }
}

TEST(SimulateListTest, TheOptionIsTakenOutOfTheArgumentsInBothForms) {
    std::vector<std::string> args = {"list", "--simulate", "mouse", "-v", "--simulate=headset"};
    std::optional<std::string> value;
    ASSERT_TRUE(koru::sim::TakeSimulateOption(args, &value, nullptr));
    EXPECT_EQ(value, "headset");
    EXPECT_EQ(args, (std::vector<std::string>{"list", "-v"}));

    std::vector<std::string> dangling = {"list", "--simulate"};
    std::string error;
    EXPECT_FALSE(koru::sim::TakeSimulateOption(dangling, &value, &error));
    EXPECT_FALSE(error.empty());
}

class ChooseSimulationTest : public testing::Test {
protected:
    void SetUp() override {
        if (const char* old = std::getenv("KORU_SIMULATE")) saved_ = old;
        unsetenv("KORU_SIMULATE");
    }
    void TearDown() override {
        if (saved_) setenv("KORU_SIMULATE", saved_->c_str(), 1);
        else unsetenv("KORU_SIMULATE");
        koru::hid::SetBackends({});
    }
    std::optional<std::string> saved_;
};

// Lists one interface of a catalogue keyboard, like a real backend would.
class OneRealKeyboard : public koru::hid::Backend {
public:
    bool Enumerate(std::vector<koru::hid::InterfaceInfo>& out) override {
        koru::hid::InterfaceInfo info;
        info.vendorId = 0x320F;
        info.productId = 0x5055;
        info.path = "\\\\?\\hid#vid_320f&pid_5055&mi_01&col04#real#{4d1e55b2-f16f-11cf-88cb-001111000030}";
        out.push_back(info);
        return true;
    }
    bool Exists(const std::string&) override { return true; }
    std::unique_ptr<koru::hid::Connection> Open(const std::string&, koru::hid::OpenMode,
                                                koru::hid::OpenError* error) override {
        if (error) *error = koru::hid::OpenError::Other;
        return nullptr;
    }
    bool Owns(const std::string& path) const override { return path.find("#real#") != std::string::npos; }
};

TEST_F(ChooseSimulationTest, OptionThenEnvironmentThenAllFourOnlyWithoutARealDevice) {
    auto bus = std::make_shared<koru::hid::VirtualHidBus>();
    koru::sim::Simulation alreadySimulated(bus, SimulationRequest::AllByCable());
    koru::hid::SetBackends({bus});  // simulated devices are not real ones
    SimulationChoice choice;
    ASSERT_TRUE(koru::sim::ChooseSimulation(std::nullopt, &choice, nullptr));
    EXPECT_EQ(choice.source, SimulationSource::NoRealDevice);
    EXPECT_EQ(choice.request, SimulationRequest::AllByCable());

    koru::hid::SetBackends({std::make_shared<OneRealKeyboard>(), bus});
    ASSERT_TRUE(koru::sim::ChooseSimulation(std::nullopt, &choice, nullptr));
    EXPECT_EQ(choice.source, SimulationSource::RealDevicePresent);
    EXPECT_TRUE(choice.request.Empty());

    setenv("KORU_SIMULATE", "mouse-receiver", 1);
    ASSERT_TRUE(koru::sim::ChooseSimulation(std::nullopt, &choice, nullptr));
    EXPECT_EQ(choice.source, SimulationSource::Environment);
    EXPECT_TRUE(choice.request.mouseReceiver);

    ASSERT_TRUE(koru::sim::ChooseSimulation(std::string("none"), &choice, nullptr));
    EXPECT_EQ(choice.source, SimulationSource::Option);
    EXPECT_TRUE(choice.request.Empty());

    setenv("KORU_SIMULATE", "joystick", 1);
    std::string error;
    EXPECT_FALSE(koru::sim::ChooseSimulation(std::nullopt, &choice, &error));
    EXPECT_EQ(error.rfind("KORU_SIMULATE: ", 0), 0u) << error;
}

TEST(SimulationTest, KeyboardByCableAndReceiverIsOneDeviceWithBothAppearances) {
    auto bus = std::make_shared<koru::hid::VirtualHidBus>();
    SimulationRequest request;
    ASSERT_TRUE(koru::sim::ParseSimulateList("keyboard,keyboard-receiver,headset", &request, nullptr));
    size_t firmwareMade = 0;
    {
        koru::sim::Simulation simulation(bus, request, [&](const auto&) {
            ++firmwareMade;
            return std::shared_ptr<koru::hid::VirtualFirmware>();
        });
        ASSERT_EQ(simulation.Devices().size(), 2u);
        auto keyboard = simulation.Device(SimModel::Keyboard);
        ASSERT_TRUE(keyboard);
        EXPECT_TRUE(keyboard->IsCablePlugged());
        EXPECT_TRUE(keyboard->IsReceiverPlugged());
        EXPECT_EQ(simulation.Device(SimModel::Mouse), nullptr);
        std::vector<koru::hid::InterfaceInfo> listed;
        ASSERT_TRUE(bus->Enumerate(listed));
        EXPECT_EQ(listed.size(), 5u + 5u + 1u);
    }
    EXPECT_EQ(firmwareMade, 2u);
    std::vector<koru::hid::InterfaceInfo> listed;
    ASSERT_TRUE(bus->Enumerate(listed));
    EXPECT_TRUE(listed.empty());
}

}  // namespace
