// The list of recently used catalogue files, newest first, kept in the
// settings record.
#pragma once

#include "settings.h"

#include <string>

namespace alborx {

// Puts name at the top of the list: an entry equal to it (exact comparison)
// moves up, otherwise every entry moves down one place and the oldest is
// dropped. Empty entries are not treated specially. A name longer than 255
// bytes is not put on the list: cut, it would name another file.
void dodajostatni(std::array<std::string, kRecentCount>& ostatnie, const std::string& name);

} // namespace alborx
