#include "Basalwork/Interface/RequiredHeightProviding.hpp"
#include "Basalwork/Interface/UIView.hpp"

#include "Platform/UIKit/NSLayoutConstraint.hpp"
#include "Platform/UIKit/TextGrid.hpp"
#include "Platform/UIKit/UILabel.hpp"

#include <gtest/gtest.h>

using Foundation::make;
using Foundation::String;
using UIKit::CGFloat;
using UIKit::CGRect;

namespace {

// A note: a title over a body that wraps, 12 points inside the view.
class NoteV : public UIKit::UIView {
public:
    struct Config {
        String title;
        String body;
    };

    static const std::shared_ptr<NoteV>& sizingInstance()
    {
        static const auto instance = make<NoteV>();
        return instance;
    }
    void update(const Config& with, bool /*animated*/, CGFloat /*givenContentWidth*/)
    {
        m_title->setText(with.title);
        m_body->setText(with.body);
    }

protected:
    friend Foundation::Construct;
    NoteV() = default;
    void initialize() override
    {
        UIView::initialize();
        m_body->setNumberOfLines(0);
        for (const auto& label : {m_title, m_body}) {
            label->setTranslatesAutoresizingMaskIntoConstraints(false);
            addSubview(label);
        }
        UIKit::NSLayoutConstraint::activate({
            m_title->topAnchor().constraintEqualTo(topAnchor(), 12),
            m_title->leadingAnchor().constraintEqualTo(leadingAnchor(), 12),
            trailingAnchor().constraintGreaterThanOrEqualTo(m_title->trailingAnchor(), 12),
            m_body->topAnchor().constraintEqualTo(m_title->bottomAnchor(), 4),
            m_body->leadingAnchor().constraintEqualTo(leadingAnchor(), 12),
            trailingAnchor().constraintEqualTo(m_body->trailingAnchor(), 12),
            bottomAnchor().constraintEqualTo(m_body->bottomAnchor(), 12),
        });
    }

private:
    std::shared_ptr<UIKit::UILabel> m_title = make<UIKit::UILabel>();
    std::shared_ptr<UIKit::UILabel> m_body = make<UIKit::UILabel>();
};

// Knows its height without asking its constraints.
class FixedV : public UIKit::UIView {
public:
    using Config = int;
    static std::shared_ptr<FixedV> sizingInstance() { return make<FixedV>(); }
    void update(const Config&, bool, CGFloat) {}
    CGFloat requiredHeight(CGFloat givenContentWidth) const { return givenContentWidth / 2; }

protected:
    friend Foundation::Construct;
    FixedV() = default;
};

static_assert(Basalwork::RequiredHeightProviding<NoteV>);
static_assert(!Basalwork::RequiredHeightProviding<UIKit::UILabel>);

} // namespace

TEST(RequiredHeight, AgreesWithTheHeightTheSameViewIsLaidOutAt)
{
    const NoteV::Config config {"Wi-Fi", "The network at home, with the password on the back of the router"};
    for (CGFloat width : {200.0, 324.0, 1000.0}) {
        auto root = make<UIKit::UIView>(CGRect {0, 0, width, 2000});
        auto note = make<NoteV>();
        note->update(config, false, width);
        note->setTranslatesAutoresizingMaskIntoConstraints(false);
        root->addSubview(note);
        UIKit::NSLayoutConstraint::activate({
            note->topAnchor().constraintEqualTo(root->topAnchor()),
            note->leadingAnchor().constraintEqualTo(root->leadingAnchor()),
            note->widthAnchor().constraintEqualToConstant(width),
        });
        root->layoutIfNeeded();
        EXPECT_EQ(Basalwork::heightRequired<NoteV>(config, width), note->frame().size.height) << width;
        EXPECT_EQ(Basalwork::requiredHeight(*note, width), note->frame().size.height) << width;
    }
    // At 324 the body has 30 columns: "The network at home, with the" "password on the back of the" "router".
    EXPECT_EQ(Basalwork::heightRequired<NoteV>(config, 324), 12 + 20 + 4 + 3 * UIKit::TextGrid::lineHeight + 12);
    EXPECT_EQ(Basalwork::heightRequired<FixedV>(0, 300), 150);
}
