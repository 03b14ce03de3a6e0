#pragma once

namespace Corvendale {

// The presenter of the item details page.
class ItemDetailsSettingsCDelegate {
public:
    virtual ~ItemDetailsSettingsCDelegate() = default;
};

} // namespace Corvendale
