#pragma once

#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/UIControl.hpp"

#include <cstdint>
#include <map>
#include <optional>

namespace UIKit {

class UILabel;

// A push button: a title for each control state, or a configuration that describes it whole.
class UIButton : public UIControl {
public:
    struct Configuration;

    ~UIButton() override;

    // title(for:): the title set for the state, else the one for normal.
    std::optional<Foundation::String> title(State forState) const;
    virtual void setTitle(std::optional<Foundation::String> title, State forState);
    // The title for the current state.
    std::optional<Foundation::String> currentTitle() const { return title(state()); }

    // The label that shows the title, made when first asked for once the button has a title; a button
    // that never had one (an image-only button) has none.
    std::shared_ptr<UILabel> titleLabel() const;

    const std::optional<Configuration>& configuration() const;
    void setConfiguration(std::optional<Configuration> configuration);

    // Its title on the character grid: the current title, or the configuration's title over its
    // subtitle within the configuration's content insets. A button without a title takes one cell, so
    // that it can still be seen and clicked.
    CGSize intrinsicContentSize() const override;
    CGSize sizeThatFits(CGSize /*size*/) const override { return intrinsicContentSize(); }

protected:
    friend Foundation::Construct;
    UIButton();
    explicit UIButton(const CGRect& frame);
    explicit UIButton(Foundation::NSCoder& coder);
    bool triggersPrimaryActionOnTap() const override { return true; }

private:
    std::map<std::uint64_t, Foundation::String> m_titles;
    // Held apart because the configuration type is complete only after this class.
    std::unique_ptr<std::optional<Configuration>> m_configuration;
    mutable std::shared_ptr<UILabel> m_titleLabel;
};

} // namespace UIKit

#include "Platform/UIKit/UIButton.Configuration.hpp"
