#include "Platform/Foundation/JSONDecoder.hpp"

#include "Platform/Foundation/NSError.hpp"

#include <nlohmann/json.hpp>

#include <charconv>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace Foundation {
namespace {

using Json = nlohmann::ordered_json;

// The exact value of a JSON number's text when it is a whole number that fits 64 bits, however it is
// written ("34.0", "1e2", "-9223372036854775808.0"); nothing when it has a fraction or does not fit.
// Reading it from the text matters at the limits, where a double cannot tell 2^63 from 2^63 + 1.
std::optional<Json> exactWholeNumber(std::string_view text)
{
    const bool negative = text.starts_with('-');
    if (negative)
        text.remove_prefix(1);
    const auto exponentAt = text.find_first_of("eE");
    auto mantissa = text.substr(0, exponentAt);
    std::int64_t exponent = 0;
    if (exponentAt != std::string_view::npos) {
        auto digits = text.substr(exponentAt + 1);
        const bool negativeExponent = digits.starts_with('-');
        if (digits.starts_with('-') || digits.starts_with('+'))
            digits.remove_prefix(1);
        for (char c : digits)
            exponent = std::min<std::int64_t>(exponent * 10 + (c - '0'), 1'000'000);
        if (negativeExponent)
            exponent = -exponent;
    }
    std::string digits;
    const auto point = mantissa.find('.');
    digits.append(mantissa.substr(0, point));
    if (point != std::string_view::npos) {
        auto fraction = mantissa.substr(point + 1);
        digits.append(fraction);
        exponent -= static_cast<std::int64_t>(fraction.size());
    }
    digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size()));
    if (digits.empty())
        return Json(std::uint64_t {0});
    while (digits.back() == '0') {
        digits.pop_back();
        ++exponent;
    }
    if (exponent < 0 || static_cast<std::int64_t>(digits.size()) + exponent > 20)
        return std::nullopt;
    digits.append(static_cast<std::size_t>(exponent), '0');
    std::uint64_t magnitude = 0;
    auto result = std::from_chars(digits.data(), digits.data() + digits.size(), magnitude);
    if (result.ec != std::errc() || result.ptr != digits.data() + digits.size())
        return std::nullopt;
    if (!negative)
        return Json(magnitude);
    constexpr auto lowest = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) + 1;
    if (magnitude > lowest)
        return std::nullopt;
    return Json(magnitude == lowest ? std::numeric_limits<std::int64_t>::min() : -static_cast<std::int64_t>(magnitude));
}

// Builds the document as the library does, but keeps a number written with a fraction or an exponent
// as an integer when its text is a whole number that fits: integer decoding then never reads a rounded
// double.
class DocumentBuilder : public nlohmann::detail::json_sax_dom_parser<Json> {
public:
    using json_sax_dom_parser::json_sax_dom_parser;

    bool number_float(number_float_t value, const string_t& text)
    {
        if (auto whole = exactWholeNumber(text)) {
            if (whole->is_number_unsigned())
                return number_unsigned(whole->get<std::uint64_t>());
            return number_integer(whole->get<std::int64_t>());
        }
        return json_sax_dom_parser::number_float(value, text);
    }
};

} // namespace

std::shared_ptr<const nlohmann::ordered_json> JSONDecoder::parse(const Data& data)
{
    auto invalid = [](const std::string& why) {
        auto underlying = std::make_shared<NSError>(NSCocoaErrorDomain, 3840,
                                                    std::map<std::string, std::string> {{NSDebugDescriptionErrorKey, why}});
        return DecodingError::dataCorrupted({{}, "The given data was not valid JSON.", std::move(underlying)});
    };
    const auto bytes = data.view();
    // The parser takes a NUL for the end of the text; JSON allows none anywhere, so what follows one
    // must not be ignored.
    if (auto nul = bytes.find('\0'); nul != std::string_view::npos)
        throw invalid("Unexpected NUL byte at offset " + std::to_string(nul) + ".");
    try {
        auto document = std::make_shared<Json>();
        DocumentBuilder builder(*document);
        Json::sax_parse(bytes.begin(), bytes.end(), &builder);
        return document;
    } catch (const nlohmann::ordered_json::exception& error) {
        throw invalid(error.what());
    }
}

} // namespace Foundation
