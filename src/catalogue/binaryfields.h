// Little-endian integers and short strings (one length byte, then a fixed
// number of character bytes) in byte buffers, as the program's binary files
// store them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace alborx {

inline void putInt32(std::uint8_t* at, std::int32_t value)
{
    const auto bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

inline std::int32_t getInt32(const std::uint8_t* at)
{
    std::uint32_t bits = 0;
    for (int i = 0; i < 4; ++i)
        bits |= static_cast<std::uint32_t>(at[i]) << (8 * i);
    return static_cast<std::int32_t>(bits);
}

inline void putUint64(std::uint8_t* at, std::uint64_t value)
{
    for (int i = 0; i < 8; ++i)
        at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

inline std::uint64_t getUint64(const std::uint8_t* at)
{
    std::uint64_t value = 0;
    for (int i = 0; i < 8; ++i)
        value |= static_cast<std::uint64_t>(at[i]) << (8 * i);
    return value;
}

// Writes text cut to capacity; the bytes behind it are left as they are (the
// callers zero-fill their buffers).
inline void putShortString(std::uint8_t* at, std::size_t capacity, std::string_view text)
{
    const std::size_t length = text.size() < capacity ? text.size() : capacity;
    at[0] = static_cast<std::uint8_t>(length);
    for (std::size_t i = 0; i < length; ++i)
        at[1 + i] = static_cast<std::uint8_t>(text[i]);
}

// Reads a short string in place; a length byte above the capacity is taken
// as the capacity, so a damaged length never reads past the field. Sets
// *damaged when that happens.
inline std::string_view shortStringAt(const std::uint8_t* at, std::size_t capacity,
                                      bool* damaged = nullptr)
{
    std::size_t length = at[0];
    if (length > capacity) {
        length = capacity;
        if (damaged)
            *damaged = true;
    }
    return std::string_view(reinterpret_cast<const char*>(at + 1), length);
}

inline std::string getShortString(const std::uint8_t* at, std::size_t capacity,
                                  bool* damaged = nullptr)
{
    return std::string(shortStringAt(at, capacity, damaged));
}

} // namespace alborx
