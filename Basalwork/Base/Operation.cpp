#include "Basalwork/Base/Operation.hpp"

namespace Basalwork {

void add(Foundation::Operation& operation, const std::vector<std::shared_ptr<Foundation::Operation>>& dependencies)
{
    for (const auto& dependency : dependencies)
        operation.addDependency(dependency);
}

} // namespace Basalwork
