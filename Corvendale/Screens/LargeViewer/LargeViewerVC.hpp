#pragma once

#include "Corvendale/Screens/LargeViewer/LargeViewerV.Content.hpp"

#include "Shared/Stores/PreferenceStoreAppearanceUpdateHandling.hpp"

#include "Platform/UIKit/UIViewController.hpp"

#include <memory>

namespace Corvendale {

class LargeViewerV;
class LargeViewerVCDelegate;

// Hosts the large-type view over the whole window and asks its presenter to take it away on a click
// anywhere (the characters or the dimmed area) or on Escape.
class LargeViewerVC : public UIKit::UIViewController, public Shared::PreferenceStoreAppearanceUpdateHandling {
public:
    std::shared_ptr<LargeViewerVCDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(const std::shared_ptr<LargeViewerVCDelegate>& delegate) { m_delegate = delegate; }
    const std::shared_ptr<LargeViewerV>& largeViewerV() const { return m_largeViewerV; }
    const LargeViewerVContent& content() const { return m_content; }

    void loadView() override;
    void viewDidLoad() override;
    // Takes the keyboard once shown, so that Escape reaches it.
    void viewDidAppear(bool animated) override;
    bool canBecomeFirstResponder() const override { return true; }
    std::optional<std::vector<std::shared_ptr<UIKit::UIKeyCommand>>> keyCommands() const override;
    void didTapContentOrBackground();
    void handleEscapeKeyPress();

    void update(const Shared::Settings::Appearance&) override {}

protected:
    friend Foundation::Construct;
    // init(content:)
    explicit LargeViewerVC(LargeViewerVContent content);
    // Built in code only: stops the program.
    explicit LargeViewerVC(Foundation::NSCoder& coder);
    void initialize() override;

private:
    std::weak_ptr<LargeViewerVCDelegate> m_delegate;
    std::shared_ptr<LargeViewerV> m_largeViewerV;
    LargeViewerVContent m_content;
};

} // namespace Corvendale
