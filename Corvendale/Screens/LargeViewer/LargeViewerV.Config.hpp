#pragma once

#include "Platform/Foundation/Character.hpp"
#include "Platform/Foundation/NSAttributedString.hpp"
#include "Platform/UIKit/CGRect.hpp"
#include "Platform/UIKit/UIEdgeInsets.hpp"

#include <cstdint>
#include <optional>
#include <vector>

namespace Corvendale {

// One layout of the large-type viewer (LargeViewerV.Config): every character's cell, colour and font,
// the optional position number under it, and the panel behind them all.
struct LargeViewerVConfig {
    struct PositionConfig {
        UIKit::CGRect frame;
        std::int64_t position = 0; // counted from 1
        Foundation::NSAttributedString::Attributes attributes;
    };
    struct CharConfig {
        UIKit::CGRect frame;
        Foundation::Character character;
        Foundation::NSAttributedString::Attributes attributes;
        std::optional<PositionConfig> positionConfig;
    };
    struct LineConfig {
        std::vector<CharConfig> charConfigs;
    };

    std::vector<LineConfig> lineConfigs;
    UIKit::CGRect contentContainerFrame;
    UIKit::UIEdgeInsets layoutMargins;
};

} // namespace Corvendale
