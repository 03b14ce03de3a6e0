#pragma once

#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/NSLayoutConstraint.hpp"
#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UIFont.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UIView.hpp"

#include <memory>
#include <optional>

namespace Basalwork {

// A centred title and subtitle shown behind an empty table.
class EmptyTableMessageView : public UIKit::UIView {
public:
    struct Config;

    const std::shared_ptr<UIKit::UILabel>& titleLabel() const { return m_titleLabel; }
    const std::shared_ptr<UIKit::UILabel>& subtitleLabel() const { return m_subtitleLabel; }
    const std::shared_ptr<UIKit::NSLayoutConstraint>& centerYConstraint() const { return m_centerYConstraint; }

    UIKit::CGFloat centerYOffset() const { return m_centerYConstraint->constant(); }
    virtual void setCenterYOffset(UIKit::CGFloat offset) { m_centerYConstraint->setConstant(offset); }
    // A configuration shows the message; none hides it and gives the labels their default looks back.
    virtual void update(const std::optional<Config>& with);

protected:
    friend Foundation::Construct;
    EmptyTableMessageView() = default;
    // Built in code only: stops the program.
    explicit EmptyTableMessageView(Foundation::NSCoder& coder);
    void initialize() override;
    virtual void setupViews();

private:
    std::shared_ptr<UIKit::UILabel> m_titleLabel;
    std::shared_ptr<UIKit::UILabel> m_subtitleLabel;
    std::shared_ptr<UIKit::NSLayoutConstraint> m_centerYConstraint;
};

struct EmptyTableMessageView::Config {
    // Absent texts are kept as one space, so that a configured label keeps the height of one line.
    Config(std::optional<Foundation::String> titleText, std::shared_ptr<UIKit::UIColor> titleColor,
           std::shared_ptr<UIKit::UIFont> titleFont, std::optional<Foundation::String> subtitleText,
           std::shared_ptr<UIKit::UIColor> subtitleColor, std::shared_ptr<UIKit::UIFont> subtitleFont)
        : titleText(titleText ? std::move(titleText) : Foundation::String(" "))
        , titleColor(std::move(titleColor))
        , titleFont(std::move(titleFont))
        , subtitleText(subtitleText ? std::move(subtitleText) : Foundation::String(" "))
        , subtitleColor(std::move(subtitleColor))
        , subtitleFont(std::move(subtitleFont))
    {
    }

    std::optional<Foundation::String> titleText;
    std::shared_ptr<UIKit::UIColor> titleColor;
    std::shared_ptr<UIKit::UIFont> titleFont;
    std::optional<Foundation::String> subtitleText;
    std::shared_ptr<UIKit::UIColor> subtitleColor;
    std::shared_ptr<UIKit::UIFont> subtitleFont;
};

} // namespace Basalwork
