#pragma once

#include "Platform/Foundation/IndexPath.hpp"

#include <cstdint>
#include <memory>

namespace UIKit {

class UITableView;
class UITableViewCell;

// What a table shows. The table holds its data source weakly.
class UITableViewDataSource {
public:
    virtual ~UITableViewDataSource() = default;

    virtual std::int64_t numberOfSections(UITableView& /*tableView*/) { return 1; }
    virtual std::int64_t numberOfRowsInSection(UITableView& tableView, std::int64_t section) = 0;
    virtual std::shared_ptr<UITableViewCell> cellForRowAt(UITableView& tableView,
                                                          const Foundation::IndexPath& indexPath) = 0;
};

} // namespace UIKit
