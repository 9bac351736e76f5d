// Any bytes as a settings file: it is read or ignored whole, and a record
// that was read is written and read back unchanged.
#include "fuzz_support.h"
#include "settings.h"

#include <algorithm>
#include <cstring>

using namespace alborx;
using alborx::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const fuzz::MemoryBound memory(size);
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
    // Fields taken straight from the input: a reader that ignored the file
    // would keep the defaults here.
    std::int32_t left = 0;
    std::int32_t darkness = 0;
    std::memcpy(&left, data + 10, 4);
    std::memcpy(&darkness, data + 10 + 3836, 4);
    const std::size_t nameLength = std::min<std::size_t>(data[10 + 912], 255);
    check(settings.oknolewo == left && settings.wyrazistosc == darkness,
          "numbers of the file were not read");
    check(settings.plikbazy ==
              std::string(reinterpret_cast<const char*>(data + 10 + 913), nameLength),
          "the catalogue name of the file was not read");
    check(settings.autozapis == (data[10 + 625] != 0), "a switch of the file was not read");

    const std::vector<std::uint8_t> once = encodeSettings(settings);
    check(once.size() == static_cast<std::size_t>(kSettingsRecordSize), "the record's size");
    check(writeSettingsFile(path, settings), "writing the settings failed");
    TUstawienia back;
    check(readSettingsFile(path, back), "the written settings do not read");
    check(encodeSettings(back) == once, "the written settings read back differently");
    return 0;
}
