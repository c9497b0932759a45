#include "transport/CHidDevice.h"

#include <algorithm>
#include <cctype>

using koru::hid::IoStatus;

namespace {

// Hex digits after a marker found anywhere in the path, ignoring case; 0 when absent.
uint16_t ParseHexAfterMarker(std::string_view path, std::string_view marker) {
    auto lower = [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); };
    auto it = std::search(path.begin(), path.end(), marker.begin(), marker.end(),
                          [&](char a, char b) { return lower(a) == lower(b); });
    if (it == path.end()) return 0;
    uint32_t value = 0;
    for (it += static_cast<std::ptrdiff_t>(marker.size()); it != path.end(); ++it) {
        const char c = lower(*it);
        int digit;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else {
            break;
        }
        value = (value << 4) | static_cast<uint32_t>(digit);
    }
    return static_cast<uint16_t>(value);
}

size_t TypeIndex(HidReportType type) { return static_cast<size_t>(type); }

}  // namespace

uint16_t ParseVendorId(std::string_view path) { return ParseHexAfterMarker(path, "vid_"); }
uint16_t ParseProductId(std::string_view path) { return ParseHexAfterMarker(path, "pid_"); }
uint16_t ParseInterfaceNumber(std::string_view path) { return ParseHexAfterMarker(path, "&mi_"); }
uint16_t ParseCollectionNumber(std::string_view path) { return ParseHexAfterMarker(path, "&col"); }

CHidDevice::CHidDevice() = default;

CHidDevice::~CHidDevice() {
    Close();
    FreePathList();
}

bool CHidDevice::Enumerate() {
    FreePathList();
    std::vector<koru::hid::InterfaceInfo> interfaces;
    if (!koru::hid::EnumerateAll(interfaces)) return false;
    paths_.reserve(interfaces.size());
    for (auto& info : interfaces) paths_.push_back(std::move(info.path));
    return true;
}

const char* CHidDevice::NextPath() {
    if (cursor_ >= paths_.size()) return nullptr;
    return paths_[cursor_++].c_str();
}

void CHidDevice::FreePathList() {
    paths_.clear();
    paths_.shrink_to_fit();
    cursor_ = 0;
}

bool CHidDevice::Open(std::string_view path, bool read, bool write, bool overlapped, bool exclusive) {
    Close();
    openRead_ = read;
    openWrite_ = write;
    overlapped_ = overlapped;
    exclusive_ = exclusive;
    devicePath_.assign(path.substr(0, kMaxDevicePath - 1));
    return Reopen();
}

bool CHidDevice::Reopen() {
    ReleaseOpenState();
    koru::hid::OpenMode mode{openRead_, openWrite_, exclusive_};
    std::shared_ptr<koru::hid::Connection> connection =
        koru::hid::OpenPath(devicePath_, mode, nullptr);
    if (!connection) return false;
    {
        std::lock_guard lock(stateMutex_);
        connection_ = std::move(connection);
    }
    if (!FillDeviceInfo()) {
        ReleaseOpenState();
        return false;
    }
    return true;
}

bool CHidDevice::FillDeviceInfo() {
    std::shared_ptr<koru::hid::Connection> connection;
    {
        std::lock_guard lock(stateMutex_);
        connection = connection_;
    }
    if (!connection) return false;
    const auto& info = connection->Info();
    std::vector<koru::hid::TopLevelCollection> collections;
    if (!koru::hid::ParseReportDescriptor(info.reportDescriptor, collections) || collections.empty()) {
        return false;
    }
    const size_t index = info.collectionNumber > 0 ? static_cast<size_t>(info.collectionNumber - 1) : 0;
    if (index >= collections.size()) return false;
    preparsed_ = collections[index].preparsed;
    caps_ = preparsed_->GetCaps();
    attributes_ = {info.vendorId, info.productId, info.versionNumber};

    const uint16_t reportLengths[3] = {caps_.inputReportByteLength, caps_.outputReportByteLength,
                                       caps_.featureReportByteLength};
    for (HidReportType type : {HidReportType::Input, HidReportType::Output, HidReportType::Feature}) {
        ReportTables& t = tables_[TypeIndex(type)];
        t.reportBuffer.assign(reportLengths[TypeIndex(type)], 0);
        t.buttonCaps = preparsed_->GetSpecificButtonCaps(type);
        t.valueCaps = preparsed_->GetSpecificValueCaps(type);

        // One entry per button capability and one per value usage. An inverted
        // range yields no entries, so it must not be counted either.
        uint16_t valueUsages = 0;
        for (const auto& v : t.valueCaps) {
            if (!v.isRange) {
                valueUsages = static_cast<uint16_t>(valueUsages + 1);
            } else if (v.usageMin <= v.usageMax) {
                valueUsages = static_cast<uint16_t>(valueUsages + (v.usageMax - v.usageMin + 1));
            }
        }
        const size_t capacity = t.buttonCaps.size() + valueUsages;
        t.entries.clear();
        t.entries.reserve(capacity);
        for (const auto& b : t.buttonCaps) {
            HidDataEntry e;
            e.isButton = 1;
            e.usagePage = b.usagePage;
            e.reportId = b.reportId;
            e.usageMin = b.usageMin;
            e.usageMax = b.isRange ? b.usageMax : b.usageMin;
            e.maxUsageListLength = preparsed_->MaxUsageListLength(type, b.usagePage);
            e.usageList.assign(e.maxUsageListLength, 0);
            t.entries.push_back(std::move(e));
        }
        for (const auto& v : t.valueCaps) {
            const uint32_t first = v.usageMin;
            const uint32_t last = v.isRange ? v.usageMax : v.usageMin;
            for (uint32_t usage = first; usage <= last && t.entries.size() < capacity; ++usage) {
                HidDataEntry e;
                e.usagePage = v.usagePage;
                e.reportId = v.reportId;
                e.usage = static_cast<uint16_t>(usage);
                t.entries.push_back(std::move(e));
            }
        }
    }
    interfaceNumber_ = ParseInterfaceNumber(devicePath_);
    collectionNumber_ = ParseCollectionNumber(devicePath_);
    return true;
}

