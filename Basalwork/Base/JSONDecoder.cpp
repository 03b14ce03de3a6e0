#include "Basalwork/Base/JSONDecoder.hpp"

namespace Basalwork {

std::shared_ptr<Foundation::JSONDecoder> makeJSONDecoder(Foundation::JSONDecoder::DateDecodingStrategy dateDecodingStrategy)
{
    auto decoder = Foundation::make<Foundation::JSONDecoder>();
    decoder->setDateDecodingStrategy(std::move(dateDecodingStrategy));
    return decoder;
}

} // namespace Basalwork
