#include "Platform/Foundation/Logger.hpp"
#include "Platform/UIKit/LayoutEngine.hpp"
#include "Platform/UIKit/NSLayoutConstraint.hpp"
#include "Platform/UIKit/UIView.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <sstream>
#include <string>
#include <vector>

using namespace UIKit;
using Foundation::make;
using Attribute = NSLayoutConstraint::Attribute;
using Relation = NSLayoutConstraint::Relation;

namespace {

// A constraint as data, so that the same system can be built again from nothing.
struct ConstraintPlan {
    int first = 0; // 0 is the root, 1... its subviews
    Attribute firstAttribute = Attribute::width;
    Relation relation = Relation::equal;
    int second = -1; // none
    Attribute secondAttribute = Attribute::notAnAttribute;
    double multiplier = 1;
    double constant = 0;
    float priority = 1000;
};

struct SystemPlan {
    // The root is a window's view: it translates its autoresizing mask, so its size is required.
    CGSize size;
    int views = 0;
    // The first `fixed` constraints keep every size at zero or more, as frames do; edits leave them be.
    std::size_t fixed = 0;
    // In the order they were activated, which is the order a fresh layout meets them in.
    std::vector<ConstraintPlan> constraints;
};

struct Built {
    std::shared_ptr<UIView> root;
    std::vector<std::shared_ptr<UIView>> views;
    std::vector<std::shared_ptr<NSLayoutConstraint>> constraints;
};

std::shared_ptr<NSLayoutConstraint> make(const Built& built, const ConstraintPlan& plan)
{
    auto item = [&](int index) { return index == 0 ? built.root : built.views[static_cast<std::size_t>(index - 1)]; };
    auto constraint = Foundation::make<NSLayoutConstraint>(item(plan.first), plan.firstAttribute, plan.relation,
                                                           plan.second < 0 ? nullptr : item(plan.second), plan.secondAttribute,
                                                           plan.multiplier, plan.constant);
    constraint->setPriority(UILayoutPriority {plan.priority});
    return constraint;
}

Built build(const SystemPlan& plan)
{
    Built built;
    built.root = Foundation::make<UIView>(CGRect {0, 0, plan.size.width, plan.size.height});
    for (int i = 0; i < plan.views; ++i) {
        auto view = Foundation::make<UIView>();
        view->setTranslatesAutoresizingMaskIntoConstraints(false);
        built.root->addSubview(view);
        built.views.push_back(view);
    }
    for (const auto& constraint : plan.constraints) {
        built.constraints.push_back(make(built, constraint));
        built.constraints.back()->setIsActive(true);
    }
    return built;
}

double attributeValue(const Built& built, int index, Attribute attribute)
{
    const CGRect frame = index == 0 ? CGRect {{0, 0}, built.root->bounds().size} : built.views[static_cast<std::size_t>(index - 1)]->frame();
    switch (attribute) {
    case Attribute::leading:
        return frame.origin.x;
    case Attribute::trailing:
        return frame.origin.x + frame.size.width;
    case Attribute::centerX:
        return frame.origin.x + frame.size.width / 2;
    case Attribute::width:
        return frame.size.width;
    case Attribute::top:
        return frame.origin.y;
    case Attribute::bottom:
        return frame.origin.y + frame.size.height;
    case Attribute::centerY:
        return frame.origin.y + frame.size.height / 2;
    case Attribute::height:
        return frame.size.height;
    default:
        return 0;
    }
}

// How far the frames are from what a constraint asks, in points.
double error(const Built& built, const ConstraintPlan& plan)
{
    double value = attributeValue(built, plan.first, plan.firstAttribute) - plan.constant;
    if (plan.second >= 0)
        value -= plan.multiplier * attributeValue(built, plan.second, plan.secondAttribute);
    switch (plan.relation) {
    case Relation::equal:
        return std::abs(value);
    case Relation::lessThanOrEqual:
        return std::max(0.0, value);
    case Relation::greaterThanOrEqual:
        return std::max(0.0, -value);
    }
    return 0;
}

struct Outcome {
    std::vector<std::size_t> broken; // required constraints the frames break
    double objective = 0;             // what the optional ones cost
    CGSize rootSize;
};

Outcome measure(const Built& built, const SystemPlan& plan)
{
    Outcome outcome;
    outcome.rootSize = built.root->bounds().size;
    for (std::size_t i = 0; i < plan.constraints.size(); ++i) {
        const auto& constraint = plan.constraints[i];
        const double off = error(built, constraint);
        if (constraint.priority >= 1000) {
            if (off > 0.01)
                outcome.broken.push_back(i);
        } else {
            outcome.objective += LayoutEngine::strength(UILayoutPriority {constraint.priority}) * off;
        }
    }
    return outcome;
}

class Generator {
public:
    explicit Generator(std::uint32_t seed)
        : m_random(seed)
    {
    }

