#pragma once
// Time-stamp identifiers ("2024_03_05_14_07_09_042") name profile files and
// macros. Within one process they never repeat: a second call in the same
// millisecond gets the next millisecond.
#include <chrono>
#include <string>

std::string MakeTimeStampId();

namespace koru {

// The identifier for a given moment, in local time.
std::string FormatTimeStampId(std::chrono::system_clock::time_point when);

// A new identifier such that folder + id + extension does not exist yet; an
// identifier that names an existing file is bumped by a millisecond until free.
std::string MakeUnusedTimeStampId(const std::string& folder, const std::string& extension);

}  // namespace koru
