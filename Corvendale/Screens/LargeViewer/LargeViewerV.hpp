#pragma once

#include "Corvendale/Screens/LargeViewer/LargeViewerV.Config.hpp"
#include "Corvendale/Screens/LargeViewer/LargeViewerV.Content.hpp"

#include "Shared/Model/TimeStepObserving.hpp"
#include "Shared/Stores/PreferenceStoreAppearanceUpdateHandling.hpp"

#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/UIView.hpp"

#include <memory>

namespace UIKit {
class NSLayoutConstraint;
}

namespace Shared {
class TimeStepView;
}

namespace Corvendale {

// One secret in large type over a dimmed window: a grid of monospaced cells on a rounded panel, broken
// into lines at word-like boundaries, balanced, shrunk until it fits, optionally numbered, digits and
// symbols coloured apart from letters. Nothing is kept between draws: each one lays the text out again.
class LargeViewerV : public UIKit::UIView,
                     public Shared::PreferenceStoreAppearanceUpdateHandling,
                     public Shared::TimeStepObserving {
public:
    using Content = LargeViewerVContent;
    using Config = LargeViewerVConfig;

    // Point sizes below this are not tried: the text is drawn there, clipped by the view.
    static constexpr UIKit::CGFloat minimumPointSize = 4;

    const Content& content() const { return m_content; }
    const Foundation::String& text() const { return m_text; }
    const std::shared_ptr<Shared::TimeStepView>& timeStepView() const { return m_timeStepView; }
    const std::shared_ptr<UIKit::NSLayoutConstraint>& timeStepViewCenterYConstraint() const { return m_timeStepViewCenterYConstraint; }
    const std::shared_ptr<UIKit::NSLayoutConstraint>& timeStepViewHeightConstraint() const { return m_timeStepViewHeightConstraint; }

    virtual void setup();
    // The characters to show now: the content's string, or the one-time password's current code.
    virtual void updateText();
    virtual Config makeConfig() const;

    void layoutSubviews() override;
    void draw(const UIKit::CGRect& rect) override;

    void update(const Shared::Settings::Appearance& appearance) override;
    void timeStepNotifierDidBeginTimeStep(Shared::TimeStepNotifier& notifier) override;

protected:
    friend Foundation::Construct;
    // init(content:)
    explicit LargeViewerV(Content content);
    // Built in code only: stops the program.
    explicit LargeViewerV(Foundation::NSCoder& coder);
    void initialize() override;

private:
    bool isCompact() const;

    Content m_content;
    Foundation::String m_text;
    std::shared_ptr<Shared::TimeStepView> m_timeStepView;
    std::shared_ptr<UIKit::NSLayoutConstraint> m_timeStepViewCenterYConstraint;
    std::shared_ptr<UIKit::NSLayoutConstraint> m_timeStepViewHeightConstraint;
};

} // namespace Corvendale
