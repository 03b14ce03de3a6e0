#include "Basalwork/Interface/UIViewAnimatingState.hpp"

namespace Basalwork {

Foundation::String description(UIKit::UIViewAnimatingState state)
{
    using State = UIKit::UIViewAnimatingState;
    switch (state) {
    case State::inactive: return "inactive";
    case State::active: return "active";
    case State::stopped: return "stopped";
    }
    return "@unknown default";
}

} // namespace Basalwork
