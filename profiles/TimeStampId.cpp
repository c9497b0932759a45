#include "profiles/TimeStampId.h"

#include <cstdio>
#include <ctime>
#include <mutex>
#include <sys/stat.h>

namespace {

using Millis = std::chrono::milliseconds;
using TimePoint = std::chrono::time_point<std::chrono::system_clock, Millis>;

std::mutex lastIssuedLock;
TimePoint lastIssued{};

// Strictly later than every identifier this process handed out before.
TimePoint NextMoment() {
  auto now = std::chrono::time_point_cast<Millis>(std::chrono::system_clock::now());
  const std::lock_guard<std::mutex> lock(lastIssuedLock);
  if (now <= lastIssued) now = lastIssued + Millis(1);
  lastIssued = now;
  return now;
}

void ReserveUpTo(TimePoint moment) {
  const std::lock_guard<std::mutex> lock(lastIssuedLock);
  if (moment > lastIssued) lastIssued = moment;
}

bool PathExists(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0;
}

}  // namespace

std::string MakeTimeStampId() { return koru::FormatTimeStampId(NextMoment()); }

namespace koru {

std::string FormatTimeStampId(std::chrono::system_clock::time_point when) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
  std::tm local{};
  localtime_r(&seconds, &local);
  auto millis = std::chrono::duration_cast<Millis>(when.time_since_epoch()).count() % 1000;
  if (millis < 0) millis += 1000;
  char text[64];
  std::snprintf(text, sizeof text, "%d_%02d_%02d_%02d_%02d_%02d_%03d", local.tm_year + 1900, local.tm_mon + 1,
                local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, static_cast<int>(millis));
  return text;
}

std::string MakeUnusedTimeStampId(const std::string& folder, const std::string& extension) {
  TimePoint moment = NextMoment();
  std::string id = FormatTimeStampId(moment);
  while (PathExists(folder + id + extension)) {
    moment += Millis(1);
    id = FormatTimeStampId(moment);
  }
  ReserveUpTo(moment);
  return id;
}

}  // namespace koru
