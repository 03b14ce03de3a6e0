#include "Basalwork/Base/JSONCoder.DateCodingStrategy.hpp"

namespace Basalwork {
namespace {

struct PlatformStrategy {
    Foundation::JSONDateStrategy operator()(const JSONCoder::DateCodingStrategy::Formatted& c) const
    {
        return Foundation::JSONDateStrategy::formatted(c.dateFormmater);
    }
    Foundation::JSONDateStrategy operator()(const JSONCoder::DateCodingStrategy::DeferredToDate&) const
    {
        return Foundation::JSONDateStrategy::deferredToDate();
    }
    Foundation::JSONDateStrategy operator()(const JSONCoder::DateCodingStrategy::ISO8601&) const
    {
        return Foundation::JSONDateStrategy::iso8601();
    }
    Foundation::JSONDateStrategy operator()(const JSONCoder::DateCodingStrategy::MillisecondsSince1970&) const
    {
        return Foundation::JSONDateStrategy::millisecondsSince1970();
    }
    Foundation::JSONDateStrategy operator()(const JSONCoder::DateCodingStrategy::SecondsSince1970&) const
    {
        return Foundation::JSONDateStrategy::secondsSince1970();
    }
};

} // namespace

// The platform's encoding and decoding strategies are one type, so both mappings are this one.
Foundation::JSONDateStrategy JSONCoder::DateCodingStrategy::platformStrategy() const
{
    return std::visit(PlatformStrategy {}, m_case);
}

Foundation::JSONEncoder::DateEncodingStrategy JSONCoder::DateCodingStrategy::encoding() const
{
    return platformStrategy();
}

Foundation::JSONDecoder::DateDecodingStrategy JSONCoder::DateCodingStrategy::decoding() const
{
    return platformStrategy();
}

} // namespace Basalwork
