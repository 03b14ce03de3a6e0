#include "Platform/Foundation/String.Encoding.hpp"

#include <algorithm>
#include <memory>
#include <unicode/ucnv.h>
#include <unicode/ustring.h>

namespace Foundation {
namespace {

struct EncodingInfo {
    std::uint64_t rawValue;
    const char* converter; // ICU's name
    const char* name;
};

// utf16 and utf32 name their big-endian converter: their byte order mark is handled here, because
// ICU's own BOM-writing converters write big endian while the platform writes host order.
constexpr EncodingInfo encodings[] = {
    {String::Encoding::ascii().rawValue, "US-ASCII", "Western (ASCII)"},
    {String::Encoding::japaneseEUC().rawValue, "EUC-JP", "Japanese (EUC)"},
    {String::Encoding::utf8().rawValue, "UTF-8", "Unicode (UTF-8)"},
    {String::Encoding::isoLatin1().rawValue, "ISO-8859-1", "Western (ISO Latin 1)"},
    {String::Encoding::shiftJIS().rawValue, "windows-31j", "Japanese (Windows, DOS)"},
    {String::Encoding::isoLatin2().rawValue, "ISO-8859-2", "Central European (ISO Latin 2)"},
    {String::Encoding::utf16().rawValue, "UTF-16BE", "Unicode (UTF-16)"},
    {String::Encoding::windowsCP1251().rawValue, "windows-1251", "Cyrillic (Windows)"},
    {String::Encoding::windowsCP1252().rawValue, "windows-1252", "Western (Windows Latin 1)"},
    {String::Encoding::windowsCP1253().rawValue, "windows-1253", "Greek (Windows)"},
    {String::Encoding::windowsCP1254().rawValue, "windows-1254", "Turkish (Windows Latin 5)"},
    {String::Encoding::windowsCP1250().rawValue, "windows-1250", "Central European (Windows Latin 2)"},
    {String::Encoding::iso2022JP().rawValue, "ISO-2022-JP", "Japanese (ISO 2022-JP)"},
    {String::Encoding::macOSRoman().rawValue, "macintosh", "Western (Mac OS Roman)"},
    {String::Encoding::utf16BigEndian().rawValue, "UTF-16BE", "Unicode (UTF-16BE)"},
    {String::Encoding::utf16LittleEndian().rawValue, "UTF-16LE", "Unicode (UTF-16LE)"},
    {String::Encoding::utf32().rawValue, "UTF-32BE", "Unicode (UTF-32)"},
    {String::Encoding::utf32BigEndian().rawValue, "UTF-32BE", "Unicode (UTF-32BE)"},
    {String::Encoding::utf32LittleEndian().rawValue, "UTF-32LE", "Unicode (UTF-32LE)"},
};

const EncodingInfo* info(const String::Encoding& encoding)
{
    for (const auto& entry : encodings)
        if (entry.rawValue == encoding.rawValue)
            return &entry;
    return nullptr;
}

struct ConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

// A converter that stops at the first byte or character it cannot convert, instead of substituting.
Converter strictConverter(const char* name)
{
    UErrorCode status = U_ZERO_ERROR;
    Converter converter(ucnv_open(name, &status));
    if (U_FAILURE(status))
        return nullptr;
    ucnv_setToUCallBack(converter.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    ucnv_setFromUCallBack(converter.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    return U_SUCCESS(status) ? std::move(converter) : nullptr;
}

std::optional<std::u16string> utf16(std::string_view utf8)
{
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = 0;
    u_strFromUTF8(nullptr, 0, &length, utf8.data(), static_cast<int32_t>(utf8.size()), &status);
    if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status))
        return std::nullopt;
    std::u16string units(static_cast<std::size_t>(length), u'\0');
    status = U_ZERO_ERROR;
    u_strFromUTF8(units.data(), length, nullptr, utf8.data(), static_cast<int32_t>(utf8.size()), &status);
    return U_SUCCESS(status) ? std::optional(std::move(units)) : std::nullopt;
}

std::optional<Data> encoded(const String& text, const char* converterName)
{
    auto converter = strictConverter(converterName);
    auto units = utf16(text.view());
    if (!converter || !units)
        return std::nullopt;
    UErrorCode status = U_ZERO_ERROR;
    auto sourceLength = static_cast<int32_t>(units->size());
    int32_t length = ucnv_fromUChars(converter.get(), nullptr, 0, units->data(), sourceLength, &status);
    if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status))
        return std::nullopt;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(length));
    status = U_ZERO_ERROR;
    ucnv_reset(converter.get());
    ucnv_fromUChars(converter.get(), reinterpret_cast<char*>(bytes.data()), length, units->data(), sourceLength, &status);
    if (U_FAILURE(status))
        return std::nullopt;
    return Data(std::move(bytes));
}

