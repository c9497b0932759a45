#pragma once
// The firmware behind a simulated keyboard, mouse, mouse pad or headset: it
// answers the 64-byte command set from the device's memory, keeps the light
// frames and headset light reports it is sent, sends notification reports on
// demand, and shows faults on purpose. Its memory starts from factory values
// and lives as long as this object, whatever is plugged or unplugged.
#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

#include "sim/SimulatedDevice.h"
#include "sim/firmware/AnswerScheduler.h"
#include "sim/firmware/DeviceMemory.h"
#include "sim/firmware/FaultPlan.h"

namespace koru::sim {

using CommandFrame = std::array<uint8_t, 64>;

// The headset's lights as its two light controllers were last told to show them.
struct HeadsetLights {
    static constexpr int kLightCount = 13;
    static constexpr int kControllerCount = 2;  // 0x22 and 0x44
    // [controller][light] = red, green, blue
    std::array<std::array<std::array<uint8_t, 3>, kLightCount>, kControllerCount> colour{};
    uint64_t reportCount = 0;
};

struct StreamedLightFrame {
    std::vector<uint8_t> bytes;  // 512 bytes: red, green, blue per frame position
    uint64_t framesStarted = 0;  // chunks that began a frame (address 0)
    uint64_t chunkCount = 0;
};

class DeviceFirmware : public hid::VirtualFirmware {
public:
    // Makes the factory firmware of the device's model and installs it.
    static std::shared_ptr<DeviceFirmware> Install(const std::shared_ptr<SimulatedDevice>& device);
    DeviceFirmware(std::weak_ptr<SimulatedDevice> device, SimModel model);

    void OnOutputReport(hid::VirtualHidBus& bus, hid::VirtualDeviceId id, int interfaceNumber,
                        std::span<const uint8_t> report) override;
    bool OnSetOutputReport(hid::VirtualHidBus& bus, hid::VirtualDeviceId id, int interfaceNumber,
                           std::span<const uint8_t> report) override;

    // Faults. The latency applies to every report each way: the write of a
    // command takes it, and its answer arrives that much later.
    void SetLatency(std::chrono::microseconds perReport);
    void AddFault(const FaultRule& rule);
    void ClearFaults();

    // Memory.
    std::vector<uint8_t> Snapshot(MemoryRegion region) const;
    bool Poke(MemoryRegion region, uint32_t address, std::span<const uint8_t> bytes);
    std::vector<uint8_t> SettingsRecord(int profile) const;
    uint8_t ActiveProfile() const;
    void ResetToFactory();
    // Battery level in percent; the power state follows the route (charging by
    // cable below 100 %, on battery through the receiver) unless forced.
    void SetBattery(uint8_t level, std::optional<uint8_t> forcedState = std::nullopt);
    void SetPhone(uint8_t kind);

    // What the host sent.
    std::vector<CommandFrame> ReceivedFrames() const;  // the most recent 4096
    uint64_t FrameCount() const;
    void ClearLog();
    bool SessionOpen() const;
    bool HostLightControl() const;
    StreamedLightFrame LightFrame() const;
    HeadsetLights HeadsetLightState() const;

    // Device-side events on the consumer-control collection. False when the
    // device is not reachable.
    bool SendNotification(uint16_t code);
    // The user switched the onboard profile on the device itself.
    bool SwitchProfile(uint8_t profile);
    // Keyboard: a key over `led` went down or up.
    bool KeyEvent(int led, bool pressed);

private:
    struct Outcome {
        std::optional<CommandFrame> stale;
        std::optional<CommandFrame> answer;
        bool unplug = false;
    };

    Outcome HandleCommand(const CommandFrame& request, const ReportRoute& route);
    CommandFrame Execute(const CommandFrame& request, const ReportRoute& route);
    void HandleHeadsetLight(std::span<const uint8_t> report);
    void Deliver(hid::VirtualHidBus& bus, hid::VirtualDeviceId id, int interfaceNumber,
                 const CommandFrame& answer, std::chrono::steady_clock::time_point due);
    void Unplug(Appearance appearance);

    const std::weak_ptr<SimulatedDevice> device_;
    const SimModel model_;
    std::atomic<int64_t> latencyUs_{0};
    FaultPlan faults_;
    AnswerScheduler scheduler_;

    mutable std::mutex mutex_;
    DeviceMemory memory_;
    std::deque<CommandFrame> log_;
    uint64_t frameCount_ = 0;
    bool sessionOpen_ = false;
    bool hostLightControl_ = false;
    std::optional<uint8_t> forcedPowerState_;
    uint64_t framesStarted_ = 0;
    uint64_t chunkCount_ = 0;
    HeadsetLights headset_;
    std::optional<CommandFrame> lastAnswer_;
};

}  // namespace koru::sim

namespace koru::sim {
// A FirmwareFactory for Simulation: the factory firmware of the device's model.
std::shared_ptr<hid::VirtualFirmware> MakeDeviceFirmware(const std::shared_ptr<SimulatedDevice>& device);
// The device's firmware when it is one of ours; nullptr otherwise.
std::shared_ptr<DeviceFirmware> FirmwareOf(const std::shared_ptr<SimulatedDevice>& device);
}  // namespace koru::sim
