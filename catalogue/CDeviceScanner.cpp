#include "catalogue/CDeviceScanner.h"

#include <string>

#include "catalogue/DeviceCatalogue.h"
#include "platform/DebugOutput.h"

CDeviceScanner::CDeviceScanner(CInterfaceSlotList& slots, IDeviceEventSink& sink,
                               std::chrono::milliseconds period)
    : slots_(slots), sink_(sink), period_(period) {}

CDeviceScanner::~CDeviceScanner() { Stop(); }

bool CDeviceScanner::Start() {
    std::lock_guard lock(mutex_);
    if (thread_.joinable() || stopRequested_) return false;
    running_ = true;
    thread_ = std::thread(&CDeviceScanner::Run, this);
    return true;
}

void CDeviceScanner::RequestStop() {
    std::lock_guard lock(mutex_);
    stopRequested_ = true;
    changed_.notify_all();
}

void CDeviceScanner::Stop() {
    RequestStop();
    if (thread_.joinable()) thread_.join();
}

bool CDeviceScanner::IsStopRequested() const {
    std::lock_guard lock(mutex_);
    return stopRequested_;
}

bool CDeviceScanner::IsRunning() const {
    std::lock_guard lock(mutex_);
    return running_;
}

bool CDeviceScanner::WaitUntilEnded(std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [this] { return !running_; });
}

bool CDeviceScanner::EndedOnFailure() const {
    std::lock_guard lock(mutex_);
    return endedOnFailure_;
}

void CDeviceScanner::Run() {
    bool firstPass = true;
    bool failed = false;
    std::unique_lock lock(mutex_);
    while (!stopRequested_) {
        lock.unlock();
        failed = !ScanOnce();
        if (firstPass) {
            // Also after a failed pass: the main window waits for this notice
            // before it shows itself.
            firstPass = false;
            sink_.OnFirstPassComplete();
        }
        lock.lock();
        if (failed) break;
        changed_.wait_for(lock, period_, [this] { return stopRequested_; });
    }
    running_ = false;
    endedOnFailure_ = failed;
    changed_.notify_all();
    lock.unlock();
    if (failed) {
        koru::DebugOutput("device scanner: the HID interfaces could not be listed; discovery stops");
    } else {
        koru::DebugOutput("抓取设备线程设定退出");
    }
}

bool CDeviceScanner::ScanOnce() {
    if (!device_) device_ = std::make_unique<CHidDevice>();
    if (slots_.AnyFree() && !EnumerationPass()) return false;
    ProbeConnected();
    return true;
}

bool CDeviceScanner::EnumerationPass() {
    if (!lister_.List(paths_)) return false;
    for (const std::string& path : paths_) OfferPath(path);
    return true;
}

void CDeviceScanner::OfferPath(const std::string& path) {
    InterfaceSlot candidate;
    candidate.vendorId = ParseVendorId(path);
    candidate.productId = ParseProductId(path);
    candidate.interfaceNumber = ParseInterfaceNumber(path);
    candidate.collectionNumber = ParseCollectionNumber(path);
    // Only interfaces that a free slot could take are opened at all: the
    // system's keyboard and mouse collections refuse us, and opening costs.
    if (!slots_.HasFreeSlotFor(candidate.vendorId, candidate.productId,
                               candidate.interfaceNumber, candidate.collectionNumber))
        return;
    if (!device_->Open(path, true, false, true, false)) return;
    candidate.vendorId = device_->GetAttributes().vendorId;
    candidate.productId = device_->GetAttributes().productId;
    candidate.usagePage = device_->GetCaps().usagePage;
    candidate.usage = device_->GetCaps().usage;
    device_->Close();
    const int slot = slots_.Claim(candidate, path);
    if (slot < 0) return;
    if (koru::DebugOutputEnabled())
        koru::DebugOutput("device scanner: slot " + std::to_string(slot) + " attached: " + path);
    sink_.OnInterfaceAttached(slot);
}

void CDeviceScanner::ProbeConnected() {
    for (const auto& [slot, path] : slots_.Connected()) {
        if (koru::hid::PathExists(path)) continue;
        if (!slots_.Release(slot)) continue;
        if (koru::DebugOutputEnabled())
            koru::DebugOutput("device scanner: slot " + std::to_string(slot) + " detached: " + path);
        sink_.OnInterfaceDetached(slot);
    }
}
