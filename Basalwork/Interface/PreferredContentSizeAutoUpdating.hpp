#pragma once

#include "Platform/Foundation/NSKeyValueObservation.hpp"
#include "Platform/UIKit/UIScrollView.hpp"
#include "Platform/UIKit/UITableViewController.hpp"
#include "Platform/UIKit/UIViewController.hpp"

#include <algorithm>
#include <memory>

namespace Basalwork {

// A controller shown in a pop-over whose preferred height follows a scroll view's content, up to a
// maximum. Mix it into a UIViewController subclass.
class PreferredContentSizeAutoUpdating {
public:
    virtual ~PreferredContentSizeAutoUpdating() = default;

    virtual UIKit::CGFloat maximumContentHeight() const { return 1000.0; }
    const std::shared_ptr<Foundation::NSKeyValueObservation>& contentSizeObserver() const { return m_contentSizeObserver; }
    void setContentSizeObserver(std::shared_ptr<Foundation::NSKeyValueObservation> observer)
    {
        m_contentSizeObserver = std::move(observer);
    }

    // Replaces any running observation; only later content sizes are reported.
    template <std::derived_from<UIKit::UIViewController> Controller>
    static void setupPreferredContentSizeUpdater(const std::shared_ptr<Controller>& controller, UIKit::UIScrollView& scrollView)
    {
        std::weak_ptr<Controller> weak = controller;
        controller->setContentSizeObserver(scrollView.observeContentSize([weak](UIKit::CGSize newValue) {
            auto self = weak.lock();
            if (!self || newValue.height == self->preferredContentSize().height)
                return;
            self->setPreferredContentSize(
                {UIKit::UIView::noIntrinsicMetric, std::min(self->maximumContentHeight(), newValue.height)});
        }));
    }
    // For a table view controller: its own table view.
    template <std::derived_from<UIKit::UITableViewController> Controller>
    static void setupPreferredContentSizeUpdater(const std::shared_ptr<Controller>& controller)
    {
        setupPreferredContentSizeUpdater(controller, *controller->tableView());
    }

    void removePreferredContentSizeUpdater()
    {
        if (m_contentSizeObserver)
            m_contentSizeObserver->invalidate();
        m_contentSizeObserver = nullptr;
    }

private:
    std::shared_ptr<Foundation::NSKeyValueObservation> m_contentSizeObserver;
};

} // namespace Basalwork
