#pragma once

#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/String.hpp"

#include <compare>
#include <cstdint>
#include <optional>

namespace Basalwork {

// major.minor.patch, parsed from and written back to text such as "1.2" or "3.0.1".
struct SemanticVersion {
    std::int64_t major = 0;
    std::int64_t minor = 0;
    std::int64_t patch = 0;

    // Throws SemanticVersionError carrying the whole text when it is not one to three integers
    // separated by full stops.
    static SemanticVersion parse(const Foundation::String& text);
    static std::optional<SemanticVersion> parseOptional(const std::optional<Foundation::String>& text);
    static constexpr SemanticVersion zero() { return {0, 0, 0}; }

    // The patch is left out when it is 0.
    Foundation::String string() const;

    friend constexpr auto operator<=>(const SemanticVersion&, const SemanticVersion&) = default;
};

class SemanticVersionError : public Foundation::ErrorOf<SemanticVersionError> {
public:
    static SemanticVersionError unableToParseSemanticVersionFromString(Foundation::String text)
    {
        return SemanticVersionError(std::move(text));
    }
    const Foundation::String& text() const { return m_text; }

    std::string domain() const override { return "Basalwork.SemanticVersionError"; }
    std::int64_t code() const override { return 0; }
    std::string description() const override;

private:
    explicit SemanticVersionError(Foundation::String text)
        : m_text(std::move(text))
    {
    }
    Foundation::String m_text;
};

} // namespace Basalwork
