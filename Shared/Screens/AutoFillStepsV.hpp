#pragma once

#include "Shared/Stores/PreferenceStoreAppearanceUpdateHandling.hpp"

#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/UIView.hpp"

#include <memory>
#include <vector>

namespace UIKit {
class UILabel;
}

namespace Shared {

// Numbered steps, one line each ("1. Open a terminal"), as the AutoFill screens show them: what the
// system's AutoFill service, a browser and the program ask the user to do.
class AutoFillStepsV : public UIKit::UIView, public PreferenceStoreAppearanceUpdateHandling {
public:
    const std::vector<Foundation::String>& steps() const { return m_steps; }
    const std::vector<std::shared_ptr<UIKit::UILabel>>& stepLabels() const { return m_stepLabels; }

    void update(const Settings::Appearance& appearance) override;

protected:
    friend Foundation::Construct;
    explicit AutoFillStepsV(std::vector<Foundation::String> steps);
    void initialize() override;

private:
    std::vector<Foundation::String> m_steps;
    std::vector<std::shared_ptr<UIKit::UILabel>> m_stepLabels;
};

} // namespace Shared
