#pragma once
// OS side of HID: what CHidDevice needs of the machine and nothing more.
// Every backend names its interfaces with paths of the Windows form
//   \\?\hid#vid_VVVV&pid_PPPP[&mi_NN][&colNN]#<instance>#{4d1e55b2-f16f-11cf-88cb-001111000030}
// so that the path parsers and the catalogue read them alike (docs/architecture.md).
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace koru::hid {

struct InterfaceInfo {
    std::string path;
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t versionNumber = 0;
    int interfaceNumber = -1;  // USB interface; -1 when unknown
    int collectionNumber = 0;  // 1-based top-level collection; 0 when the interface has one
    std::vector<uint8_t> reportDescriptor;  // the whole interface's descriptor
};

struct OpenMode {
    bool read = false;
    bool write = false;
    bool exclusive = false;
};

enum class OpenError { None, NotFound, AccessDenied, Busy, Other };

enum class IoStatus { Done, TimedOut, Cancelled, Failed };

struct IoResult {
    IoStatus status = IoStatus::Failed;
    size_t transferred = 0;
};

constexpr uint32_t kInfiniteTimeout = 0xFFFFFFFFu;

// One open interface (or collection of an interface).
class Connection {
public:
    virtual ~Connection() = default;
    // The descriptor of the interface this connection belongs to, and the
    // attributes; valid as long as the connection lives.
    virtual const InterfaceInfo& Info() const = 0;
    // Reads one input report (report-ID byte first; 0 when the interface uses no IDs)
    // into `buffer`, waiting up to `timeoutMs`. Cancel() from another thread ends the wait.
    virtual IoResult Read(std::span<uint8_t> buffer, uint32_t timeoutMs) = 0;
    // Writes one output report through the interrupt pipe.
    virtual IoResult Write(std::span<const uint8_t> report, uint32_t timeoutMs) = 0;
    // Sends one output report through the control pipe (SET_REPORT).
    virtual bool SetOutputReport(std::span<const uint8_t> report) = 0;
    // Makes a pending (or the next) Read or Write return Cancelled. Thread-safe.
    virtual void Cancel() = 0;
};

class Backend {
public:
    virtual ~Backend() = default;
    // Appends the present interfaces. False when the OS could not be asked.
    virtual bool Enumerate(std::vector<InterfaceInfo>& out) = 0;
    // True when the path still names a present interface (cheap; no open).
    virtual bool Exists(const std::string& path) = 0;
    // Opens a path this backend named; nullptr with a reason otherwise.
    virtual std::unique_ptr<Connection> Open(const std::string& path, OpenMode mode,
                                             OpenError* error) = 0;
    // True when the path is one of this backend's.
    virtual bool Owns(const std::string& path) const = 0;
};

// The backends in use, asked in order. By default: the Linux hidraw backend,
// then the in-process virtual bus. Tests set the virtual bus alone.
void SetBackends(std::vector<std::shared_ptr<Backend>> backends);
std::vector<std::shared_ptr<Backend>> Backends();

bool EnumerateAll(std::vector<InterfaceInfo>& out);
bool PathExists(const std::string& path);
std::unique_ptr<Connection> OpenPath(const std::string& path, OpenMode mode, OpenError* error);

// Builds the Windows-form path described above.
std::string MakeInterfacePath(uint16_t vendorId, uint16_t productId, int interfaceNumber,
                              bool multipleInterfaces, int collectionNumber,
                              const std::string& instance);

}  // namespace koru::hid
