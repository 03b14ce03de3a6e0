#pragma once

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/String.hpp"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace UIKit {

class UIMenu;
class UIMenuElement;
class UIViewController;

// What a context menu shows: a preview (recorded) and the menu its action provider makes.
class UIContextMenuConfiguration : public Foundation::NSObject {
public:
    using PreviewProvider = std::function<std::shared_ptr<UIViewController>()>;
    using ActionProvider = std::function<std::shared_ptr<UIMenu>(const std::vector<std::shared_ptr<UIMenuElement>>& suggestedActions)>;

    const std::optional<Foundation::String>& identifier() const { return m_identifier; }
    const PreviewProvider& previewProvider() const { return m_previewProvider; }
    // The menu as it opens: the action provider's, given no suggested actions; none without a provider.
    std::shared_ptr<UIMenu> makeMenu() const;

protected:
    friend Foundation::Construct;
    // init(identifier:previewProvider:actionProvider:)
    UIContextMenuConfiguration(std::optional<Foundation::String> identifier, PreviewProvider previewProvider,
                               ActionProvider actionProvider)
        : m_identifier(std::move(identifier))
        , m_previewProvider(std::move(previewProvider))
        , m_actionProvider(std::move(actionProvider))
    {
    }

private:
    std::optional<Foundation::String> m_identifier;
    PreviewProvider m_previewProvider;
    ActionProvider m_actionProvider;
};

} // namespace UIKit
