#pragma once

#include "Platform/UIKit/UIBarAppearance.hpp"
#include "Platform/UIKit/UIBarButtonItemAppearance.hpp"

#include <memory>

namespace UIKit {

// A navigation bar's look: its background (from UIBarAppearance) and its items; recorded.
class UINavigationBarAppearance : public UIBarAppearance {
public:
    // Plain items, done items and the back button.
    const std::shared_ptr<UIBarButtonItemAppearance>& buttonAppearance() const { return m_buttonAppearance; }
    void setButtonAppearance(std::shared_ptr<UIBarButtonItemAppearance> appearance) { m_buttonAppearance = std::move(appearance); }
    const std::shared_ptr<UIBarButtonItemAppearance>& doneButtonAppearance() const { return m_doneButtonAppearance; }
    void setDoneButtonAppearance(std::shared_ptr<UIBarButtonItemAppearance> appearance)
    {
        m_doneButtonAppearance = std::move(appearance);
    }
    const std::shared_ptr<UIBarButtonItemAppearance>& backButtonAppearance() const { return m_backButtonAppearance; }
    void setBackButtonAppearance(std::shared_ptr<UIBarButtonItemAppearance> appearance)
    {
        m_backButtonAppearance = std::move(appearance);
    }

protected:
    friend Foundation::Construct;
    UINavigationBarAppearance() = default;
    void initialize() override;

private:
    std::shared_ptr<UIBarButtonItemAppearance> m_buttonAppearance;
    std::shared_ptr<UIBarButtonItemAppearance> m_doneButtonAppearance;
    std::shared_ptr<UIBarButtonItemAppearance> m_backButtonAppearance;
};

} // namespace UIKit
