#include "catalogue/InterfaceLister.h"

#include "catalogue/UdevChangeWatch.h"
#include "platform/hid/LinuxHidrawBackend.h"

namespace koru {

struct InterfaceLister::Source {
    std::shared_ptr<hid::Backend> backend;
    std::unique_ptr<UdevChangeWatch> watch;  // null: list every time
    std::vector<std::string> paths;          // the last listing
    bool listed = false;
    Clock::time_point listedAt;

    bool NeedsListing(Clock::time_point now) {
        if (!watch || !listed) return true;
        // The watch is drained even when the safety interval decides.
        const bool changed = watch->Changed();
        return changed || now - listedAt >= kSafetyInterval;
    }
};

InterfaceLister::InterfaceLister() = default;
InterfaceLister::~InterfaceLister() = default;

void InterfaceLister::Follow(const std::vector<std::shared_ptr<hid::Backend>>& backends) {
    bool same = backends.size() == sources_.size();
    for (size_t i = 0; same && i < backends.size(); ++i) same = backends[i] == sources_[i].backend;
    if (same) return;
    std::vector<Source> sources;
    for (const auto& backend : backends) {
        Source source;
        // Reuse the watch of a backend that stays.
        for (auto& old : sources_)
            if (old.backend == backend) source = std::move(old);
        source.backend = backend;
        if (!source.watch && std::dynamic_pointer_cast<hid::LinuxHidrawBackend>(backend))
            source.watch = UdevChangeWatch::Create();
        sources.push_back(std::move(source));
    }
    sources_ = std::move(sources);
}

bool InterfaceLister::List(std::vector<std::string>& paths) {
    paths.clear();
    Follow(hid::Backends());
    const Clock::time_point now = Clock::now();
    std::vector<hid::InterfaceInfo> interfaces;
    for (Source& source : sources_) {
        if (source.NeedsListing(now)) {
            interfaces.clear();
            if (!source.backend->Enumerate(interfaces)) {
                source.listed = false;
                paths.clear();
                return false;
            }
            source.paths.clear();
            for (auto& info : interfaces) source.paths.push_back(std::move(info.path));
            source.listed = true;
            source.listedAt = now;
        }
        paths.insert(paths.end(), source.paths.begin(), source.paths.end());
    }
    return true;
}

}  // namespace koru
