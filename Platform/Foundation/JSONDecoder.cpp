#include "Platform/Foundation/JSONDecoder.hpp"

#include "Platform/Foundation/JSONDocument.hpp"
#include "Platform/Foundation/NSError.hpp"

#include <string>
#include <string_view>

namespace Foundation {

void JSONDecoder::DocumentDeleter::operator()(const JSONDocument* document) const
{
    delete document;
}

std::unique_ptr<const JSONDocument, JSONDecoder::DocumentDeleter> JSONDecoder::parse(const Data& data)
{
    auto invalid = [](const std::string& why) {
        auto underlying = std::make_shared<NSError>(NSCocoaErrorDomain, 3840,
                                                    std::map<std::string, std::string> {{NSDebugDescriptionErrorKey, why}});
        return DecodingError::dataCorrupted({{}, "The given data was not valid JSON.", std::move(underlying)});
    };
    const auto bytes = data.view();
    // JSON allows no raw NUL byte anywhere: say where it is.
    if (auto nul = bytes.find('\0'); nul != std::string_view::npos)
        throw invalid("Unexpected NUL byte at offset " + std::to_string(nul) + ".");
    try {
        return std::unique_ptr<const JSONDocument, DocumentDeleter>(new JSONDocument(bytes));
    } catch (const JSONDocument::SyntaxError& error) {
        throw invalid(error.what());
    }
}

} // namespace Foundation
