#include "Platform/UIKit/UIStackView.hpp"

#include "Platform/Foundation/FatalError.hpp"
#include "Platform/UIKit/UILayoutGuide.hpp"

#include <algorithm>

namespace UIKit {
namespace {

using Attribute = NSLayoutConstraint::Attribute;
using Relation = NSLayoutConstraint::Relation;

// Keeps the stack no larger than what it holds where nothing else sizes it.
constexpr UILayoutPriority fitting {25};
// A hidden view gives up its room unless something it cannot break holds it.
constexpr UILayoutPriority hiding {999};

std::shared_ptr<NSLayoutConstraint> relate(const std::shared_ptr<Foundation::NSObject>& item, Attribute attribute,
                                           Relation relation, const std::shared_ptr<Foundation::NSObject>& toItem,
                                           Attribute toAttribute, CGFloat constant = 0, CGFloat multiplier = 1,
                                           UILayoutPriority priority = UILayoutPriority::required())
{
    auto constraint = Foundation::make<NSLayoutConstraint>(item, attribute, relation, toItem, toAttribute, multiplier, constant);
    constraint->setPriority(priority);
    return constraint;
}

} // namespace

UIStackView::UIStackView()
    : m_axis(NSLayoutConstraint::Axis::horizontal)
    , m_alignment(Alignment::fill)
    , m_distribution(Distribution::fill)
{
}

UIStackView::UIStackView(const CGRect& frame)
    : UIView(frame)
    , m_axis(NSLayoutConstraint::Axis::horizontal)
    , m_alignment(Alignment::fill)
    , m_distribution(Distribution::fill)
{
}

UIStackView::UIStackView(Foundation::NSCoder& coder)
    : UIView(coder)
    , m_axis(NSLayoutConstraint::Axis::horizontal)
    , m_alignment(Alignment::fill)
    , m_distribution(Distribution::fill)
{
}

void UIStackView::setAxis(NSLayoutConstraint::Axis axis)
{
    m_axis = axis;
    arrangementDidChange();
}

void UIStackView::setAlignment(Alignment alignment)
{
    m_alignment = alignment;
    arrangementDidChange();
}

void UIStackView::setDistribution(Distribution distribution)
{
    m_distribution = distribution;
    arrangementDidChange();
}

void UIStackView::setSpacing(CGFloat spacing)
{
    m_spacing = spacing;
    arrangementDidChange();
}

std::vector<std::shared_ptr<UIView>> UIStackView::arrangedSubviews() const
{
    std::vector<std::shared_ptr<UIView>> result;
    for (const auto& view : m_arrangedSubviews)
        if (view->superview().get() == this)
            result.push_back(view);
    return result;
}

void UIStackView::addArrangedSubview(const std::shared_ptr<UIView>& view)
{
    Foundation::precondition(view != nullptr, "Cannot arrange a null view");
    std::erase_if(m_arrangedSubviews, [&](const std::shared_ptr<UIView>& arranged) {
        return arranged == view || arranged->superview().get() != this;
    });
    m_arrangedSubviews.push_back(view);
    view->setTranslatesAutoresizingMaskIntoConstraints(false);
    addSubview(view);
    arrangementDidChange();
}

void UIStackView::removeArrangedSubview(const std::shared_ptr<UIView>& view)
{
    if (std::erase(m_arrangedSubviews, view) > 0)
        arrangementDidChange();
}

void UIStackView::willRemoveSubview(const std::shared_ptr<UIView>& subview)
{
    UIView::willRemoveSubview(subview);
    if (std::find(m_arrangedSubviews.begin(), m_arrangedSubviews.end(), subview) != m_arrangedSubviews.end())
        arrangementDidChange();
}

void UIStackView::subviewVisibilityDidChange(UIView& subview)
{
    for (const auto& arranged : m_arrangedSubviews) {
        if (arranged.get() == &subview) {
            arrangementDidChange();
            return;
        }
    }
}

void UIStackView::arrangementDidChange()
{
    setNeedsUpdateConstraints();
    setNeedsLayout();
}

void UIStackView::updateConstraints()
{
    NSLayoutConstraint::deactivate(m_arrangement);
    m_arrangement.clear();
    for (const auto& spacer : m_spacers)
        removeLayoutGuide(spacer);
    m_spacers.clear();

    const bool horizontal = m_axis == NSLayoutConstraint::Axis::horizontal;
    const Attribute lead = horizontal ? Attribute::leading : Attribute::top;
    const Attribute trail = horizontal ? Attribute::trailing : Attribute::bottom;
    const Attribute length = horizontal ? Attribute::width : Attribute::height;
    const Attribute middle = horizontal ? Attribute::centerX : Attribute::centerY;
    const Attribute crossLead = horizontal ? Attribute::top : Attribute::leading;
    const Attribute crossTrail = horizontal ? Attribute::bottom : Attribute::trailing;
    const Attribute crossLength = horizontal ? Attribute::height : Attribute::width;
    const Attribute crossMiddle = horizontal ? Attribute::centerY : Attribute::centerX;
    const auto self = sharedSelf(this);
    const auto arranged = arrangedSubviews();
    std::vector<std::shared_ptr<UIView>> visible;
    for (const auto& view : arranged)
        if (!view->isHidden())
            visible.push_back(view);
    auto add = [&](std::shared_ptr<NSLayoutConstraint> constraint) { m_arrangement.push_back(std::move(constraint)); };

    // Along the axis.
    if (visible.empty()) {
        add(relate(self, length, Relation::equal, nullptr, Attribute::notAnAttribute, 0, 1, fitting));
    } else {
        add(relate(visible.front(), lead, Relation::equal, self, lead));
        add(relate(self, trail, Relation::equal, visible.back(), trail));
    }
    const bool spaced = m_distribution == Distribution::equalSpacing || m_distribution == Distribution::equalCentering;
    for (std::size_t i = 1; i < visible.size(); ++i) {
        const auto& before = visible[i - 1];
        const auto& after = visible[i];
        if (!spaced) {
            add(relate(after, lead, Relation::equal, before, trail, m_spacing));
            continue;
        }
        // Spacers between neighbours (or their centres) of equal length spread the room left over.
        add(relate(after, lead, Relation::greaterThanOrEqual, before, trail, m_spacing));
        auto spacer = Foundation::make<UILayoutGuide>();
        spacer->setIdentifier("UISV-distributing");
        addLayoutGuide(spacer);
        const bool centres = m_distribution == Distribution::equalCentering;
        add(relate(spacer, lead, Relation::equal, before, centres ? middle : trail));
        add(relate(spacer, trail, Relation::equal, after, centres ? middle : lead));
        add(relate(spacer, length, Relation::equal, nullptr, Attribute::notAnAttribute, 0, 1, fitting));
        if (!m_spacers.empty())
            add(relate(spacer, length, Relation::equal, m_spacers.front(), length));
        m_spacers.push_back(std::move(spacer));
    }
    if (m_distribution == Distribution::fillEqually) {
        for (std::size_t i = 1; i < visible.size(); ++i)
            add(relate(visible[i], length, Relation::equal, visible.front(), length));
    } else if (m_distribution == Distribution::fillProportionally && !visible.empty()) {
        // Lengths in proportion to what each view asks for, as it asks now.
        auto asked = [&](const UIView& view) {
            CGSize size = view.intrinsicContentSize();
            return horizontal ? size.width : size.height;
        };
        std::shared_ptr<UIView> reference;
        for (const auto& view : visible)
            if (!reference && asked(*view) > 0)
                reference = view;
        for (const auto& view : visible) {
            if (reference && view != reference && asked(*view) >= 0)
                add(relate(view, length, Relation::equal, reference, length, 0, asked(*view) / asked(*reference), hiding));
        }
    }
    for (const auto& view : arranged) {
        if (!view->isHidden())
            continue;
        add(relate(view, length, Relation::equal, nullptr, Attribute::notAnAttribute, 0, 1, hiding));
        add(relate(view, lead, Relation::equal, self, lead));
    }

    // Across the axis.
    Alignment alignment = m_alignment;
    if (!horizontal && (alignment == Alignment::firstBaseline || alignment == Alignment::lastBaseline))
        alignment = Alignment::fill;
    for (const auto& view : arranged) {
        switch (alignment) {
        case Alignment::fill:
            add(relate(view, crossLead, Relation::equal, self, crossLead));
            add(relate(view, crossTrail, Relation::equal, self, crossTrail));
            break;
        case Alignment::leading:
            add(relate(view, crossLead, Relation::equal, self, crossLead));
            add(relate(view, crossTrail, Relation::lessThanOrEqual, self, crossTrail));
            break;
        case Alignment::trailing:
            add(relate(view, crossTrail, Relation::equal, self, crossTrail));
            add(relate(view, crossLead, Relation::greaterThanOrEqual, self, crossLead));
            break;
        case Alignment::center:
            add(relate(view, crossMiddle, Relation::equal, self, crossMiddle));
            add(relate(view, crossLead, Relation::greaterThanOrEqual, self, crossLead));
            add(relate(view, crossTrail, Relation::lessThanOrEqual, self, crossTrail));
            break;
        case Alignment::firstBaseline:
        case Alignment::lastBaseline: {
            // Text lines take whole rows of the grid, so lines that share a baseline share a top (the
            // first line) or a bottom (the last).
            const bool first = alignment == Alignment::firstBaseline;
            add(relate(view, crossLead, Relation::greaterThanOrEqual, self, crossLead));
            add(relate(view, crossTrail, Relation::lessThanOrEqual, self, crossTrail));
            add(relate(view, crossLead, Relation::equal, self, crossLead, 0, 1, UILayoutPriority {1}));
            if (visible.empty() || view == visible.front())
                break;
            auto own = first ? view->forFirstBaselineLayout() : view->forLastBaselineLayout();
            auto reference = first ? visible.front()->forFirstBaselineLayout() : visible.front()->forLastBaselineLayout();
            add(relate(own, first ? Attribute::top : Attribute::bottom, Relation::equal, reference,
                       first ? Attribute::top : Attribute::bottom));
            break;
        }
        }
    }
    if (alignment != Alignment::fill)
        add(relate(self, crossLength, Relation::equal, nullptr, Attribute::notAnAttribute, 0, 1, fitting));
    NSLayoutConstraint::activate(m_arrangement);
    UIView::updateConstraints();
}

} // namespace UIKit
