#include "Platform/Foundation/NSObject.hpp"

#include <gtest/gtest.h>

using namespace Foundation;

namespace {

class Widget : public NSObject {
public:
    // Public on purpose: the constructor itself must refuse to run outside `make`.
    Widget() = default;
    bool initialized = false;

protected:
    void initialize() override { initialized = true; }
};

class Assembly : public NSObject {
public:
    std::shared_ptr<Widget> part;

protected:
    friend Construct;
    Assembly()
        : part(make<Widget>())
    {
    }
};

} // namespace

TEST(NSObject, MakeConstructsAndInitializesAlsoInsideAnotherConstruction)
{
    EXPECT_TRUE(make<Widget>()->initialized);
    EXPECT_TRUE(make<Assembly>()->part->initialized);
}

TEST(NSObjectDeathTest, AnObjectMadeWithoutMakeStops)
{
    EXPECT_DEATH(std::make_shared<Widget>(), "must be made with Foundation::make");
    EXPECT_DEATH(Widget {}, "must be made with Foundation::make");
}
