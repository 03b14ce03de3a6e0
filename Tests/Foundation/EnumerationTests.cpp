#include "Platform/Foundation/Enumeration.hpp"

#include <gtest/gtest.h>
#include <string>

namespace {

class Delivery : public Foundation::Enumeration<Delivery> {
public:
    struct Shipped {
        std::string carrier;
        friend bool operator==(const Shipped&, const Shipped&) = default;
    };
    struct Returned {
        int parcels = 0;
        friend bool operator==(const Returned&, const Returned&) = default;
    };
    struct Pending {
        friend bool operator==(const Pending&, const Pending&) = default;
    };
    using Case = std::variant<Shipped, Returned, Pending>;

    template <class C>
    Delivery(C value) // NOLINT(google-explicit-constructor): a case is a delivery
        : m_case(std::move(value))
    {
    }
    const Case& value() const { return m_case; }
    friend bool operator==(const Delivery&, const Delivery&) = default;

private:
    Case m_case;
};

} // namespace

TEST(EnumerationTest, ACaseIsKnownByItsNameAtItsDeclaredPosition)
{
    static_assert(Delivery::indexOf<Delivery::Shipped> == 0);
    static_assert(Delivery::indexOf<Delivery::Returned> == 1);
    static_assert(Delivery::indexOf<Delivery::Pending> == 2);

    Delivery returned = Delivery::Returned {3};
    EXPECT_EQ(returned.index(), 1);
    EXPECT_TRUE(returned.is<Delivery::Returned>());
    EXPECT_FALSE(returned.is<Delivery::Shipped>());
    ASSERT_NE(returned.as<Delivery::Returned>(), nullptr);
    EXPECT_EQ(returned.as<Delivery::Returned>()->parcels, 3);
    EXPECT_EQ(returned.as<Delivery::Pending>(), nullptr);
    EXPECT_EQ(Delivery(Delivery::Pending {}).index(), Delivery::indexOf<Delivery::Pending>);
}

TEST(EnumerationTest, VisitReachesEachCaseWithItsPayloadAndEqualityComparesThem)
{
    auto describe = [](const Delivery& delivery) {
        return delivery.visit(Foundation::Overloaded {
            [](const Delivery::Shipped& shipped) { return "shipped by " + shipped.carrier; },
            [](const Delivery::Returned& returned) { return std::to_string(returned.parcels) + " returned"; },
            [](const Delivery::Pending&) { return std::string("pending"); },
        });
    };
    EXPECT_EQ(describe(Delivery::Shipped {"rail"}), "shipped by rail");
    EXPECT_EQ(describe(Delivery::Returned {2}), "2 returned");
    EXPECT_EQ(describe(Delivery::Pending {}), "pending");

    EXPECT_EQ(Delivery(Delivery::Shipped {"rail"}), Delivery(Delivery::Shipped {"rail"}));
    EXPECT_NE(Delivery(Delivery::Shipped {"rail"}), Delivery(Delivery::Shipped {"road"}));
    EXPECT_NE(Delivery(Delivery::Returned {0}), Delivery(Delivery::Pending {}));
}
