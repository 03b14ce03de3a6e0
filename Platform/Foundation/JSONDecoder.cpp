#include "Platform/Foundation/JSONDecoder.hpp"

#include "Platform/Foundation/NSError.hpp"

#include <nlohmann/json.hpp>

namespace Foundation {

std::shared_ptr<const nlohmann::ordered_json> JSONDecoder::parse(const Data& data)
{
    try {
        return std::make_shared<const nlohmann::ordered_json>(nlohmann::ordered_json::parse(data.view()));
    } catch (const nlohmann::ordered_json::exception& error) {
        auto underlying = std::make_shared<NSError>(NSCocoaErrorDomain, 3840,
                                                    std::map<std::string, std::string> {{NSDebugDescriptionErrorKey, error.what()}});
        throw DecodingError::dataCorrupted({{}, "The given data was not valid JSON.", std::move(underlying)});
    }
}

} // namespace Foundation