void CHidDevice::ReleaseOpenState() {
    std::shared_ptr<koru::hid::Connection> released;
    {
        std::unique_lock lock(stateMutex_);
        if (connection_ && (reading_ || writing_)) {
            connection_->Cancel();
            ioDone_.wait(lock, [&] { return !reading_ && !writing_; });
        }
        released = std::move(connection_);
        connection_.reset();
        preparsed_.reset();
        for (auto& t : tables_) t = ReportTables{};
        caps_ = HidCaps{};
        attributes_ = HidAttributes{};
        interfaceNumber_ = 0;
        collectionNumber_ = 0;
    }
}

void CHidDevice::Close() { ReleaseOpenState(); }

bool CHidDevice::IsOpen() const {
    std::lock_guard lock(stateMutex_);
    return connection_ != nullptr;
}

bool CHidDevice::BeginIo(std::atomic<bool>& flag, std::shared_ptr<koru::hid::Connection>& connection) {
    std::lock_guard lock(stateMutex_);
    if (!connection_) return false;
    connection = connection_;
    flag = true;
    return true;
}

void CHidDevice::EndIo(std::atomic<bool>& flag) {
    std::lock_guard lock(stateMutex_);
    flag = false;
    ioDone_.notify_all();
}

bool CHidDevice::Read(uint8_t* buffer, uint32_t length, uint32_t* transferred, uint32_t timeoutMs) {
    if (transferred) *transferred = 0;
    if (!buffer || length == 0) return false;
    std::shared_ptr<koru::hid::Connection> connection;
    if (!BeginIo(reading_, connection)) return false;
    const auto result = connection->Read({buffer, length}, timeoutMs);
    EndIo(reading_);
    if (result.status != IoStatus::Done) return false;
    if (transferred) *transferred = static_cast<uint32_t>(result.transferred);
    return true;
}

bool CHidDevice::Write(const uint8_t* buffer, uint32_t length, uint32_t* transferred,
                       uint32_t timeoutMs) {
    if (transferred) *transferred = 0;
    if (!buffer || length == 0) return false;
    std::shared_ptr<koru::hid::Connection> connection;
    if (!BeginIo(writing_, connection)) return false;
    const auto result = connection->Write({buffer, length}, timeoutMs);
    EndIo(writing_);
    if (result.status != IoStatus::Done) return false;
    if (transferred) *transferred = static_cast<uint32_t>(result.transferred);
    return true;
}

bool CHidDevice::SetOutputReport(const uint8_t* buffer, uint32_t length) {
    if (!buffer || length == 0) return false;
    std::shared_ptr<koru::hid::Connection> connection;
    if (!BeginIo(writing_, connection)) return false;
    const bool ok = connection->SetOutputReport({buffer, length});
    EndIo(writing_);
    return ok;
}

bool DecodeReport(const uint8_t* report, uint16_t length, HidReportType type, HidDataEntry* entries,
                  uint32_t entryCount, const HidPreparsedData* preparsed) {
    if (!report || length == 0 || !preparsed || (!entries && entryCount > 0)) return false;
    const std::span<const uint8_t> bytes(report, length);
    const uint32_t reportId = report[0];
    for (uint32_t i = 0; i < entryCount; ++i) {
        HidDataEntry& e = entries[i];
        if (e.reportId != reportId) continue;
        if (e.isButton) {
            const uint32_t capacity = static_cast<uint32_t>(e.usageList.size());
            uint32_t count = capacity;
            e.status = preparsed->GetUsages(type, e.usagePage, 0, e.usageList.data(), &count, bytes);
            if (e.status != HidStatus::Success && e.status != HidStatus::BufferTooSmall) count = 0;
            count = std::min(count, capacity);
            uint32_t kept = 0;
            for (uint32_t k = 0; k < count; ++k) {
                const uint16_t usage = e.usageList[k];
                if (usage >= e.usageMin && usage <= e.usageMax) e.usageList[kept++] = usage;
            }
            if (kept < capacity) e.usageList[kept] = 0;
        } else {
            e.status = preparsed->GetUsageValue(type, e.usagePage, 0, e.usage, &e.rawValue, bytes);
            if (e.status != HidStatus::Success) return false;
            e.status = preparsed->GetScaledUsageValue(type, e.usagePage, 0, e.usage, &e.scaledValue, bytes);
        }
        e.dataSet = true;
    }
    return true;
}
