// Any bytes as a settings file: it is read or ignored whole, and a record
// that was read is written and read back unchanged.
#include "fuzz_support.h"
#include "settings.h"

#include <cstring>

using namespace alborx;
using alborx::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string path = fuzz::writeScratch("alborx.cfg", data, size);
    TUstawienia defaults;
    ustawdomyslne(defaults);
    TUstawienia settings = defaults;
    const bool read = readSettingsFile(path, settings);
    const bool complete = size >= static_cast<std::size_t>(kSettingsFileSize) &&
                          std::memcmp(data, kSettingsMagic, 10) == 0;
    check(read == complete, "a settings file was read although it is not whole, or the reverse");
    if (!read) {
        check(encodeSettings(settings) == encodeSettings(defaults),
              "an ignored file changed the record");
        return 0;
    }
    const std::vector<std::uint8_t> once = encodeSettings(settings);
    check(once.size() == static_cast<std::size_t>(kSettingsRecordSize), "the record's size");
    check(writeSettingsFile(path, settings), "writing the settings failed");
    TUstawienia back;
    check(readSettingsFile(path, back), "the written settings do not read");
    check(encodeSettings(back) == once, "the written settings read back differently");
    return 0;
}
