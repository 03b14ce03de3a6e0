#pragma once

#include "Shared/Stores/PreferenceStoreAppearanceUpdateHandling.hpp"

#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/UIView.hpp"

#include <memory>
#include <optional>

namespace Basalwork {
class BorderShadowableTextView;
}

namespace UIKit {
class UILabel;
class UITextView;
} // namespace UIKit

namespace Corvendale {

// The failures paragraph of an import or export report: title, message, and an editable box with the
// failure texts, so that the user can blank out secrets before the box's text goes out in a report mail.
class ReportFailureItemV : public UIKit::UIView, public Shared::PreferenceStoreAppearanceUpdateHandling {
public:
    struct Config {
        Foundation::String titleText;
        Foundation::String messageText;
        Foundation::String failureText;
    };

    const std::shared_ptr<UIKit::UILabel>& titleLabel() const { return m_titleLabel; }
    const std::shared_ptr<UIKit::UITextView>& messageTextView() const { return m_messageTextView; }
    const std::shared_ptr<Basalwork::BorderShadowableTextView>& failureTextView() const { return m_failureTextView; }
    // What the box holds now, the user's edits included.
    Foundation::String failureText() const;

    void update(const std::optional<Config>& config);
    void update(const Shared::Settings::Appearance& appearance) override;

protected:
    friend Foundation::Construct;
    // The import report hides a blank failure box; the export report always shows it.
    ReportFailureItemV(Foundation::String identifier, bool hasClearMessageBackground, bool hidesBlankFailureText);
    void initialize() override;

private:
    Foundation::String m_identifier;
    bool m_hasClearMessageBackground;
    bool m_hidesBlankFailureText;
    std::shared_ptr<UIKit::UILabel> m_titleLabel;
    std::shared_ptr<UIKit::UITextView> m_messageTextView;
    std::shared_ptr<Basalwork::BorderShadowableTextView> m_failureTextView;
};

} // namespace Corvendale
