#pragma once

#include "Platform/Foundation/Codable.hpp"
#include "Platform/Foundation/Data.hpp"
#include "Platform/Foundation/JSONDateStrategy.hpp"
#include "Platform/Foundation/NSObject.hpp"

#include <memory>

namespace Foundation {

class JSONDocument;

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
        Decoder decoder(*document, 0, m_dateDecodingStrategy);
        return CodingTraits<T>::decode(decoder);
    }
    // A value of a document parsed already, as if it stood alone: coding paths start at it.
    template <Decodable T>
    T decode(const JSONDocument& document, std::uint32_t value) const
    {
        Decoder decoder(document, value, m_dateDecodingStrategy, value);
        return CodingTraits<T>::decode(decoder);
    }

protected:
    friend Construct;
    JSONDecoder() = default;

private:
    struct DocumentDeleter {
        void operator()(const JSONDocument* document) const;
    };
    // The document views the data's bytes, which outlive it during `decode`.
    static std::unique_ptr<const JSONDocument, DocumentDeleter> parse(const Data& data);

    DateDecodingStrategy m_dateDecodingStrategy;
};

} // namespace Foundation
