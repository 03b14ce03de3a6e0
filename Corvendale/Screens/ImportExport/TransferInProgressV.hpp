#pragma once

#include "Shared/Stores/PreferenceStoreAppearanceUpdateHandling.hpp"

#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/UIView.hpp"

#include <memory>
#include <optional>

namespace Foundation {
class Progress;
}

namespace UIKit {
class UIActivityIndicatorView;
class UILabel;
class UIProgressView;
} // namespace UIKit

namespace Corvendale {

// A running import or export: what runs, a spinner and a bar that follows the job's progress.
class TransferInProgressV : public UIKit::UIView, public Shared::PreferenceStoreAppearanceUpdateHandling {
public:
    struct InProgress {
        Foundation::String titleText;
        std::shared_ptr<Foundation::Progress> progress;
    };

    const std::shared_ptr<UIKit::UILabel>& titleLabel() const { return m_titleLabel; }
    const std::shared_ptr<UIKit::UIActivityIndicatorView>& activityIndicator() const { return m_activityIndicator; }
    const std::shared_ptr<UIKit::UIProgressView>& progressView() const { return m_progressView; }

    // None stops the spinner and hides the bar; the title and the followed progress stay.
    void update(const std::optional<InProgress>& config);
    void update(const Shared::Settings::Appearance& appearance) override;

protected:
    friend Foundation::Construct;
    explicit TransferInProgressV(Foundation::String identifier);
    void initialize() override;

private:
    Foundation::String m_identifier;
    std::shared_ptr<UIKit::UILabel> m_titleLabel;
    std::shared_ptr<UIKit::UIActivityIndicatorView> m_activityIndicator;
    std::shared_ptr<UIKit::UIProgressView> m_progressView;
};

} // namespace Corvendale
