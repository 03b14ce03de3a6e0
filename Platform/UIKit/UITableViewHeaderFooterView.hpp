#pragma once

#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/UIView.hpp"

#include <optional>

namespace UIKit {

// A section's header or footer view, reused by identifier as cells are.
class UITableViewHeaderFooterView : public UIView {
public:
    const std::optional<Foundation::String>& reuseIdentifier() const { return m_reuseIdentifier; }
    const std::shared_ptr<UIView>& contentView() const { return m_contentView; }
    virtual void prepareForReuse() {}

protected:
    friend Foundation::Construct;
    friend class UITableView;
    UITableViewHeaderFooterView() = default;
    explicit UITableViewHeaderFooterView(Foundation::NSCoder& coder)
        : UIView(coder)
    {
    }
    void initialize() override
    {
        UIView::initialize();
        m_contentView = Foundation::make<UIView>();
        addSubview(m_contentView);
    }

private:
    std::optional<Foundation::String> m_reuseIdentifier;
    std::shared_ptr<UIView> m_contentView;
};

} // namespace UIKit
