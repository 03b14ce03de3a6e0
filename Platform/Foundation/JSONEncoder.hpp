#pragma once

#include "Platform/Foundation/Codable.hpp"
#include "Platform/Foundation/Data.hpp"
#include "Platform/Foundation/JSONDateStrategy.hpp"
#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/OptionSet.hpp"

#include <cstdint>
#include <memory>

namespace Foundation {

// Encodes a value as UTF-8 JSON. Any value may stand at the top level, a bare string or number
// included. Configure it before sharing it: encoding itself changes nothing and may run on any thread.
class JSONEncoder : public NSObject {
public:
    using DateEncodingStrategy = JSONDateStrategy;

    // An option set; the default is compact output with keys in encoding order and "/" escaped as "\/".
    struct OutputFormatting : Foundation::OptionSet<OutputFormatting> {
        static const OutputFormatting prettyPrinted;
        static const OutputFormatting sortedKeys;
        static const OutputFormatting withoutEscapingSlashes;
    };

    const DateEncodingStrategy& dateEncodingStrategy() const { return m_dateEncodingStrategy; }
    void setDateEncodingStrategy(DateEncodingStrategy strategy) { m_dateEncodingStrategy = std::move(strategy); }
    OutputFormatting outputFormatting() const { return m_outputFormatting; }
    void setOutputFormatting(OutputFormatting formatting) { m_outputFormatting = formatting; }

    // Throws EncodingError, or whatever the value's own `encode` throws.
    template <Encodable T>
    Data encode(const T& value) const
    {
        auto root = makeRoot();
        Encoder encoder(root.get(), m_dateEncodingStrategy);
        CodingTraits<T>::encode(value, encoder);
        return finish(*root, codingTypeName<T>());
    }

protected:
    friend Construct;
    JSONEncoder() = default;

private:
    static std::shared_ptr<Encoder::Node> makeRoot();
    Data finish(Encoder::Node& root, const std::string& typeName) const;

    DateEncodingStrategy m_dateEncodingStrategy;
    OutputFormatting m_outputFormatting;
};

inline constexpr JSONEncoder::OutputFormatting JSONEncoder::OutputFormatting::prettyPrinted {1u << 0};
inline constexpr JSONEncoder::OutputFormatting JSONEncoder::OutputFormatting::sortedKeys {1u << 1};
inline constexpr JSONEncoder::OutputFormatting JSONEncoder::OutputFormatting::withoutEscapingSlashes {1u << 3};

} // namespace Foundation
