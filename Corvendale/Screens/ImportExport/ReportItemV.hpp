#pragma once

#include "Shared/Stores/PreferenceStoreAppearanceUpdateHandling.hpp"

#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/UIView.hpp"

#include <memory>
#include <optional>

namespace UIKit {
class UILabel;
class UITextView;
} // namespace UIKit

namespace Corvendale {

// One paragraph of an import or export report: a title over a selectable message. Shown with a
// configuration, hidden without one (its texts then stay as they were).
class ReportItemV : public UIKit::UIView, public Shared::PreferenceStoreAppearanceUpdateHandling {
public:
    struct Config {
        Foundation::String titleText;
        // None clears the message.
        std::optional<Foundation::String> messageText;
    };

    const std::shared_ptr<UIKit::UILabel>& titleLabel() const { return m_titleLabel; }
    const std::shared_ptr<UIKit::UITextView>& messageTextView() const { return m_messageTextView; }

    void update(const std::optional<Config>& config);
    void update(const Shared::Settings::Appearance& appearance) override;

protected:
    friend Foundation::Construct;
    // The import report's message views are see-through; the export report keeps the text view's own.
    ReportItemV(Foundation::String identifier, bool hasClearMessageBackground);
    void initialize() override;

private:
    Foundation::String m_identifier;
    bool m_hasClearMessageBackground;
    std::shared_ptr<UIKit::UILabel> m_titleLabel;
    std::shared_ptr<UIKit::UITextView> m_messageTextView;
};

} // namespace Corvendale
