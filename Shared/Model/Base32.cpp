#include "Shared/Model/Base32.hpp"

#include "Shared/Model/TOTPError.hpp"

namespace Shared {

namespace {

constexpr const char* alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ234567";

int valueOf(char character)
{
    if (character >= 'A' && character <= 'Z')
        return character - 'A';
    if (character >= 'a' && character <= 'z')
        return character - 'a';
    if (character >= '2' && character <= '7')
        return character - '2' + 26;
    return -1;
}

} // namespace

Foundation::Data Base32::decode(const Foundation::String& text)
{
    std::vector<int> values;
    std::size_t padding = 0;
    for (char character : text.utf8()) {
        if (character == ' ' || character == '-' || character == '\t')
            continue;
        if (character == '=') {
            ++padding;
            continue;
        }
        if (padding > 0)
            throw TOTPError::invalidSecretKey("padding before the end");
        int value = valueOf(character);
        if (value < 0)
            throw TOTPError::invalidSecretKey("a character outside the Base32 alphabet");
        values.push_back(value);
    }
    if (values.empty())
        throw TOTPError::invalidSecretKey("empty");
    // Five bits a character: these remainders cannot end a whole number of bytes.
    auto remainder = values.size() % 8;
    if (remainder == 1 || remainder == 3 || remainder == 6)
        throw TOTPError::invalidSecretKey("a length no bytes can have");
    if (padding > 0 && (values.size() + padding) % 8 != 0)
        throw TOTPError::invalidSecretKey("wrong padding");

    std::vector<std::uint8_t> bytes;
    std::uint32_t buffer = 0;
    int bits = 0;
    for (int value : values) {
        buffer = (buffer << 5) | static_cast<std::uint32_t>(value);
        bits += 5;
        if (bits >= 8) {
            bits -= 8;
            bytes.push_back(static_cast<std::uint8_t>(buffer >> bits));
            buffer &= (1u << bits) - 1;
        }
    }
    return Foundation::Data(std::move(bytes));
}

Foundation::String Base32::encode(const Foundation::Data& data)
{
    std::string text;
    std::uint32_t buffer = 0;
    int bits = 0;
    for (std::uint8_t byte : data) {
        buffer = (buffer << 8) | byte;
        bits += 8;
        while (bits >= 5) {
            bits -= 5;
            text.push_back(alphabet[(buffer >> bits) & 31]);
        }
        buffer &= (1u << bits) - 1;
    }
    if (bits > 0)
        text.push_back(alphabet[(buffer << (5 - bits)) & 31]);
    return Foundation::String(std::move(text));
}

} // namespace Shared
