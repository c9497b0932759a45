#include "platform/qt/SingleInstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <utility>

#include <QDBusConnection>

#include "platform/DebugOutput.h"
#include "platform/RegisteredMessages.h"
#include "platform/qt/MessageClient.h"

namespace koru {
namespace {

void Trace(const std::string& line) {
  if (DebugOutputEnabled()) DebugOutput(line);
}

// A private folder of ours: created 0700, and refused when someone else owns it.
bool PrivateFolder(const std::string& path) {
  if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return false;
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) return false;
  return S_ISDIR(info.st_mode) && info.st_uid == ::getuid();
}

// The folder of the lock file, and whether it is the shared-/tmp fallback that we
// must create and check ourselves.
std::pair<std::string, bool> LockFolder(const SingleInstanceOptions& options) {
  if (!options.lockFolder.empty()) return {options.lockFolder, false};
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime && runtime[0] == '/') return {runtime, false};
  return {"/tmp/koru7315-" + std::to_string(::getuid()), true};
}

}  // namespace

std::string SingleInstance::LockFilePath(const SingleInstanceOptions& options) {
  return LockFolder(options).first + "/" + options.lockName + ".lock";
}

std::unique_ptr<SingleInstance> SingleInstance::Claim(const SingleInstanceOptions& options,
                                                      MessagePolicy policy) {
  std::unique_ptr<SingleInstance> instance(new SingleInstance);
  if (options.useSessionBus) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected()) {
      auto service = std::make_unique<MessageService>(bus, options.endpoint, std::move(policy));
      // Serve the object before owning the name, so that no call finds the name without it.
      service->Publish();
      switch (service->ClaimName()) {
        case NameClaim::Owned:
          instance->messages_ = std::move(service);
          return instance;
        case NameClaim::OwnedByOther: {
          instance->role_ = InstanceRole::Second;
          const BusMessage show{std::string(kShowRequestMessage), 0, 1, {}};
          if (!PostBusMessage(bus, options.endpoint, show))
            Trace("the running instance did not take the show request");
          return instance;
        }
        case NameClaim::Failed:
          break;
      }
    }
    Trace("no session bus: single instance by lock file");
  }
  if (!instance->TakeLockFile(options)) {
    instance->role_ = InstanceRole::Second;
    Trace("another instance runs; without a session bus it cannot be asked to show itself");
  }
  return instance;
}

bool SingleInstance::TakeLockFile(const SingleInstanceOptions& options) {
  const auto [folder, shared] = LockFolder(options);
  const std::string path = LockFilePath(options);
  if (shared && !PrivateFolder(folder)) {
    Trace("cannot use the lock folder " + folder);
    return true;
  }
  lockFd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (lockFd_ < 0) {
    Trace("cannot open the lock file " + path);
    return true;  // what cannot be checked counts as the first instance
  }
  if (::flock(lockFd_, LOCK_EX | LOCK_NB) == 0) return true;
  const bool held = errno == EWOULDBLOCK;
  ::close(lockFd_);
  lockFd_ = -1;
  return !held;
}

SingleInstance::~SingleInstance() {
  messages_.reset();
  if (lockFd_ >= 0) ::close(lockFd_);
}

}  // namespace koru
