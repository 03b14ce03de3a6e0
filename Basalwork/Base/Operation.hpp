#pragma once

#include "Platform/Foundation/Operation.hpp"

#include <memory>
#include <vector>

namespace Basalwork {

// add(dependencies:): each in order.
void add(Foundation::Operation& operation, const std::vector<std::shared_ptr<Foundation::Operation>>& dependencies);

} // namespace Basalwork
