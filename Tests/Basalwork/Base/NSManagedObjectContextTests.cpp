#include "Tests/Support/MainLoop.hpp"

#include "Basalwork/Base/GeneralError.hpp"
#include "Basalwork/Base/NSManagedObjectContext.hpp"
#include "Basalwork/Base/NSObject.hpp"
#include "Basalwork/Base/NSPredicate.hpp"
#include "Platform/CoreData/NSPersistentContainer.hpp"

#include <gtest/gtest.h>
#include <thread>

using namespace Basalwork;
using CoreData::key;
using CoreData::NSFetchRequest;
using CoreData::NSManagedObject;
using CoreData::NSPredicate;

namespace {

class ContextHelpersTest : public testing::Test {
protected:
    std::shared_ptr<CoreData::NSPersistentContainer> container;
    std::shared_ptr<CoreData::NSManagedObjectContext> context;

    void SetUp() override
    {
        auto entity = Foundation::make<CoreData::NSEntityDescription>("Token");
        entity->addAttribute({"key", CoreData::NSAttributeType::integer64});
        auto model = Foundation::make<CoreData::NSManagedObjectModel>();
        model->setEntities({entity});
        container = Foundation::make<CoreData::NSPersistentContainer>("Tokens", model);
        container->setPersistentStoreDescriptions({CoreData::NSPersistentStoreDescription(Foundation::URL::fileURLWithPath(":memory:"))});
        container->loadPersistentStores([](const auto&, Foundation::ErrorPtr error) { ASSERT_EQ(error, nullptr); });
        context = container->newBackgroundContext();
    }

    void insertTokens(std::initializer_list<int> keys)
    {
        performSynchronously(*context, [&] {
            for (int value : keys)
                context->insertNewObject("Token")->setValue(value, "key");
            context->save();
        });
    }

    static NSFetchRequest<NSManagedObject> tokens(std::optional<NSPredicate> predicate = std::nullopt)
    {
        NSFetchRequest<NSManagedObject> request("Token");
        request.setPredicate(std::move(predicate));
        request.setSortDescriptors({CoreData::NSSortDescriptor("key")});
        return request;
    }
};

struct Outer {
    class EntriesCoordinator : public Foundation::NSObject {
        friend Foundation::Construct;
    };
};

} // namespace

TEST_F(ContextHelpersTest, FetchFirstTellsNoneOneOrSeveralInFetchOrder)
{
    insertTokens({2, 1, 1});
    performSynchronously(*context, [&] {
        auto none = fetch(*context, tokens(key("key") == 9));
        EXPECT_NE(none.as<NSManagedObjectContext::FetchFirstResult<NSManagedObject>::NoResults>(), nullptr);
        EXPECT_EQ(none.firstResult(), nullptr);

        auto one = fetch(*context, tokens(key("key") == 2));
        ASSERT_NE(one.as<NSManagedObjectContext::FetchFirstResult<NSManagedObject>::OneResult>(), nullptr);
        EXPECT_EQ(one.firstResult()->value<std::int64_t>("key"), 2);

        auto several = fetch(*context, tokens());
        const auto* multiple = several.as<NSManagedObjectContext::FetchFirstResult<NSManagedObject>::MultipleResults>();
        ASSERT_NE(multiple, nullptr);
        ASSERT_EQ(multiple->objects.size(), 3u);
        EXPECT_EQ(several.firstResult(), multiple->objects.front());
        EXPECT_EQ(multiple->objects.back()->value<std::int64_t>("key"), 2);
    });
}

TEST_F(ContextHelpersTest, CountTestsAnswerForNoneOneAndTwoMatches)
{
    insertTokens({1, 2, 2});
    performSynchronously(*context, [&] {
        for (auto [value, any, none, noMoreThanOne] : std::vector<std::tuple<int, bool, bool, bool>> {{0, false, true, true}, {1, true, false, true}, {2, true, false, false}}) {
            auto request = tokens(key("key") == value);
            EXPECT_EQ(hasAny(*context, request), any) << value;
            EXPECT_EQ(hasNone(*context, request), none) << value;
            EXPECT_EQ(hasNoMoreThanOne(*context, request), noMoreThanOne) << value;
        }
    });
}

TEST_F(ContextHelpersTest, PerformSynchronouslyRunsOnTheContextsQueueAndHandsBackItsValueOrError)
{
    auto caller = std::this_thread::get_id();
    EXPECT_NE(performSynchronously(*context, [] { return std::this_thread::get_id(); }), caller);
    EXPECT_EQ(performSynchronously(*context, [] { return Foundation::String("value"); }), "value");

    bool returned = false;
    try {
        performSynchronously(*context, [&]() -> int { throw GeneralError::failedWithMessage("no token"); });
        returned = true;
    } catch (const GeneralError& error) {
        ASSERT_NE(error.as<GeneralError::FailedWithMessage>(), nullptr);
        EXPECT_EQ(error.as<GeneralError::FailedWithMessage>()->message, "no token");
    }
    EXPECT_FALSE(returned);
}

TEST_F(ContextHelpersTest, PerformAsynchronouslyReturnsAtOnce)
{
    auto viewContext = container->viewContext();
    bool ran = false;
    performAsynchronously(*viewContext, [&] { ran = true; });
    EXPECT_FALSE(ran);
    TestSupport::runMainLoopUntilIdle();
    EXPECT_TRUE(ran);
}

TEST_F(ContextHelpersTest, DeleteRemovesWhatTheRequestMatchesInTheStore)
{
    insertTokens({1, 2, 3});
    performSynchronously(*context, [&] {
        auto held = context->fetch(tokens(key("key") == 2)).front();
        delete_(*context, tokens(key("key") >= 2));
        EXPECT_TRUE(held->isDeleted());
        EXPECT_EQ(context->count(tokens()), 1);
    });
}

TEST_F(ContextHelpersTest, PredicateCombinatorsKeepTheirOrderAndAllResultsMatchesEverything)
{
    auto first = key("key") == 1;
    auto second = key("key") == 2;
    auto both = and_(first, second);
    EXPECT_EQ(both.compoundPredicateType(), CoreData::NSCompoundPredicate::LogicalType::and_);
    ASSERT_EQ(both.subpredicates().size(), 2u);
    EXPECT_EQ(both.subpredicates()[0].predicateFormat(), "key == 1");
    EXPECT_EQ(both.subpredicates()[1].predicateFormat(), "key == 2");
    EXPECT_EQ(or_(second, first).predicateFormat(), "key == 2 OR key == 1");
    EXPECT_EQ(or_(second, first).compoundPredicateType(), CoreData::NSCompoundPredicate::LogicalType::or_);

    insertTokens({1, 2, 3});
    EXPECT_EQ(performSynchronously(*context, [&] { return context->count(tokens(NSPredicates::allResults())); }), 3);
}

TEST(TypeDescription, IsTheDynamicTypesNameWithoutItsEnclosingTypes)
{
    std::shared_ptr<Foundation::NSObject> object = Foundation::make<Outer::EntriesCoordinator>();
    EXPECT_EQ(typeDescription(*object), "EntriesCoordinator");
}