    int below(int count) { return std::uniform_int_distribution<int>(0, count - 1)(m_random); }
    bool chance(double p) { return std::bernoulli_distribution(p)(m_random); }

    SystemPlan system(int views, int constraints)
    {
        SystemPlan plan;
        plan.size = {static_cast<CGFloat>(100 + 10 * below(80)), static_cast<CGFloat>(100 + 10 * below(60))};
        plan.views = views;
        for (int view = 1; view <= views; ++view) {
            for (Attribute length : {Attribute::width, Attribute::height}) {
                ConstraintPlan atLeastZero;
                atLeastZero.first = view;
                atLeastZero.firstAttribute = length;
                atLeastZero.relation = Relation::greaterThanOrEqual;
                plan.constraints.push_back(atLeastZero);
            }
        }
        plan.fixed = plan.constraints.size();
        for (int i = 0; i < constraints; ++i)
            plan.constraints.push_back(constraint(views));
        return plan;
    }

    ConstraintPlan constraint(int views)
    {
        static const Attribute horizontal[] = {Attribute::leading, Attribute::trailing, Attribute::centerX, Attribute::width};
        static const Attribute vertical[] = {Attribute::top, Attribute::bottom, Attribute::centerY, Attribute::height};
        static const float priorities[] = {1000, 1000, 1000, 999, 750, 500, 250, 1};
        ConstraintPlan plan;
        const Attribute* axis = chance(0.5) ? horizontal : vertical;
        plan.first = 1 + below(views);
        plan.firstAttribute = axis[below(4)];
        static const Relation relations[] = {Relation::lessThanOrEqual, Relation::equal, Relation::greaterThanOrEqual};
        plan.relation = relations[below(3)];
        plan.constant = 10 * below(40) - 100;
        const bool dimension = plan.firstAttribute == Attribute::width || plan.firstAttribute == Attribute::height;
        if (!(dimension && chance(0.4))) {
            plan.second = below(views + 1);
            if (plan.second == plan.first)
                plan.second = 0;
            // Lengths go with lengths, positions with positions.
            plan.secondAttribute = dimension ? plan.firstAttribute : axis[below(3)];
            if (dimension && chance(0.3))
                plan.multiplier = chance(0.5) ? 0.5 : 2;
        } else {
            plan.constant = std::abs(plan.constant);
        }
        plan.priority = priorities[below(8)];
        if (chance(0.2))
            plan.priority = static_cast<float>(1 + below(999));
        return plan;
    }

private:
    std::mt19937 m_random;
};

// Changes the plan and the built system alike; several changes come before one layout pass.
void edit(Generator& random, SystemPlan& plan, Built& built)
{
    auto pick = [&] {
        return plan.fixed + static_cast<std::size_t>(random.below(static_cast<int>(plan.constraints.size() - plan.fixed)));
    };
    const int changes = 1 + random.below(4);
    for (int change = 0; change < changes; ++change) {
        const int kind = random.below(10);
        const bool any = plan.constraints.size() > plan.fixed;
        if (kind < 4 && any) {
            auto index = pick();
            plan.constraints[index].constant = 10 * random.below(40) - 100;
            built.constraints[index]->setConstant(plan.constraints[index].constant);
        } else if (kind < 6) {
            plan.size = {static_cast<CGFloat>(random.below(120) * 10), static_cast<CGFloat>(random.below(80) * 10)};
            built.root->setFrame({{0, 0}, plan.size});
        } else if (kind < 8 && any) {
            // Out, and perhaps back in at the end.
            auto index = pick();
            auto constraint = built.constraints[index];
            auto data = plan.constraints[index];
            constraint->setIsActive(false);
            built.constraints.erase(built.constraints.begin() + static_cast<std::ptrdiff_t>(index));
            plan.constraints.erase(plan.constraints.begin() + static_cast<std::ptrdiff_t>(index));
            if (random.chance(0.5)) {
                constraint->setIsActive(true);
                built.constraints.push_back(constraint);
                plan.constraints.push_back(data);
            }
        } else if (kind < 9) {
            plan.constraints.push_back(random.constraint(plan.views));
            built.constraints.push_back(make(built, plan.constraints.back()));
            built.constraints.back()->setIsActive(true);
        } else if (any) {
            auto index = pick();
            if (plan.constraints[index].priority < 1000) {
                plan.constraints[index].priority = static_cast<float>(1 + random.below(999));
                built.constraints[index]->setPriority(UILayoutPriority {plan.constraints[index].priority});
            }
        }
    }
}

std::string describe(const SystemPlan& plan)
{
    static const char* names[] = {"left", "right", "top", "bottom", "leading", "trailing", "width", "height", "centerX", "centerY"};
    auto name = [&](Attribute attribute) {
        auto index = static_cast<int>(attribute) - static_cast<int>(Attribute::left);
        return index >= 0 && index < 10 ? names[index] : "-";
    };
    std::ostringstream text;
    text << "root " << plan.size.width << "x" << plan.size.height << ", "
         << plan.views << " views\n";
    for (std::size_t i = 0; i < plan.constraints.size(); ++i) {
        const auto& c = plan.constraints[i];
        text << "  #" << i << " v" << c.first << "." << name(c.firstAttribute) << " "
             << (c.relation == Relation::equal ? "==" : c.relation == Relation::lessThanOrEqual ? "<=" : ">=") << " ";
        if (c.second >= 0)
            text << c.multiplier << "*v" << c.second << "." << name(c.secondAttribute) << " + ";
        text << c.constant << " @" << c.priority << "\n";
    }
    return text.str();
}

// Keeps the conflicts these systems are full of out of the log while it lives.
struct QuietLog {
    QuietLog() { previous = Foundation::Logger::setCaptureSink([](const Foundation::LogRecord&) {}); }
    ~QuietLog() { Foundation::Logger::setCaptureSink(previous); }
    Foundation::Logger::Sink previous;
};

void expectSameAsFresh(const SystemPlan& plan, const Built& edited, const std::string& context)
{
    auto fresh = build(plan);
    fresh.root->layoutIfNeeded();
    const Outcome laidOut = measure(edited, plan);
    const Outcome expected = measure(fresh, plan);
    ASSERT_EQ(laidOut.rootSize, plan.size) << "the root keeps the size it was given\n" << context << describe(plan);
    ASSERT_EQ(laidOut.broken, expected.broken) << "the same constraints are refused\n" << context << describe(plan);
    const double tolerance = 1e-6 * std::max(1.0, expected.objective) + 1e-3;
    ASSERT_NEAR(laidOut.objective, expected.objective, tolerance) << "the same optimum\n" << context << describe(plan);
}

} // namespace

