#pragma once

namespace Shared {

class MenuSource;
class MenuAction;
class MenuBuilder;

// The rows menus belong to, the actions they offer and the builder that turns actions into menus.
struct Menu {
    using Source = MenuSource;
    using Action = MenuAction;
    using Builder = MenuBuilder;
};

} // namespace Shared
