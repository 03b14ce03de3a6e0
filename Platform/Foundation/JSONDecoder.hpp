#pragma once

#include "Platform/Foundation/Codable.hpp"
#include "Platform/Foundation/Data.hpp"
#include "Platform/Foundation/JSONDateStrategy.hpp"
#include "Platform/Foundation/NSObject.hpp"

#include <nlohmann/json_fwd.hpp>

#include <memory>

namespace Foundation {

// Decodes a value from UTF-8 JSON; any value may stand at the top level. Text that is not JSON is data
// corrupted, with the parser's complaint as the underlying NSError (NSCocoaErrorDomain 3840).
// Configure it before sharing it: decoding itself changes nothing and may run on any thread.
class JSONDecoder : public NSObject {
public:
    using DateDecodingStrategy = JSONDateStrategy;

    const DateDecodingStrategy& dateDecodingStrategy() const { return m_dateDecodingStrategy; }
    void setDateDecodingStrategy(DateDecodingStrategy strategy) { m_dateDecodingStrategy = std::move(strategy); }

    // decode(T.self, from:). Throws DecodingError, or whatever the type's own `decode` throws.
    template <Decodable T>
    T decode(const Data& data) const
    {
        auto document = parse(data);
        Decoder decoder(*document, {}, m_dateDecodingStrategy);
        return CodingTraits<T>::decode(decoder);
    }

protected:
    friend Construct;
    JSONDecoder() = default;

private:
    static std::shared_ptr<const nlohmann::ordered_json> parse(const Data& data);

    DateDecodingStrategy m_dateDecodingStrategy;
};

} // namespace Foundation
