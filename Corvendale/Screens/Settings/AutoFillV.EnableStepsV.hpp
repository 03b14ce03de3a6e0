#pragma once

#include "Platform/UIKit/UIView.hpp"

#include <memory>

namespace Corvendale {

class AutoFillVEnableStepsVSafariStepsV;
class AutoFillVEnableStepsVSystemStepsV;

// AutoFillV.EnableStepsV: how to switch AutoFill on, in the system's settings and then in the browser.
class AutoFillVEnableStepsV : public UIKit::UIView {
public:
    using SystemStepsV = AutoFillVEnableStepsVSystemStepsV;
    using SafariStepsV = AutoFillVEnableStepsVSafariStepsV;

    const std::shared_ptr<SystemStepsV>& systemStepsV() const { return m_systemStepsV; }
    const std::shared_ptr<SafariStepsV>& safariStepsV() const { return m_safariStepsV; }

protected:
    friend Foundation::Construct;
    AutoFillVEnableStepsV();
    void initialize() override;

private:
    std::shared_ptr<SystemStepsV> m_systemStepsV;
    std::shared_ptr<SafariStepsV> m_safariStepsV;
};

} // namespace Corvendale
