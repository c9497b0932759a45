#include "sim/firmware/DeviceFirmware.h"

#include <algorithm>
#include <cstring>
#include <thread>

#include "protocol/CommandFrame.h"
#include "protocol/DeviceLayouts.h"

namespace koru::sim {
namespace {

constexpr size_t kLogLimit = 4096;

// Which memory region each data command reads or writes.
struct CommandTarget {
    uint8_t command;
    MemoryRegion region;
    bool write;
};
constexpr CommandTarget kTargets[] = {
    {cmd::kReadDeviceInfo, MemoryRegion::DeviceInfo, false},
    {cmd::kReadKeyMap, MemoryRegion::KeyMap, false},
    {cmd::kReadKeyMapExtra, MemoryRegion::KeyMapExtra, false},
    {cmd::kReadProfileData, MemoryRegion::Settings, false},
    {cmd::kReadLightPage, MemoryRegion::LightPages, false},
    {cmd::kReadPowerStatus, MemoryRegion::Power, false},
    {cmd::kWriteKeyMap, MemoryRegion::KeyMap, true},
    {cmd::kWriteKeyMapLayer2, MemoryRegion::KeyMapLayer2, true},
    {cmd::kWriteKeyMapLayer3, MemoryRegion::KeyMapLayer3, true},
    {cmd::kWriteProfileData, MemoryRegion::Settings, true},
    {cmd::kWriteLightPage, MemoryRegion::LightPages, true},
    {cmd::kWriteMacroData, MemoryRegion::Macro, true},
    {cmd::kWriteShootData, MemoryRegion::Shoot, true},
    {cmd::kStreamLightFrame, MemoryRegion::LightFrame, true},
};

const CommandTarget* TargetOf(uint8_t command) {
    for (const auto& t : kTargets)
        if (t.command == command) return &t;
    return nullptr;
}

// An answer echoing the request's command, length and address.
CommandFrame AnswerTo(const CommandFrame& request, uint8_t status) {
    CommandFrame answer{};
    frame::Build(answer.data(), request[frame::kCommand], request[frame::kLength],
                 frame::Address(request.data()));
    answer[frame::kStatus] = status;
    return answer;
}

void Seal(CommandFrame& answer) {
    const uint16_t sum = frame::Checksum(answer.data());
    answer[frame::kChecksum] = static_cast<uint8_t>(sum);
    answer[frame::kChecksum + 1] = static_cast<uint8_t>(sum >> 8);
}

int EventInterface(SimModel model) {
    return model == SimModel::Headset ? kHeadsetInterface : kVendorInterface;
}

uint8_t EventReportId(SimModel model) {
    return model == SimModel::Headset ? kHeadsetEventReportId : kEventReportId;
}

}  // namespace

std::shared_ptr<DeviceFirmware> DeviceFirmware::Install(const std::shared_ptr<SimulatedDevice>& device) {
    auto firmware = std::make_shared<DeviceFirmware>(device, device->Model());
    device->SetFirmware(firmware);
    return firmware;
}

DeviceFirmware::DeviceFirmware(std::weak_ptr<SimulatedDevice> device, SimModel model)
    : device_(std::move(device)), model_(model), memory_(model) {}

void DeviceFirmware::OnOutputReport(hid::VirtualHidBus& bus, hid::VirtualDeviceId id,
                                    int interfaceNumber, std::span<const uint8_t> report) {
    if (report.empty()) return;
    if (report[0] == kHeadsetLightReportId && model_ == SimModel::Headset) {
        HandleHeadsetLight(report);
        return;
    }
    if (report[0] != frame::kReportId || interfaceNumber != EventInterface(model_)) return;
    auto device = device_.lock();
    if (!device) return;
    const ReportRoute route = device->RouteOf(id);
    if (route.appearance == Appearance::None) return;

    // Both delays count from the report's arrival, so that the sleep's own
    // overshoot on the way in does not add to the answer's.
    const auto arrival = std::chrono::steady_clock::now();
    const std::chrono::microseconds latency(latencyUs_.load(std::memory_order_relaxed));
    if (latency.count() > 0) std::this_thread::sleep_until(arrival + latency);  // the output report's transfer

    CommandFrame request{};
    std::copy_n(report.begin(), std::min(report.size(), request.size()), request.begin());
    const Outcome outcome = HandleCommand(request, route);
    if (outcome.unplug) {
        Unplug(route.appearance);
        return;
    }
    const auto due = arrival + 2 * latency;
    if (outcome.stale) Deliver(bus, id, interfaceNumber, *outcome.stale, due);
    if (outcome.answer) Deliver(bus, id, interfaceNumber, *outcome.answer, due);
}

bool DeviceFirmware::OnSetOutputReport(hid::VirtualHidBus& bus, hid::VirtualDeviceId id,
                                       int interfaceNumber, std::span<const uint8_t> report) {
    OnOutputReport(bus, id, interfaceNumber, report);
    return true;
}

void DeviceFirmware::Deliver(hid::VirtualHidBus& bus, hid::VirtualDeviceId id, int interfaceNumber,
                             const CommandFrame& answer, std::chrono::steady_clock::time_point due) {
    if (latencyUs_.load(std::memory_order_relaxed) <= 0) {
        bus.SendInput(id, interfaceNumber, answer);
        return;
    }
    scheduler_.Schedule(due, bus.shared_from_this(), id, interfaceNumber,
                        std::vector<uint8_t>(answer.begin(), answer.end()));
}

void DeviceFirmware::Unplug(Appearance appearance) {
    auto device = device_.lock();
    if (!device) return;
    if (appearance == Appearance::Cable) device->UnplugCable();
    else if (appearance == Appearance::Receiver) device->UnplugReceiver();
}

DeviceFirmware::Outcome DeviceFirmware::HandleCommand(const CommandFrame& request,
                                                      const ReportRoute& route) {
    const uint8_t command = request[frame::kCommand];
    Outcome outcome;
    std::lock_guard lock(mutex_);
    log_.push_back(request);
    if (log_.size() > kLogLimit) log_.pop_front();
    ++frameCount_;

    const bool unreachable = route.appearance == Appearance::Receiver && !route.linkUp;
    const std::optional<FaultAction> fault = faults_.Take(command);
    if (unreachable || fault == FaultAction::LinkDown) {
        // The receiver answers for a device it cannot reach.
        CommandFrame answer{};
        frame::Build(answer.data(), frame::kLinkDownEcho, 0, 0);
        outcome.answer = answer;
        return outcome;
    }
    if (fault == FaultAction::Unplug) {
        outcome.unplug = true;
        return outcome;
    }
    if (fault == FaultAction::StatusFailed || fault == FaultAction::StatusBusy) {
        outcome.answer = AnswerTo(request, fault == FaultAction::StatusFailed ? frame::kStatusFailed
                                                                             : frame::kStatusBusy);
        Seal(*outcome.answer);
        return outcome;
    }
    if (fault == FaultAction::StaleAnswer) {
        // An answer left over from an earlier command; it must not echo this one.
        CommandFrame stale{};
        if (lastAnswer_ && (*lastAnswer_)[frame::kCommand] != command) {
            stale = *lastAnswer_;
        } else {
            frame::Build(stale.data(), command == cmd::kBeginSession ? cmd::kEndSession
                                                                    : cmd::kBeginSession, 0, 0);
        }
        outcome.stale = stale;
    }
    CommandFrame answer = Execute(request, route);
    lastAnswer_ = answer;
    if (fault != FaultAction::LoseAnswer) outcome.answer = answer;
    return outcome;
}

CommandFrame DeviceFirmware::Execute(const CommandFrame& request, const ReportRoute& route) {
    const uint8_t command = request[frame::kCommand];
    const uint8_t length = request[frame::kLength];
    const uint16_t address = frame::Address(request.data());
    if (!frame::ChecksumValid(request.data()) || length > frame::kMaxPayload) {
        CommandFrame answer = AnswerTo(request, frame::kStatusFailed);
        Seal(answer);
        return answer;
    }
    CommandFrame answer = AnswerTo(request, frame::kStatusOk);
    bool ok = true;
    switch (command) {
        case cmd::kBeginSession: sessionOpen_ = true; break;
        case cmd::kEndSession: sessionOpen_ = false; break;
        case cmd::kTakeLightControl: hostLightControl_ = true; break;
        // Only a device that answers is reached, so the link is up.
        case cmd::kQueryWirelessLink: answer[frame::kPayload] = frame::kLinkUp; break;
        default: {
            const CommandTarget* target = TargetOf(command);
            if (!target) {
                ok = false;
                break;
            }
            if (command == cmd::kReadPowerStatus) {
                auto& power = memory_.Region(MemoryRegion::Power);
                const uint8_t level = power[memory::kPowerBatteryLevel];
                uint8_t state = level < 100 ? memory::kCharging : memory::kExternalPower;
                if (route.appearance == Appearance::Receiver) state = memory::kOnBattery;
                power[memory::kPowerState] = forcedPowerState_.value_or(state);
            }
            if (target->write) {
                ok = memory_.Write(target->region, address, request.data() + frame::kPayload, length);
                if (ok && command == cmd::kStreamLightFrame) {
                    ++chunkCount_;
                    if (address == 0) ++framesStarted_;
                }
            } else {
                ok = memory_.Read(target->region, address, answer.data() + frame::kPayload, length);
            }
        }
    }
    if (!ok) {
        answer = AnswerTo(request, frame::kStatusFailed);
    }
    Seal(answer);
    return answer;
}

void DeviceFirmware::HandleHeadsetLight(std::span<const uint8_t> report) {
    if (report.size() < kHeadsetLightReportSize) return;
    int controller;
    if (report[1] == 0x22) controller = 0;
    else if (report[1] == 0x44) controller = 1;
    else return;
    // Blocks 0xAA..0xAC carry lights 0..6 of red, green, blue; 0xAD..0xAF lights 7..12.
    const uint8_t block = report[2];
    if (block < 0xAA || block > 0xAF) return;
    const bool upper = block >= 0xAD;
    const int plane = (block - 0xAA) % 3;
    const int first = upper ? 7 : 0;
    const int count = upper ? 6 : 7;
    std::lock_guard lock(mutex_);
    for (int i = 0; i < count; ++i) headset_.colour[controller][first + i][plane] = report[4 + i];
    ++headset_.reportCount;
}

void DeviceFirmware::SetLatency(std::chrono::microseconds perReport) {
    latencyUs_.store(perReport.count(), std::memory_order_relaxed);
}

void DeviceFirmware::AddFault(const FaultRule& rule) { faults_.Add(rule); }

void DeviceFirmware::ClearFaults() { faults_.Clear(); }

std::vector<uint8_t> DeviceFirmware::Snapshot(MemoryRegion region) const {
    std::lock_guard lock(mutex_);
    return memory_.Region(region);
}

bool DeviceFirmware::Poke(MemoryRegion region, uint32_t address, std::span<const uint8_t> bytes) {
    std::lock_guard lock(mutex_);
    auto& target = memory_.Region(region);
    if (address > target.size() || bytes.size() > target.size() - address) return false;
    std::copy(bytes.begin(), bytes.end(), target.begin() + address);
    return true;
}

std::vector<uint8_t> DeviceFirmware::SettingsRecord(int profile) const {
    std::lock_guard lock(mutex_);
    return memory_.SettingsRecord(profile);
}

uint8_t DeviceFirmware::ActiveProfile() const {
    std::lock_guard lock(mutex_);
    return memory_.ActiveProfile();
}

void DeviceFirmware::ResetToFactory() {
    std::lock_guard lock(mutex_);
    memory_.ResetToFactory();
    forcedPowerState_.reset();
    sessionOpen_ = false;
    hostLightControl_ = false;
}

void DeviceFirmware::SetBattery(uint8_t level, std::optional<uint8_t> forcedState) {
    std::lock_guard lock(mutex_);
    memory_.Region(MemoryRegion::Power)[memory::kPowerBatteryLevel] = std::min<uint8_t>(level, 100);
    forcedPowerState_ = forcedState;
}

void DeviceFirmware::SetPhone(uint8_t kind) {
    std::lock_guard lock(mutex_);
    memory_.Region(MemoryRegion::Power)[memory::kPowerPhone] = kind;
}

std::vector<CommandFrame> DeviceFirmware::ReceivedFrames() const {
    std::lock_guard lock(mutex_);
    return {log_.begin(), log_.end()};
}

uint64_t DeviceFirmware::FrameCount() const {
    std::lock_guard lock(mutex_);
    return frameCount_;
}

void DeviceFirmware::ClearLog() {
    std::lock_guard lock(mutex_);
    log_.clear();
}

bool DeviceFirmware::SessionOpen() const {
    std::lock_guard lock(mutex_);
    return sessionOpen_;
}

bool DeviceFirmware::HostLightControl() const {
    std::lock_guard lock(mutex_);
    return hostLightControl_;
}

StreamedLightFrame DeviceFirmware::LightFrame() const {
    std::lock_guard lock(mutex_);
    return {memory_.Region(MemoryRegion::LightFrame), framesStarted_, chunkCount_};
}

HeadsetLights DeviceFirmware::HeadsetLightState() const {
    std::lock_guard lock(mutex_);
    return headset_;
}

bool DeviceFirmware::SendNotification(uint16_t code) {
    auto device = device_.lock();
    if (!device) return false;
    const uint8_t report[3] = {EventReportId(model_), static_cast<uint8_t>(code),
                               static_cast<uint8_t>(code >> 8)};
    return device->SendInput(EventInterface(model_), report);
}

bool DeviceFirmware::SwitchProfile(uint8_t profile) {
    {
        std::lock_guard lock(mutex_);
        if (profile >= memory_.Settings().profileCount) return false;
        memory_.SetActiveProfile(profile);
    }
    return SendNotification(static_cast<uint16_t>(notify::kProfileSwitch | (profile & 0x0F)));
}

bool DeviceFirmware::KeyEvent(int led, bool pressed) {
    if (model_ != SimModel::Keyboard || led < 0 || led >= 256) return false;
    return SendNotification(
        static_cast<uint16_t>((pressed ? notify::kKeyPressedBase : notify::kKeyReleasedBase) + led));
}

}  // namespace koru::sim

namespace koru::sim {

std::shared_ptr<hid::VirtualFirmware> MakeDeviceFirmware(const std::shared_ptr<SimulatedDevice>& device) {
    return std::make_shared<DeviceFirmware>(device, device->Model());
}

std::shared_ptr<DeviceFirmware> FirmwareOf(const std::shared_ptr<SimulatedDevice>& device) {
    return device ? std::dynamic_pointer_cast<DeviceFirmware>(device->Firmware()) : nullptr;
}

}  // namespace koru::sim
