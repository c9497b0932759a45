#pragma once
// The scanner thread: finds the catalogue's interfaces among the machine's HID
// interfaces about ten times a second, fills the slot list, probes the slots it
// holds, and reports every attach and detach to its sink. Its private
// CHidDevice opens each candidate briefly to read its attributes and usage;
// the listing itself comes from InterfaceLister, which spares the sysfs walk
// while udev reports no change.
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "catalogue/IDeviceEventSink.h"
#include "catalogue/InterfaceLister.h"
#include "catalogue/InterfaceSlotList.h"
#include "transport/CHidDevice.h"

class CDeviceScanner {
public:
    static constexpr std::chrono::milliseconds kDefaultPeriod{100};

    // The slot list and the sink must outlive the scanner.
    CDeviceScanner(CInterfaceSlotList& slots, IDeviceEventSink& sink,
                   std::chrono::milliseconds period = kDefaultPeriod);
    // Stops and joins the thread.
    ~CDeviceScanner();
    CDeviceScanner(const CDeviceScanner&) = delete;
    CDeviceScanner& operator=(const CDeviceScanner&) = delete;

    // Starts the thread; false when it was started before.
    bool Start();
    // Signals the thread and returns at once. A sink that waits for another
    // thread should stop waiting once this has been called (IsStopRequested),
    // or Stop would wait for it forever.
    void RequestStop();
    // Signals the thread and waits until it has ended.
    void Stop();
    bool IsStopRequested() const;
    // True from Start until the loop ends (stop, or a failed enumeration).
    bool IsRunning() const;
    // Waits until the loop has ended; false when it still runs after `timeout`.
    bool WaitUntilEnded(std::chrono::milliseconds timeout) const;
    // True when the loop ended because the machine's interfaces could not be listed.
    bool EndedOnFailure() const;

    // One pass of the loop on the calling thread: an enumeration when some slot
    // is free, then the presence probe of the connected slots. False when the
    // enumeration failed. Only while the thread is not running.
    bool ScanOnce();

private:
    void Run();
    bool EnumerationPass();
    void ProbeConnected();
    void OfferPath(const std::string& path);

    CInterfaceSlotList& slots_;
    IDeviceEventSink& sink_;
    const std::chrono::milliseconds period_;
    std::unique_ptr<CHidDevice> device_;  // private endpoint, created on first use
    koru::InterfaceLister lister_;
    std::vector<std::string> paths_;

    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    bool stopRequested_ = false;
    bool running_ = false;
    bool endedOnFailure_ = false;
    std::thread thread_;
};
