#pragma once

namespace Corvendale {

// The presenter of the item list page.
class ItemListSettingsCDelegate {
public:
    virtual ~ItemListSettingsCDelegate() = default;
};

} // namespace Corvendale
