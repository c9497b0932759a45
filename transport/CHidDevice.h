#pragma once
// One HID interface: path enumeration, open, report read and write with a
// time-out and a cancel signal, and decoding of input reports into usages and values.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/hid/HidBackend.h"
#include "platform/hid/HidParser.h"

constexpr uint32_t INFINITE = koru::hid::kInfiniteTimeout;
constexpr size_t kMaxDevicePath = 260;

using HidReportType = koru::hid::ReportType;
using HidStatus = koru::hid::Status;
using HidPreparsedData = koru::hid::PreparsedData;
using HidCaps = koru::hid::Caps;

struct HidAttributes {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t versionNumber = 0;
};

// One decoded item of a report: a button capability or one value usage.
struct HidDataEntry {
    uint8_t isButton = 0;
    uint8_t reserved = 0;
    uint16_t usagePage = 0;
    HidStatus status = HidStatus::Success;
    uint32_t reportId = 0;
    bool dataSet = false;
    // button entries
    uint32_t usageMin = 0;
    uint32_t usageMax = 0;
    uint32_t maxUsageListLength = 0;
    std::vector<uint16_t> usageList;
    // value entries
    uint16_t usage = 0;
    uint32_t rawValue = 0;
    int32_t scaledValue = 0;
};

class CHidDevice {
public:
    CHidDevice();
    ~CHidDevice();
    CHidDevice(const CHidDevice&) = delete;
    CHidDevice& operator=(const CHidDevice&) = delete;

    // Replaces the path list with every present HID interface; the cursor goes to 0.
    bool Enumerate();
    // The path at the cursor, then advances; nullptr when empty or exhausted.
    // The string stays owned by the list.
    const char* NextPath();
    void FreePathList();
    int PathCount() const { return static_cast<int>(paths_.size()); }

    bool Open(std::string_view path, bool read, bool write, bool overlapped, bool exclusive);
    bool Reopen();
    // Safe from another thread while Read or Write is blocked: the call returns
    // false, and Close returns only once it has left the I/O.
    void Close();

    bool Read(uint8_t* buffer, uint32_t length, uint32_t* transferred, uint32_t timeoutMs);
    bool Write(const uint8_t* buffer, uint32_t length, uint32_t* transferred, uint32_t timeoutMs);
    // One output report through the control pipe.
    bool SetOutputReport(const uint8_t* buffer, uint32_t length);

    bool IsOpen() const;
    const HidCaps& GetCaps() const { return caps_; }
    const HidAttributes& GetAttributes() const { return attributes_; }
    uint32_t GetInterfaceNumber() const { return interfaceNumber_; }
    uint32_t GetCollectionNumber() const { return collectionNumber_; }
    const char* GetDevicePath() const { return devicePath_.c_str(); }
    uint8_t* GetInputReportBuffer() { return tables_[0].reportBuffer.data(); }
    HidDataEntry* GetInputDataEntries() { return tables_[0].entries.data(); }
    uint32_t GetInputDataEntryCount() const { return static_cast<uint32_t>(tables_[0].entries.size()); }
    const HidPreparsedData* GetPreparsedData() const { return preparsed_.get(); }

private:
    struct ReportTables {
        std::vector<uint8_t> reportBuffer;
        std::vector<HidDataEntry> entries;
        std::vector<koru::hid::ButtonCaps> buttonCaps;
        std::vector<koru::hid::ValueCaps> valueCaps;
    };

    bool FillDeviceInfo();
    void ReleaseOpenState();  // cancels pending I/O, waits for it, frees everything of the open
    bool BeginIo(std::atomic<bool>& flag, std::shared_ptr<koru::hid::Connection>& connection);
    void EndIo(std::atomic<bool>& flag);

    std::vector<std::string> paths_;
    uint32_t cursor_ = 0;

    bool openRead_ = false;
    bool openWrite_ = false;
    bool overlapped_ = false;
    bool exclusive_ = false;
    std::string devicePath_;

    // Guards connection_ against Close from another thread; I/O runs outside it.
    mutable std::mutex stateMutex_;
    std::condition_variable ioDone_;
    std::shared_ptr<koru::hid::Connection> connection_;
    std::shared_ptr<const HidPreparsedData> preparsed_;
    HidCaps caps_{};
    HidAttributes attributes_{};
    ReportTables tables_[3];
    uint32_t interfaceNumber_ = 0;
    uint32_t collectionNumber_ = 0;
    std::atomic<bool> reading_{false};
    std::atomic<bool> writing_{false};
};

bool DecodeReport(const uint8_t* report, uint16_t length, HidReportType type, HidDataEntry* entries,
                  uint32_t entryCount, const HidPreparsedData* preparsed);

uint16_t ParseVendorId(std::string_view path);
uint16_t ParseProductId(std::string_view path);
uint16_t ParseInterfaceNumber(std::string_view path);
uint16_t ParseCollectionNumber(std::string_view path);
