#pragma once

#include "Platform/Foundation/JSONEncoder.hpp"

#include <memory>

namespace Basalwork {

// JSONEncoder(dateEncodingStrategy:): a new encoder with that date strategy and otherwise the defaults.
std::shared_ptr<Foundation::JSONEncoder> makeJSONEncoder(Foundation::JSONEncoder::DateEncodingStrategy dateEncodingStrategy);

} // namespace Basalwork
