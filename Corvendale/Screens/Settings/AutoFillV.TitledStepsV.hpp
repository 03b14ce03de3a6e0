#pragma once

#include "Shared/Stores/PreferenceStoreAppearanceUpdateHandling.hpp"

#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/UIView.hpp"

#include <memory>

namespace UIKit {
class UILabel;
}

namespace Corvendale {

// What the AutoFill page's step sections share: a title over a view of steps, stacked 16 points apart.
class AutoFillVTitledStepsV : public UIKit::UIView, public Shared::PreferenceStoreAppearanceUpdateHandling {
public:
    const std::shared_ptr<UIKit::UILabel>& titleLabel() const { return m_titleLabel; }
    const std::shared_ptr<UIKit::UIView>& stepsV() const { return m_stepsV; }

    void update(const Shared::Settings::Appearance& appearance) override;

protected:
    friend Foundation::Construct;
    AutoFillVTitledStepsV(Foundation::String identifier, Foundation::String title, std::shared_ptr<UIKit::UIView> stepsV);
    void initialize() override;

private:
    Foundation::String m_identifier;
    Foundation::String m_title;
    std::shared_ptr<UIKit::UILabel> m_titleLabel;
    std::shared_ptr<UIKit::UIView> m_stepsV;
};

} // namespace Corvendale
