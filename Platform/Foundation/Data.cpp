#include "Platform/Foundation/Data.hpp"

#include "Platform/Foundation/CocoaError.hpp"
#include "Platform/Foundation/FatalError.hpp"
#include "Platform/Foundation/FileIO.hpp"
#include "Platform/Foundation/URL.hpp"

#include <algorithm>
#include <array>
#include <functional>

namespace Foundation {
namespace {

constexpr char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

constexpr std::array<std::int8_t, 256> decodingTable()
{
    std::array<std::int8_t, 256> table {};
    table.fill(-1);
    for (int i = 0; i < 64; ++i)
        table[static_cast<unsigned char>(alphabet[i])] = static_cast<std::int8_t>(i);
    return table;
}

void checkRange(Data::Range range, std::size_t count)
{
    precondition(range.lowerBound <= range.upperBound && range.upperBound <= count, "Data range out of bounds");
}

} // namespace

Data::Data(const void* bytes, std::size_t count)
{
    append(bytes, count);
}

void Data::append(const Data& other)
{
    m_bytes.insert(m_bytes.end(), other.m_bytes.begin(), other.m_bytes.end());
}

void Data::append(const void* bytes, std::size_t count)
{
    if (count == 0)
        return;
    auto* start = static_cast<const std::uint8_t*>(bytes);
    m_bytes.insert(m_bytes.end(), start, start + count);
}

void Data::resetBytes(Range range)
{
    checkRange(range, count());
    std::fill(m_bytes.begin() + static_cast<std::ptrdiff_t>(range.lowerBound),
              m_bytes.begin() + static_cast<std::ptrdiff_t>(range.upperBound), 0);
}

void Data::replaceSubrange(Range range, const Data& with)
{
    checkRange(range, count());
    auto first = m_bytes.begin() + static_cast<std::ptrdiff_t>(range.lowerBound);
    first = m_bytes.erase(first, first + static_cast<std::ptrdiff_t>(range.upperBound - range.lowerBound));
    m_bytes.insert(first, with.m_bytes.begin(), with.m_bytes.end());
}

Data Data::subdata(Range range) const
{
    checkRange(range, count());
    return Data(m_bytes.data() + range.lowerBound, range.upperBound - range.lowerBound);
}

std::optional<Data::Range> Data::range(const Data& needle, std::optional<Range> in) const
{
    Range within = in.value_or(Range {0, count()});
    checkRange(within, count());
    if (needle.isEmpty())
        return std::nullopt;
    auto first = m_bytes.begin() + static_cast<std::ptrdiff_t>(within.lowerBound);
    auto last = m_bytes.begin() + static_cast<std::ptrdiff_t>(within.upperBound);
    auto found = std::search(first, last, needle.m_bytes.begin(), needle.m_bytes.end());
    if (found == last)
        return std::nullopt;
    auto lower = static_cast<std::size_t>(found - m_bytes.begin());
    return Range {lower, lower + needle.count()};
}

std::string Data::base64EncodedString() const
{
    std::string text;
    text.reserve((count() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 2 < count(); i += 3) {
        std::uint32_t triple = (m_bytes[i] << 16) | (m_bytes[i + 1] << 8) | m_bytes[i + 2];
        text += alphabet[(triple >> 18) & 63];
        text += alphabet[(triple >> 12) & 63];
        text += alphabet[(triple >> 6) & 63];
        text += alphabet[triple & 63];
    }
    if (std::size_t rest = count() - i) {
        std::uint32_t triple = m_bytes[i] << 16;
        if (rest == 2)
            triple |= m_bytes[i + 1] << 8;
        text += alphabet[(triple >> 18) & 63];
        text += alphabet[(triple >> 12) & 63];
        text += rest == 2 ? alphabet[(triple >> 6) & 63] : '=';
        text += '=';
    }
    return text;
}

namespace {

// Decodes padded standard Base64 into `out` when given (room for `decodedSize` bytes), or only checks it;
// false for anything else.
bool decodeBase64(std::string_view base64, std::uint8_t* out)
{
    static constexpr auto table = decodingTable();
    if (base64.size() % 4 != 0)
        return false;
    for (std::size_t i = 0; i < base64.size(); i += 4) {
        bool last = i + 4 == base64.size();
        std::uint32_t triple = 0;
        int padding = 0;
        for (std::size_t j = 0; j < 4; ++j) {
            char c = base64[i + j];
            if (c == '=' && last && j >= 2) {
                ++padding;
                triple <<= 6;
                continue;
            }
            auto value = table[static_cast<unsigned char>(c)];
            if (value < 0 || padding > 0)
                return false;
            triple = (triple << 6) | static_cast<std::uint32_t>(value);
        }
        if (!out)
            continue;
        *out++ = static_cast<std::uint8_t>(triple >> 16);
        if (padding < 2)
            *out++ = static_cast<std::uint8_t>(triple >> 8);
        if (padding < 1)
            *out++ = static_cast<std::uint8_t>(triple);
    }
    return true;
}

std::size_t decodedSize(std::string_view base64)
{
    std::size_t padding = base64.ends_with("==") ? 2 : base64.ends_with("=") ? 1 : 0;
    return base64.size() / 4 * 3 - padding;
}

} // namespace

std::optional<Data> Data::fromBase64(std::string_view base64)
{
    if (base64.size() % 4 != 0)
        return std::nullopt;
    // Written straight into the bytes it ends as: sealed values are most of what a sync reads.
    std::vector<std::uint8_t> bytes(decodedSize(base64));
    if (!decodeBase64(base64, bytes.data()))
        return std::nullopt;
    return Data(std::move(bytes));
}

bool Data::isBase64(std::string_view base64)
{
    return decodeBase64(base64, nullptr);
}

std::string Data::description() const
{
    return std::to_string(count()) + " bytes";
}

std::size_t Data::hash() const
{
    return std::hash<std::string_view> {}(view());
}

Data Data::contentsOf(const URL& url)
{
    if (!url.isFileURL())
        throw CocoaError::fileError(CocoaError::fileReadUnsupportedScheme, url.absoluteString().utf8());
    return FileIO::readFile(url.path().utf8());
}

void Data::write(const URL& to, WritingOptions options) const
{
    if (!to.isFileURL())
        throw CocoaError::fileError(CocoaError::fileWriteUnsupportedScheme, to.absoluteString().utf8());
    FileIO::writeFile(to.path().utf8(), *this, options.contains(WritingOptions::atomic()));
}

} // namespace Foundation
