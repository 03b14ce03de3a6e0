#pragma once

#include "Platform/Foundation/JSONDecoder.hpp"

#include <memory>

namespace Basalwork {

// JSONDecoder(dateDecodingStrategy:): a new decoder with that date strategy and otherwise the defaults.
std::shared_ptr<Foundation::JSONDecoder> makeJSONDecoder(Foundation::JSONDecoder::DateDecodingStrategy dateDecodingStrategy);

} // namespace Basalwork