std::optional<String> decoded(std::string_view bytes, const char* converterName)
{
    auto converter = strictConverter(converterName);
    if (!converter)
        return std::nullopt;
    UErrorCode status = U_ZERO_ERROR;
    auto sourceLength = static_cast<int32_t>(bytes.size());
    int32_t length = ucnv_toUChars(converter.get(), nullptr, 0, bytes.data(), sourceLength, &status);
    if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status))
        return std::nullopt;
    // One more unit for the terminator ICU writes when there is room.
    std::u16string units(static_cast<std::size_t>(length) + 1, u'\0');
    status = U_ZERO_ERROR;
    ucnv_reset(converter.get());
    ucnv_toUChars(converter.get(), units.data(), length + 1, bytes.data(), sourceLength, &status);
    if (U_FAILURE(status))
        return std::nullopt;
    units.resize(static_cast<std::size_t>(length));

    status = U_ZERO_ERROR;
    int32_t utf8Length = 0;
    u_strToUTF8(nullptr, 0, &utf8Length, units.data(), length, &status);
    if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status))
        return std::nullopt;
    std::string utf8(static_cast<std::size_t>(utf8Length), '\0');
    status = U_ZERO_ERROR;
    u_strToUTF8(utf8.data(), utf8Length, nullptr, units.data(), length, &status);
    if (U_FAILURE(status))
        return std::nullopt;
    return String::fromUTF8(utf8);
}

constexpr std::uint8_t utf16LittleEndianMark[] = {0xFF, 0xFE};
constexpr std::uint8_t utf16BigEndianMark[] = {0xFE, 0xFF};
constexpr std::uint8_t utf32LittleEndianMark[] = {0xFF, 0xFE, 0x00, 0x00};
constexpr std::uint8_t utf32BigEndianMark[] = {0x00, 0x00, 0xFE, 0xFF};

template <std::size_t N>
bool startsWith(std::string_view bytes, const std::uint8_t (&mark)[N])
{
    return bytes.size() >= N && std::equal(mark, mark + N, bytes.begin(), [](std::uint8_t m, char b) {
        return m == static_cast<std::uint8_t>(b);
    });
}

} // namespace

std::string String::Encoding::description() const
{
    const auto* entry = info(*this);
    return entry ? entry->name : "Unknown (" + std::to_string(rawValue) + ")";
}

std::optional<Data> String::data(const Encoding& encoding) const
{
    if (encoding == Encoding::utf8())
        return Data::fromString(m_utf8);
    if (encoding == Encoding::utf16() || encoding == Encoding::utf32()) {
        bool wide = encoding == Encoding::utf32();
        auto body = encoded(*this, wide ? "UTF-32LE" : "UTF-16LE");
        if (!body)
            return std::nullopt;
        Data result = wide ? Data(utf32LittleEndianMark, sizeof utf32LittleEndianMark)
                           : Data(utf16LittleEndianMark, sizeof utf16LittleEndianMark);
        result.append(*body);
        return result;
    }
    const auto* entry = info(encoding);
    return entry ? encoded(*this, entry->converter) : std::nullopt;
}

std::optional<String> String::fromData(const Data& data, const Encoding& encoding)
{
    std::string_view bytes = data.view();
    if (encoding == Encoding::utf8())
        return fromUTF8(bytes);
    if (encoding == Encoding::utf16()) {
        if (startsWith(bytes, utf16LittleEndianMark))
            return decoded(bytes.substr(2), "UTF-16LE");
        return decoded(startsWith(bytes, utf16BigEndianMark) ? bytes.substr(2) : bytes, "UTF-16BE");
    }
    if (encoding == Encoding::utf32()) {
        if (startsWith(bytes, utf32LittleEndianMark))
            return decoded(bytes.substr(4), "UTF-32LE");
        return decoded(startsWith(bytes, utf32BigEndianMark) ? bytes.substr(4) : bytes, "UTF-32BE");
    }
    const auto* entry = info(encoding);
    return entry ? decoded(bytes, entry->converter) : std::nullopt;
}

} // namespace Foundation
