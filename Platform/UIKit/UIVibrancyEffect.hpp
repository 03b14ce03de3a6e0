#pragma once

#include "Platform/UIKit/UIBlurEffect.hpp"

#include <memory>

namespace UIKit {

// Makes content inside a blur stand out from it; tied to the blur it sits in.
class UIVibrancyEffect : public UIVisualEffect {
public:
    const std::shared_ptr<UIBlurEffect>& blurEffect() const { return m_blurEffect; }

protected:
    friend Foundation::Construct;
    // init(blurEffect:)
    explicit UIVibrancyEffect(std::shared_ptr<UIBlurEffect> blurEffect)
        : m_blurEffect(std::move(blurEffect))
    {
    }

private:
    std::shared_ptr<UIBlurEffect> m_blurEffect;
};

} // namespace UIKit
