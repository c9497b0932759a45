#pragma once
// One running instance per user session. Where a session bus exists, the
// instance is the owner of the program's bus name, which also carries the
// message service; a second start asks the owner to show itself. Without a
// session bus an flock()ed file under $XDG_RUNTIME_DIR (else /tmp/koru7315-<uid>)
// stands in, and a second start just ends. The entry point calls Claim before
// it creates any window and returns 0 when it is the second instance.
#include <memory>
#include <string>

#include "platform/qt/BusNames.h"
#include "platform/qt/MessagePolicy.h"
#include "platform/qt/MessageService.h"

namespace koru {

enum class InstanceRole { First, Second };

struct SingleInstanceOptions {
  BusEndpoint endpoint = ProgramEndpoint();
  std::string lockName = "KORU7315";
  std::string lockFolder;  // empty: $XDG_RUNTIME_DIR, else /tmp/koru7315-<uid>
  bool useSessionBus = true;
};

class SingleInstance {
 public:
  // Needs a QCoreApplication (for the bus). Never fails: what cannot be checked
  // counts as the first instance.
  static std::unique_ptr<SingleInstance> Claim(const SingleInstanceOptions& options = {},
                                               MessagePolicy policy = ProgramMessagePolicy());
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  InstanceRole Role() const { return role_; }
  // The program's message service; null without a session bus or for a second instance.
  MessageService* Messages() const { return messages_.get(); }

  // The lock file of the fallback, for tests and diagnostics.
  static std::string LockFilePath(const SingleInstanceOptions& options);

 private:
  SingleInstance() = default;
  bool TakeLockFile(const SingleInstanceOptions& options);

  InstanceRole role_ = InstanceRole::First;
  std::unique_ptr<MessageService> messages_;
  int lockFd_ = -1;
};

}  // namespace koru
