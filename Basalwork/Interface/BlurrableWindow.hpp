#pragma once

#include "Basalwork/Interface/PercentAppliedVisualEffectView.hpp"

#include "Platform/UIKit/UIWindow.hpp"

#include <memory>

namespace Basalwork {

// A window that can lay a light blur over everything it shows, for example while the program's content
// must not be read.
class BlurrableWindow : public UIKit::UIWindow {
public:
    // Brings the blur to the front at 17 per cent. The misspelt name is the one callers use.
    virtual void enabledBlur();
    // Sends the blur to the back and clears it; it stays in the window.
    virtual void disableBlur();

    const std::shared_ptr<PercentAppliedVisualEffectView>& blurredContentView() const { return m_blurredContentView; }

protected:
    friend Foundation::Construct;
    explicit BlurrableWindow(const UIKit::CGRect& frame = UIKit::CGRect::zero());
    // Built in code only: stops the program.
    explicit BlurrableWindow(Foundation::NSCoder& coder);
    void initialize() override;

private:
    std::shared_ptr<PercentAppliedVisualEffectView> m_blurredContentView;
};

} // namespace Basalwork
