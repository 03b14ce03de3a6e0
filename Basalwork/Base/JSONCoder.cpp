#include "Basalwork/Base/JSONCoder.hpp"

#include "Basalwork/Base/JSONDecoder.hpp"
#include "Basalwork/Base/JSONEncoder.hpp"

namespace Basalwork {

const std::shared_ptr<JSONCoder>& JSONCoder::shared()
{
    static const auto instance = Foundation::make<JSONCoder>(true, DateCodingStrategy::deferredToDate(), std::nullopt);
    return instance;
}

JSONCoder::JSONCoder(bool allowsCodingOfTopLevelFragements, const DateCodingStrategy& dateCodingStrategy,
                     std::optional<Foundation::JSONEncoder::OutputFormatting> outputFormatting)
    : m_encoder(makeJSONEncoder(dateCodingStrategy.encoding()))
    , m_decoder(makeJSONDecoder(dateCodingStrategy.decoding()))
    , m_allowsCodingOfTopLevelFragements(allowsCodingOfTopLevelFragements)
{
    if (outputFormatting)
        m_encoder->setOutputFormatting(*outputFormatting);
}

} // namespace Basalwork
