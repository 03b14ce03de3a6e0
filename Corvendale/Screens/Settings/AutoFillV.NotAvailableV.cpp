#include "Corvendale/Screens/Settings/AutoFillV.NotAvailableV.hpp"

#include "Corvendale/Screens/Settings/AutoFillV.NotAvailableV.StepV.hpp"

#include "Basalwork/Interface/UIStackView.hpp"

#include "Platform/UIKit/UIStackView.hpp"

namespace Corvendale {

namespace {

std::shared_ptr<UIKit::UIView> stack(const std::vector<std::shared_ptr<AutoFillVNotAvailableVStepV>>& stepVs)
{
    auto stack = Basalwork::UIStackViews::withAxis(
        UIKit::NSLayoutConstraint::Axis::vertical, UIKit::UIStackView::Alignment::fill, UIKit::UIStackView::Distribution::fill, 16);
    for (const auto& stepV : stepVs)
        stack->addArrangedSubview(stepV);
    return stack;
}

} // namespace

std::vector<std::shared_ptr<AutoFillVNotAvailableVStepV>> AutoFillVNotAvailableV::makeStepVs()
{
    using Foundation::String;
    return {
        Foundation::make<StepV>(String("1."), String("Backup your Mac!")),
        Foundation::make<StepV>(String("2."), String("Open System Preferences")),
        Foundation::make<StepV>(String("3."), String("Select Software Update")),
        Foundation::make<StepV>(String("4."), String("Select Update Now")),
    };
}

AutoFillVNotAvailableV::AutoFillVNotAvailableV(std::vector<std::shared_ptr<StepV>> stepVs)
    : AutoFillVTitledStepsV(Foundation::String("AutoFillV.NotAvailableV"), Foundation::String("Update your Mac via System Preferences:"), stack(stepVs))
    , m_stepVs(std::move(stepVs))
{
}

} // namespace Corvendale
