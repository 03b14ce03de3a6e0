#include "Tests/CoreData/StoreFixture.hpp"

#include "Platform/CoreData/CoreDataError.hpp"

#include <set>

using namespace CoreDataTests;

namespace {

using Options = NSComparisonPredicate::Options;

class PredicateTest : public testing::Test {
protected:
    std::shared_ptr<NSPersistentContainer> container = makeContainer();
    std::shared_ptr<NSManagedObjectContext> context = container->viewContext();
    std::vector<std::shared_ptr<Item>> items;

    void SetUp() override
    {
        auto add = [&](const char* title, std::optional<String> notes, std::int64_t count, std::optional<double> score) {
            auto item = insertItem(*context, title, count);
            item->setValue(notes, "notes");
            item->setValue(score, "score");
            items.push_back(item);
        };
        add("Bank", String("Savings account"), 1, 2.5);
        add("bank", std::nullopt, 2, std::nullopt);
        add("Caf\u00e9", String("cafe\u0301 au lait"), 3, 3.0); // composed title, decomposed notes
        add("Mail", String("Mail\r\nbox"), 3, -1.0);
        add("Zoo", String(""), 10, 10.0);
        context->insertNewObject("Vault");
        items[0]->setRelatedObject(context->fetch(NSFetchRequest<>("Vault")).front(), "vault");
        context->save();
    }

    // What the store selects, and what evaluating the predicate on every object selects, by title.
    std::pair<std::set<std::string>, std::set<std::string>> both(const NSPredicate& predicate)
    {
        std::set<std::string> selected;
        for (const auto& item : context->fetch(itemsWhere(predicate)))
            selected.insert(item->title().utf8());
        std::set<std::string> evaluated;
        for (const auto& item : items) {
            if (predicate.evaluate(*item))
                evaluated.insert(item->title().utf8());
        }
        return {selected, evaluated};
    }
};

} // namespace

TEST_F(PredicateTest, TheStoreAndMemoryAgreeAndSelectWhatTheyShould)
{
    const std::string cafe = "Caf\u00e9";
    auto vaultID = items[0]->relatedObject("vault")->objectID();
    std::vector<std::pair<NSPredicate, std::set<std::string>>> cases {
        {NSPredicate(true), {"Bank", "bank", cafe, "Mail", "Zoo"}},
        {key("count") == 3, {cafe, "Mail"}},
        {key("count") != 3, {"Bank", "bank", "Zoo"}},
        {key("count") > 2.5, {cafe, "Mail", "Zoo"}},
        {key("score") <= 2.5, {"Bank", "Mail"}},
        // Nothing is neither less nor greater; that stays so under NOT.
        {!(key("score") < 3.0), {"bank", cafe, "Zoo"}},
        {key("notes") == std::nullopt, {"bank"}},
        {key("notes") != std::nullopt, {"Bank", cafe, "Mail", "Zoo"}},
        {!(key("notes") == "Savings account"), {"bank", cafe, "Mail", "Zoo"}},
        {key("title") == String("Cafe\u0301"), {cafe}},
        {key("title").equalTo("BANK", Options::caseInsensitive()), {"Bank", "bank"}},
        {key("title").beginsWith("caf", Options::caseInsensitive()), {cafe}},
        {key("notes").contains("CAFE", Options::caseInsensitive() | Options::diacriticInsensitive()), {cafe}},
        {key("notes").contains("cafe"), {}},
        {key("notes").endsWith("au lait"), {cafe}},
        // A line break is one character: neither of its halves is found in it.
        {key("notes").contains("\n"), {}},
        {key("notes").beginsWith("Mail\r"), {}},
        {key("notes").endsWith("\nbox"), {}},
        {key("notes").endsWith("BOX", Options::caseInsensitive()), {"Mail"}},
        {key("notes").contains("GS ac", Options::caseInsensitive()), {"Bank"}},
        {key("title").in({"Bank", "Zoo", std::nullopt}), {"Bank", "Zoo"}},
        {key("notes").in({std::nullopt, "Savings account"}), {"Bank", "bank"}},
        {!key("score").in({2.5, 10}), {"bank", cafe, "Mail"}},
        {key("title").in({"bank", "MAIL"}, Options::caseInsensitive()), {"Bank", "bank", "Mail"}},
        {key("count") == 3 && key("score") > 0, {cafe}},
        {key("count") == 1 || key("title") == "Zoo", {"Bank", "Zoo"}},
        {NSCompoundPredicate::andPredicateWithSubpredicates({}), {"Bank", "bank", cafe, "Mail", "Zoo"}},
        {NSCompoundPredicate::orPredicateWithSubpredicates({}), {}},
        {key("score") < key("count"), {"Mail"}},
        {key("vault") == vaultID, {"Bank"}},
        {key("vault") != vaultID, {"bank", cafe, "Mail", "Zoo"}},
        {NSExpression::expressionForEvaluatedObject() == items[4]->objectID(), {"Zoo"}},
        // The objects themselves in the store's order, as a batch after another reads them.
        {NSExpression::expressionForEvaluatedObject() > items[2]->objectID(), {"Mail", "Zoo"}},
        {NSExpression::expressionForEvaluatedObject() <= items[1]->objectID(), {"Bank", "bank"}},
        {key("isFavorite") == 0, {"Bank", "bank", cafe, "Mail", "Zoo"}},
    };
    for (const auto& [predicate, expected] : cases) {
        auto [selected, evaluated] = both(predicate);
        EXPECT_EQ(selected, expected) << predicate.predicateFormat();
        EXPECT_EQ(evaluated, expected) << predicate.predicateFormat();
    }
}

