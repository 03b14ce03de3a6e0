#pragma once

#include "Platform/UIKit/UIMenuElement.hpp"

#include <memory>
#include <vector>

namespace UIKit {

// A menu: a title and its entries. An untitled menu shown inline is a group that appears inside its
// parent between separators. Menus never change: a changed one is a new menu.
class UIMenu : public UIMenuElement {
public:
    struct Identifier;
    struct Options;

    ~UIMenu() override;

    const Identifier& identifier() const;
    Options options() const;
    const std::vector<std::shared_ptr<UIMenuElement>>& children() const { return m_children; }
    std::shared_ptr<UIMenu> replacingChildren(std::vector<std::shared_ptr<UIMenuElement>> children) const;

protected:
    friend Foundation::Construct;
    // init(title:image:identifier:options:children:); without an identifier the menu gets a unique one.
    UIMenu(Foundation::String title, std::vector<std::shared_ptr<UIMenuElement>> children);
    UIMenu(Foundation::String title, const Identifier& identifier, Options options,
           std::vector<std::shared_ptr<UIMenuElement>> children);

private:
    std::unique_ptr<Identifier> m_identifier; // complete only after this class
    std::uint64_t m_options = 0;
    std::vector<std::shared_ptr<UIMenuElement>> m_children;
};

} // namespace UIKit

#include "Platform/UIKit/UIMenu.Identifier.hpp"
#include "Platform/UIKit/UIMenu.Options.hpp"
