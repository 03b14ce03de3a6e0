#include "Basalwork/Interface/UIApplication.hpp"

namespace Basalwork {

Foundation::String description(UIKit::UIApplication::State state)
{
    using State = UIKit::UIApplication::State;
    switch (state) {
    case State::active: return "active";
    case State::inactive: return "inactive";
    case State::background: return "background";
    }
    return "unknown default";
}

bool isBackground(UIKit::UIApplication::State state)
{
    return state == UIKit::UIApplication::State::background;
}

bool isBackgroundOrInactive(UIKit::UIApplication::State state)
{
    return state == UIKit::UIApplication::State::inactive || state == UIKit::UIApplication::State::background;
}

void openSettingsAppAtAppsCustomSettingsScreen(UIKit::UIApplication& application)
{
    auto url = Foundation::URL::string(UIKit::UIApplication::openSettingsURLString());
    if (!url)
        return;
    application.open(*url, {}, nullptr);
}

bool isActive(UIKit::UIApplication::State state)
{
    return state == UIKit::UIApplication::State::active;
}

} // namespace Basalwork
