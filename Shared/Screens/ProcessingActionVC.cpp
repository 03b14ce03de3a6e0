#include "Shared/Screens/ProcessingActionVC.hpp"

#include "Shared/Screens/UIColor.hpp"

#include "Basalwork/Interface/LayoutInsets.hpp"
#include "Basalwork/Interface/UIView.hpp"

#include "Platform/Foundation/Progress.hpp"
#include "Platform/Foundation/Timer.hpp"
#include "Platform/UIKit/UIButton.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UIStackView.hpp"

#include <algorithm>
#include <string>

namespace Shared {

ProcessingActionVC::ProcessingActionVC(ProcessingAction action)
    : m_action(std::move(action))
{
    setModalPresentationStyle(UIKit::UIModalPresentationStyle::formSheet);
}

ProcessingActionVC::~ProcessingActionVC()
{
    stopRefreshing();
}

Foundation::String ProcessingActionVC::progressText() const
{
    if (!m_action.progress || m_action.progress->totalUnitCount() <= 0)
        return "";
    if (m_action.progress->isCancelled())
        return "Cancelling…";
    auto total = m_action.progress->totalUnitCount();
    auto completed = std::clamp<std::int64_t>(m_action.progress->completedUnitCount(), 0, total);
    return Foundation::String(std::to_string(completed * 100 / total) + "%");
}

void ProcessingActionVC::loadView()
{
    auto view = Foundation::make<UIKit::UIView>();
    view->setBackgroundColor(UIColors::primaryBackground());
    m_titleLabel = Foundation::make<UIKit::UILabel>();
    m_titleLabel->setText(m_action.titleText());
    m_titleLabel->setTextAlignment(UIKit::NSTextAlignment::center);
    m_progressLabel = Foundation::make<UIKit::UILabel>();
    m_progressLabel->setTextAlignment(UIKit::NSTextAlignment::center);
    m_progressLabel->setTextColor(UIColors::secondaryTint());
    m_cancelButton = Foundation::make<UIKit::UIButton>();
    m_cancelButton->setTitle(Foundation::String("Cancel"), UIKit::UIControl::State::normal());
    m_cancelButton->setIsEnabled(m_action.progress != nullptr);
    m_cancelButton->addAction(
        [weakSelf = weakSelf(this)] {
            auto self = weakSelf.lock();
            if (!self || !self->m_action.progress)
                return;
            self->m_action.progress->cancel();
            self->m_cancelButton->setIsEnabled(false);
            self->refresh();
        },
        UIKit::UIControl::Event::primaryActionTriggered());
    auto stack = Foundation::make<UIKit::UIStackView>();
    stack->setAxis(UIKit::NSLayoutConstraint::Axis::vertical);
    stack->setSpacing(8.0);
    stack->addArrangedSubview(m_titleLabel);
    stack->addArrangedSubview(m_progressLabel);
    stack->addArrangedSubview(m_cancelButton);
    Basalwork::addSubviewCenteredLimitedToMargins(*view, stack, Basalwork::LayoutInsets::zero(), 1'000'000, nullptr);
    setView(view);
    refresh();
}

void ProcessingActionVC::viewWillAppear(bool animated)
{
    UIViewController::viewWillAppear(animated);
    refresh();
    stopRefreshing();
    m_refreshTimer = Foundation::Timer::scheduledTimer(0.25, true, [weakSelf = weakSelf(this)](Foundation::Timer&) {
        if (auto self = weakSelf.lock())
            self->refresh();
    });
}

void ProcessingActionVC::viewDidDisappear(bool animated)
{
    UIViewController::viewDidDisappear(animated);
    stopRefreshing();
}

void ProcessingActionVC::refresh()
{
    if (m_progressLabel)
        m_progressLabel->setText(progressText());
}

void ProcessingActionVC::stopRefreshing()
{
    if (m_refreshTimer)
        m_refreshTimer->invalidate();
    m_refreshTimer.reset();
}

} // namespace Shared
