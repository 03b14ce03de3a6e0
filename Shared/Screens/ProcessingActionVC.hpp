#pragma once

#include "Shared/Screens/ProcessingAction.hpp"

#include "Platform/UIKit/UIViewController.hpp"

#include <memory>

namespace Foundation {
class Timer;
}

namespace UIKit {
class UIButton;
class UILabel;
}

namespace Shared {

// The sheet a job's progress shows on: its title, how far it has come, and Cancel, which cancels the
// job's progress (the job itself notices and stops).
class ProcessingActionVC : public UIKit::UIViewController {
public:
    ~ProcessingActionVC() override;

    const ProcessingAction& action() const { return m_action; }
    // The percentage text, refreshed while the view is on screen.
    Foundation::String progressText() const;

protected:
    friend Foundation::Construct;
    explicit ProcessingActionVC(ProcessingAction action);

    void loadView() override;
    void viewWillAppear(bool animated) override;
    void viewDidDisappear(bool animated) override;

private:
    void refresh();
    void stopRefreshing();

    ProcessingAction m_action;
    std::shared_ptr<UIKit::UILabel> m_titleLabel;
    std::shared_ptr<UIKit::UILabel> m_progressLabel;
    std::shared_ptr<UIKit::UIButton> m_cancelButton;
    std::shared_ptr<Foundation::Timer> m_refreshTimer;
};

} // namespace Shared
