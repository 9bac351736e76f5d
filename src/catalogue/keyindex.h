#pragma once

#include "albumtable.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace alborx {

// A map from keys to numbers made once for a lookup of many keys: open
// addressing in one array of eight-byte slots, so that no key costs an
// allocation of its own and a lookup touches one or two neighbouring slots.
// The first number given for a key stays.
class KeyIndex
{
public:
    explicit KeyIndex(const std::vector<RowKey>& keys)
    {
        std::size_t size = 16;
        while (size < keys.size() * 2)
            size *= 2;
        slots_.assign(size, Slot{});
        for (std::size_t i = 0; i < keys.size(); ++i) {
            Slot& slot = slots_[slotOf(keys[i])];
            if (slot.index == kFree)
                slot = {keys[i], static_cast<std::uint32_t>(i)};
        }
    }

    // The number given for a key, if it was given.
    std::optional<std::size_t> find(RowKey key) const
    {
        const Slot& slot = slots_[slotOf(key)];
        return slot.index != kFree ? std::optional<std::size_t>(slot.index) : std::nullopt;
    }

private:
    static constexpr std::uint32_t kFree = UINT32_MAX;

    struct Slot
    {
        RowKey key = 0;
        std::uint32_t index = kFree;
    };

    // The slot of a key, or the free one where it would go.
    std::size_t slotOf(RowKey key) const
    {
        const std::size_t mask = slots_.size() - 1;
        // Keys are handed out one after another; a multiplicative hash
        // spreads them over the table.
        std::size_t at = (static_cast<std::size_t>(key) * 0x9E3779B97F4A7C15ull) >> 20 & mask;
        while (slots_[at].index != kFree && slots_[at].key != key)
            at = (at + 1) & mask;
        return at;
    }

    std::vector<Slot> slots_;
};

} // namespace alborx
