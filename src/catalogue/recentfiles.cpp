#include "recentfiles.h"

#include <algorithm>

namespace alborx {

void dodajostatni(std::array<std::string, kRecentCount>& ostatnie, const std::string& name)
{
    // A cut name would lead to another file.
    if (!fitsSettingsString(name))
        return;
    auto found = std::find(ostatnie.begin(), ostatnie.end(), name);
    if (found == ostatnie.end())
        found = ostatnie.end() - 1;
    // Entries above the found one move down one place; the found (or the
    // oldest) entry is overwritten.
    std::move_backward(ostatnie.begin(), found, found + 1);
    ostatnie.front() = name;
}

} // namespace alborx
