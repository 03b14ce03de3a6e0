#pragma once

#include "Shared/Model/Forward.hpp"
#include "Shared/Model/Settings.Items.hpp"

#include "Platform/UIKit/UITableViewCell.hpp"

#include <memory>

namespace UIKit {
class UILabel;
} // namespace UIKit

namespace Shared {

// A row of the item list: the title with the favourite and attachment marks, and the subtitle the list
// style asks for.
class EntryCell : public UIKit::UITableViewCell {
public:
    static constexpr const char* reuseIdentifier = "EntriesVC.Cell";

    void configure(const EntryIndex& index, Settings::Items::ListStyle style, const Settings::Appearance& appearance);
    const std::shared_ptr<UIKit::UILabel>& titleLabel() const { return m_titleLabel; }
    const std::shared_ptr<UIKit::UILabel>& subtitleLabel() const { return m_subtitleLabel; }

protected:
    friend Foundation::Construct;
    EntryCell() = default;
    void initialize() override;

private:
    std::shared_ptr<UIKit::UILabel> m_titleLabel;
    std::shared_ptr<UIKit::UILabel> m_subtitleLabel;
};

} // namespace Shared
