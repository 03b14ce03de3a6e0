#include "Basalwork/Base/SemanticVersion.hpp"

#include "Platform/Foundation/Describe.hpp"

#include <vector>

namespace Basalwork {

SemanticVersion SemanticVersion::parse(const Foundation::String& text)
{
    auto pieces = text.split(Foundation::Character('.'));
    if (pieces.empty() || pieces.size() > 3)
        throw SemanticVersionError::unableToParseSemanticVersionFromString(text);
    std::int64_t numbers[3] = {0, 0, 0};
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        auto number = Foundation::parseInt(pieces[i].view());
        if (!number)
            throw SemanticVersionError::unableToParseSemanticVersionFromString(text);
        numbers[i] = *number;
    }
    return {numbers[0], numbers[1], numbers[2]};
}

std::optional<SemanticVersion> SemanticVersion::parseOptional(const std::optional<Foundation::String>& text)
{
    if (!text)
        return std::nullopt;
    return parse(*text);
}

Foundation::String SemanticVersion::string() const
{
    std::string text = std::to_string(major) + "." + std::to_string(minor);
    if (patch != 0)
        text += "." + std::to_string(patch);
    return text;
}

std::string SemanticVersionError::description() const
{
    return "unableToParseSemanticVersionFromString(" + Foundation::debugQuoted(m_text.view()) + ")";
}

} // namespace Basalwork
