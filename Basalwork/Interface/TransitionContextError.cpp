#include "Basalwork/Interface/TransitionContextError.hpp"

#include "Platform/Foundation/Describe.hpp"

namespace Basalwork {
namespace {

struct Describer {
    std::string operator()(const TransitionContextError::FailedToAccessViewControllerForKey& c) const
    {
        return "failedToAccessViewControllerForKey(viewControllerType: " + Foundation::debugQuoted(c.viewControllerType.view())
            + ", key: " + Foundation::debugQuoted(c.key.view()) + ")";
    }
    std::string operator()(const TransitionContextError::FailedToAccessViewForKey& c) const
    {
        return "failedToAccessViewForKey(viewType: " + Foundation::debugQuoted(c.viewType.view())
            + ", key: " + Foundation::debugQuoted(c.key.view()) + ")";
    }
};

} // namespace

std::string TransitionContextError::description() const
{
    return std::visit(Describer {}, m_case);
}

} // namespace Basalwork
