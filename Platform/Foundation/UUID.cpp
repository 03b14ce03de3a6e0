#include "Platform/Foundation/UUID.hpp"

#include "Platform/Foundation/FatalError.hpp"
#include "Platform/Foundation/Hex.hpp"

#include <cerrno>
#include <functional>
#include <string_view>
#include <sys/random.h>

namespace Foundation {
namespace {

constexpr bool isDashPosition(std::size_t i)
{
    return i == 8 || i == 13 || i == 18 || i == 23;
}

} // namespace

UUID::UUID()
{
    std::size_t filled = 0;
    while (filled < m_bytes.size()) {
        auto got = getrandom(m_bytes.data() + filled, m_bytes.size() - filled, 0);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            fatalError("The system's random source failed");
        }
        filled += static_cast<std::size_t>(got);
    }
    m_bytes[6] = static_cast<std::uint8_t>((m_bytes[6] & 0x0F) | 0x40); // version 4
    m_bytes[8] = static_cast<std::uint8_t>((m_bytes[8] & 0x3F) | 0x80); // RFC 4122 variant
}

std::optional<UUID> UUID::fromString(const String& uuidString)
{
    std::string_view text = uuidString.view();
    if (text.size() != 36)
        return std::nullopt;
    Bytes bytes {};
    std::size_t nibble = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (isDashPosition(i)) {
            if (text[i] != '-')
                return std::nullopt;
            continue;
        }
        int value = hexDigitValue(text[i]);
        if (value < 0)
            return std::nullopt;
        bytes[nibble / 2] = static_cast<std::uint8_t>(bytes[nibble / 2] | (nibble % 2 ? value : value << 4));
        ++nibble;
    }
    return UUID(bytes);
}

String UUID::uuidString() const
{
    std::string text;
    text.reserve(36);
    for (std::size_t i = 0; i < m_bytes.size(); ++i) {
        if (isDashPosition(text.size()))
            text += '-';
        text += upperHexDigits[m_bytes[i] >> 4];
        text += upperHexDigits[m_bytes[i] & 0xF];
    }
    return String(std::move(text));
}

std::size_t UUID::hash() const
{
    return std::hash<std::string_view> {}(std::string_view(reinterpret_cast<const char*>(m_bytes.data()), m_bytes.size()));
}

} // namespace Foundation
