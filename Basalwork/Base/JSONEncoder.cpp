#include "Basalwork/Base/JSONEncoder.hpp"

namespace Basalwork {

std::shared_ptr<Foundation::JSONEncoder> makeJSONEncoder(Foundation::JSONEncoder::DateEncodingStrategy dateEncodingStrategy)
{
    auto encoder = Foundation::make<Foundation::JSONEncoder>();
    encoder->setDateEncodingStrategy(std::move(dateEncodingStrategy));
    return encoder;
}

} // namespace Basalwork
