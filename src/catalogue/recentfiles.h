// The list of recently used catalogue files, newest first, kept in the
// settings record.
#pragma once

#include "settings.h"

#include <string>

namespace alborx {

// Puts name at the top of the list: an entry equal to it (exact comparison)
// moves up, otherwise every entry moves down one place and the oldest is
// dropped. Empty entries are not treated specially. The name is cut to 255
// bytes.
void dodajostatni(std::array<std::string, kRecentCount>& ostatnie, const std::string& name);

} // namespace alborx
