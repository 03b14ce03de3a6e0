#include "Platform/UIKit/UITableViewController.hpp"

#include "Platform/UIKit/UIScreen.hpp"

namespace UIKit {

std::shared_ptr<UITableView> UITableViewController::tableView()
{
    return std::static_pointer_cast<UITableView>(view());
}

void UITableViewController::loadView()
{
    auto table = Foundation::make<UITableView>(UIScreen::main()->bounds(), m_style);
    auto self = sharedSelf(this);
    table->setDataSource(std::static_pointer_cast<UITableViewDataSource>(self));
    table->setDelegate(std::static_pointer_cast<UITableViewDelegate>(self));
    setView(table);
}

} // namespace UIKit