TEST(LayoutEngine, ARelayoutAfterEditsGivesWhatAFreshLayoutOfTheEditedConstraintsGives)
{
    QuietLog quiet;
    constexpr std::uint32_t baseSeed = 20261210;
    // LAYOUT_ENGINE_FIRST_SYSTEM=<n> starts at the system a failure names (its seed less the base).
    const char* start = std::getenv("LAYOUT_ENGINE_FIRST_SYSTEM");
    const std::uint32_t first = start ? static_cast<std::uint32_t>(std::atoi(start)) : 0;
    for (std::uint32_t system = first; system < 1000; ++system) {
        const std::uint32_t seed = baseSeed + system;
        Generator random(seed);
        const bool dense = system % 100 == 99;
        const int views = dense ? 12 + random.below(8) : 2 + random.below(6);
        auto plan = random.system(views, dense ? views * 4 : 2 + random.below(views * 3));
        auto built = build(plan);
        built.root->layoutIfNeeded();
        expectSameAsFresh(plan, built, "seed " + std::to_string(seed) + ", first layout\n");
        if (HasFatalFailure())
            return;
        for (int round = 1; round <= 3; ++round) {
            edit(random, plan, built);
            built.root->layoutIfNeeded();
            expectSameAsFresh(plan, built, "seed " + std::to_string(seed) + ", after edit " + std::to_string(round) + "\n");
            if (HasFatalFailure())
                return;
        }
    }
}
