#pragma once

#include "Basalwork/Base/TopLevelFragmentEncodable.hpp"

#include "Platform/Foundation/Codable.hpp"
#include "Platform/Foundation/JSONDecoder.hpp"
#include "Platform/Foundation/JSONEncoder.hpp"
#include "Platform/Foundation/NSObject.hpp"

#include <memory>
#include <optional>

namespace Basalwork {

// The one place where Codable values become JSON data and back. With fragments allowed, a value of a
// TopLevelFragmentEncodable type is always stored inside an object with the single member "value"
// (the string abc as {"value":"abc"}, a nil optional as {"value":null}), whatever the platform could
// write bare; other types are coded as they are. The choice is made on the static type alone, so both
// directions agree. Unchanging after it is made: any thread may use it.
class JSONCoder : public Foundation::NSObject {
public:
    class DateCodingStrategy;

    // Fragments allowed, deferredToDate, compact output.
    static const std::shared_ptr<JSONCoder>& shared();

    const std::shared_ptr<Foundation::JSONEncoder>& encoder() const { return m_encoder; }
    const std::shared_ptr<Foundation::JSONDecoder>& decoder() const { return m_decoder; }
    bool allowsCodingOfTopLevelFragements() const { return m_allowsCodingOfTopLevelFragements; }

    // Encoder and value errors pass through.
    template <Foundation::Encodable T>
    Foundation::Data encode(const T& value) const
    {
        if constexpr (TopLevelFragmentEncodable<T>) {
            if (m_allowsCodingOfTopLevelFragements)
                return m_encoder->encode(TopLevelFragmentContainer<const T&> {value});
        }
        return m_encoder->encode(value);
    }
    // A literal is text.
    Foundation::Data encode(const char* value) const { return encode(Foundation::String(value)); }

    // decode(_:from:). Decoder and value errors pass through.
    template <Foundation::Decodable T>
    T decode(const Foundation::Data& data) const
    {
        if constexpr (TopLevelFragmentEncodable<T>) {
            if (m_allowsCodingOfTopLevelFragements)
                return std::move(m_decoder->decode<TopLevelFragmentContainer<T>>(data).value);
        }
        return m_decoder->decode<T>(data);
    }
    // A value of a document parsed already (the root unless given), as if it stood alone.
    template <Foundation::Decodable T>
    T decode(const Foundation::JSONDocument& document, std::uint32_t value = 0) const
    {
        if constexpr (TopLevelFragmentEncodable<T>) {
            if (m_allowsCodingOfTopLevelFragements)
                return std::move(m_decoder->decode<TopLevelFragmentContainer<T>>(document, value).value);
        }
        return m_decoder->decode<T>(document, value);
    }

protected:
    friend Foundation::Construct;
    // A nil output formatting keeps the encoder's default, compact output.
    JSONCoder(bool allowsCodingOfTopLevelFragements, const DateCodingStrategy& dateCodingStrategy,
              std::optional<Foundation::JSONEncoder::OutputFormatting> outputFormatting);

private:
    template <class T>
    struct TopLevelFragmentContainer {
        T value;

        void encode(Foundation::Encoder& encoder) const
        {
            auto container = encoder.container();
            container.encode(value, "value");
        }
        static TopLevelFragmentContainer decode(Foundation::Decoder& decoder)
        {
            auto container = decoder.container();
            return {container.decode<std::remove_cvref_t<T>>("value")};
        }
    };

    std::shared_ptr<Foundation::JSONEncoder> m_encoder;
    std::shared_ptr<Foundation::JSONDecoder> m_decoder;
    bool m_allowsCodingOfTopLevelFragements;
};

} // namespace Basalwork

#include "Basalwork/Base/JSONCoder.DateCodingStrategy.hpp"
