#pragma once

#include "Platform/UIKit/UITableView.hpp"
#include "Platform/UIKit/UITableViewDataSource.hpp"
#include "Platform/UIKit/UITableViewDelegate.hpp"
#include "Platform/UIKit/UIViewController.hpp"

#include <memory>

namespace UIKit {

// A controller whose view is a table that it serves as data source and delegate.
class UITableViewController : public UIViewController, public UITableViewDataSource, public UITableViewDelegate {
public:
    // The table, made with the view.
    std::shared_ptr<UITableView> tableView();
    void loadView() override;

    std::int64_t numberOfRowsInSection(UITableView& /*tableView*/, std::int64_t /*section*/) override { return 0; }
    // A plain controller shows no rows, so it has no cells to give.
    std::shared_ptr<UITableViewCell> cellForRowAt(UITableView& /*tableView*/,
                                                  const Foundation::IndexPath& /*indexPath*/) override
    {
        return nullptr;
    }

    UITableView::Style style() const { return m_style; }

protected:
    friend Foundation::Construct;
    // init(style:)
    explicit UITableViewController(UITableView::Style style)
        : m_style(style)
    {
    }

private:
    UITableView::Style m_style;
};

} // namespace UIKit
