#include "discreading.h"

#include <algorithm>
#include <array>
#include <discid/discid.h>
#include <filesystem>
#include <memory>

namespace alborx {

namespace {

struct DiscIdFree
{
    void operator()(DiscId* disc) const { discid_free(disc); }
};
using DiscHandle = std::unique_ptr<DiscId, DiscIdFree>;

Disc identified(DiscId* disc)
{
    return {DiscStatus::Read, discid_get_id(disc), discid_get_toc_string(disc), {}};
}

bool exists(const std::string& path)
{
    std::error_code error;
    return std::filesystem::exists(path, error);
}

} // namespace

Disc discOfToc(const DiscToc& toc)
{
    // libdiscid takes 100 offsets: the lead-out, then tracks 1..99.
    std::array<int, 100> offsets{};
    const bool fits = toc.first >= 1 && toc.last >= toc.first && toc.last <= 99 &&
                      toc.offsets.size() == static_cast<std::size_t>(toc.last - toc.first + 1);
    if (!fits)
        return {DiscStatus::BadToc, {}, {}, "Niepoprawny spis utworów"};
    offsets[0] = toc.leadOut;
    std::copy(toc.offsets.begin(), toc.offsets.end(),
              offsets.begin() + static_cast<std::ptrdiff_t>(toc.first));
    const DiscHandle disc(discid_new());
    if (!discid_put(disc.get(), toc.first, toc.last, offsets.data()))
        return {DiscStatus::BadToc, {}, {}, discid_get_error_msg(disc.get())};
    return identified(disc.get());
}

std::vector<std::string> cdDrives()
{
    std::vector<std::string> drives;
    const std::string standard = discid_get_default_device();
    if (exists(standard))
        drives.push_back(standard);
    for (int number = 0; number < 16; ++number) {
        const std::string path = "/dev/sr" + std::to_string(number);
        std::error_code error;
        // The default device is often a link to one of these.
        if (exists(path) && !std::filesystem::equivalent(path, standard, error))
            drives.push_back(path);
    }
    return drives;
}

Disc readDisc(const std::string& device)
{
    const std::string path = device.empty() ? discid_get_default_device() : device;
    if (!exists(path))
        return {DiscStatus::NoDrive, {}, {}, {}};
    const DiscHandle disc(discid_new());
    if (discid_read_sparse(disc.get(), path.c_str(), DISCID_FEATURE_READ))
        return identified(disc.get());
    const std::string error = discid_get_error_msg(disc.get());
    // Linux reports an empty drive as "No medium found" (ENOMEDIUM).
    const bool empty = error.find("medium") != std::string::npos;
    return {empty ? DiscStatus::NoDisc : DiscStatus::Unreadable, {}, {}, error};
}

} // namespace alborx