TEST_F(PredicateTest, LongListsAreTestedAsOneSet)
{
    std::vector<Value> uuids;
    for (int i = 0; i < 1000; ++i)
        uuids.emplace_back(UUID());
    uuids.push_back(*items[2]->value<UUID>("uuid"));
    std::vector<Value> counts;
    for (int i = 3; i < 1000; ++i)
        counts.emplace_back(i);
    EXPECT_EQ(both(key("uuid").in(uuids)).first, (std::set<std::string> {"Caf\u00e9"}));
    auto [selected, evaluated] = both(!key("count").in(counts));
    EXPECT_EQ(selected, (std::set<std::string> {"Bank", "bank"}));
    EXPECT_EQ(evaluated, selected);
}

TEST_F(PredicateTest, BlockPredicatesRunInMemoryWithSortAndLimit)
{
    auto request = itemsWhere(NSPredicate::withBlock([](const NSManagedObject& object) { return object.value<std::int64_t>("count") >= 3; }),
                              {NSSortDescriptor("count", false)});
    request.setFetchLimit(2);
    EXPECT_EQ(titles(context->fetch(request)), (std::vector<std::string> {"Zoo", "Caf\u00e9"}));
    EXPECT_EQ(context->count(itemsWhere(request.predicate())), 3);
}

TEST_F(PredicateTest, PredicatesPrintAsTheyRead)
{
    EXPECT_EQ((key("title").equalTo("a\"b", Options::caseInsensitive()) && !(key("count") > 2 || key("notes") == std::nullopt)).predicateFormat(),
              "title ==[c] \"a\\\"b\" AND NOT (count > 2 OR notes == nil)");
    EXPECT_EQ(key("count").in({1, 2}).predicateFormat(), "count IN {1, 2}");
    EXPECT_EQ(NSPredicate(false).predicateFormat(), "FALSEPREDICATE");
}

TEST_F(PredicateTest, PredicatesTheEntityCannotAnswerAreRefused)
{
    for (const auto& predicate : {key("titel") == "x", key("title") == 3, key("vault.name") == "x", key("attachments") == std::nullopt,
                                  key("title").contains(3), key("vault") < items[0]->objectID(), key("count").in({"three"})}) {
        try {
            context->fetch(itemsWhere(predicate));
            ADD_FAILURE() << predicate.predicateFormat();
        } catch (const Foundation::Error& error) {
            EXPECT_EQ(error.code(), CoreDataError::persistentStoreOperation);
            EXPECT_NE(error.localizedDescription().find(predicate.predicateFormat()), std::string::npos);
        }
    }
}
