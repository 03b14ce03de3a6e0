#pragma once

#include "Platform/Foundation/OptionSet.hpp"
#include "Platform/UIKit/UIMenu.hpp"

#include <cstdint>

namespace UIKit {

struct UIMenu::Options : Foundation::OptionSet<UIMenu::Options> {
    static constexpr Options displayInline() { return {1u << 0}; }
    static constexpr Options destructive() { return {1u << 1}; }
    static constexpr Options singleSelection() { return {1u << 5}; }
    static constexpr Options displayAsPalette() { return {1u << 7}; }
};

inline UIMenu::Options UIMenu::options() const
{
    return {m_options};
}

} // namespace UIKit
