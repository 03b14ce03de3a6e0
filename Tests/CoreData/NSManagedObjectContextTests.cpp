#include "Tests/CoreData/StoreFixture.hpp"
#include "Tests/Support/MainLoop.hpp"

#include "Platform/CoreData/CoreDataError.hpp"
#include "Platform/Foundation/DispatchSemaphore.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"

using namespace CoreDataTests;

namespace {

class ContextTest : public testing::Test {
protected:
    std::shared_ptr<NSPersistentContainer> container = makeContainer();
    std::shared_ptr<NSManagedObjectContext> context = container->viewContext();

    std::int64_t errorCode(const std::function<void()>& body)
    {
        try {
            body();
        } catch (const Foundation::Error& error) {
            return error.code();
        }
        return 0;
    }
};

// Observes one notification name from one object, keeping what arrives.
struct Recorder {
    std::vector<Foundation::Notification> received;
    std::shared_ptr<Foundation::NSObject> token;

    Recorder(const Foundation::Notification::Name& name, const std::shared_ptr<Foundation::NSObject>& object)
    {
        token = Foundation::NotificationCenter::defaultCenter()->addObserver(
            name, object, nullptr, [this](const Foundation::Notification& notification) { received.push_back(notification); });
    }
    ~Recorder() { Foundation::NotificationCenter::defaultCenter()->removeObserver(token); }
};

std::size_t countOf(const Foundation::Notification& notification, const char* key)
{
    return NSManagedObjectContext::objects(notification, key).size();
}

} // namespace

TEST_F(ContextTest, EveryAttributeTypeRoundTripsThroughTheStore)
{
    auto item = insertItem(*context, "Bank");
    UUID uuid = *item->value<UUID>("uuid");
    item->setValue(String("e\u0301 and \u65e5\u672c"), "notes");
    item->setValue(-9007199254740993, "count");
    item->setValue(3, "score"); // an integer goes into a double as its value
    item->setValue(true, "isFavorite");
    item->setValue(Date(788918400.5), "modified");
    item->setValue(Data(), "payload");
    context->save();
    context->reset();

    auto fetched = context->fetch(itemsWhere(std::nullopt));
    ASSERT_EQ(fetched.size(), 1u);
    EXPECT_NE(fetched[0], item);
    EXPECT_EQ(fetched[0]->value<UUID>("uuid"), uuid);
    EXPECT_EQ(fetched[0]->value<String>("notes"), String("\u00e9 and \u65e5\u672c"));
    EXPECT_EQ(fetched[0]->value<std::int64_t>("count"), -9007199254740993);
    EXPECT_EQ(fetched[0]->value<double>("score"), 3.0);
    EXPECT_EQ(fetched[0]->value<bool>("isFavorite"), true);
    EXPECT_EQ(fetched[0]->value<Date>("modified"), Date(788918400.5));
    // Empty data stays data, distinct from nothing.
    EXPECT_EQ(fetched[0]->value<Data>("payload"), Data());
    EXPECT_FALSE(fetched[0]->objectID().isTemporaryID());
}

TEST_F(ContextTest, NewObjectsStartWithDefaultsAndGetPermanentIDsWhenSaved)
{
    auto item = insertItem(*context, "Bank");
    EXPECT_EQ(item->value<bool>("isFavorite"), false);
    EXPECT_EQ(item->value<String>("notes"), std::nullopt);
    EXPECT_TRUE(item->objectID().isTemporaryID());
    EXPECT_TRUE(item->isInserted());
    EXPECT_TRUE(context->hasChanges());
    context->save();
    EXPECT_FALSE(item->objectID().isTemporaryID());
    EXPECT_FALSE(item->isInserted());
    EXPECT_FALSE(context->hasChanges());
    EXPECT_EQ(context->existingObject(item->objectID()), item);
}

TEST_F(ContextTest, SortsLimitsOffsetsAndCounts)
{
    for (auto [title, count] : std::vector<std::pair<const char*, int>> {{"b", 1}, {"B", 2}, {"a", 3}, {"c", 3}, {"A", 5}})
        insertItem(*context, title, count);
    context->save();

    EXPECT_EQ(titles(context->fetch(itemsWhere(std::nullopt))), (std::vector<std::string> {"A", "B", "a", "b", "c"}));
    auto request = itemsWhere(std::nullopt, {NSSortDescriptor("count", false), NSSortDescriptor("title", true, NSSortDescriptor::Selector::caseInsensitiveCompare)});
    EXPECT_EQ(titles(context->fetch(request)), (std::vector<std::string> {"A", "a", "c", "B", "b"}));
    request.setFetchOffset(1);
    request.setFetchLimit(2);
    EXPECT_EQ(titles(context->fetch(request)), (std::vector<std::string> {"a", "c"}));
    EXPECT_EQ(context->count(request), 2);
    EXPECT_EQ(context->count(itemsWhere(key("count") == 3)), 2);
}

TEST_F(ContextTest, FetchesValuesFromTheStoreWithoutMakingObjects)
{
    for (auto [title, count] : std::vector<std::pair<const char*, int>> {{"b", 1}, {"a", 2}, {"c", 3}})
        insertItem(*context, title, count);
    context->save();
    context->reset();
    // Unsaved changes do not count, as with the platform's dictionary results.
    insertItem(*context, "unsaved", 9);

    auto request = itemsWhere(key("count") > 1, {NSSortDescriptor("title")});
    request.setPropertiesToFetch({"count", "title"});
    auto values = context->fetchValues(request);
    ASSERT_EQ(values.size(), 2u);
    EXPECT_EQ(values[0], (std::vector<Value> {2, String("a")}));
    EXPECT_EQ(values[1], (std::vector<Value> {3, String("c")}));
    EXPECT_EQ(context->registeredObjects().size(), 1u);

    // In batches as the store reads them: the same values, in the same order.
    for (std::size_t batchSize : {1u, 2u, 5u}) {
        std::vector<std::size_t> sizes;
        std::vector<std::vector<Value>> batched;
        context->fetchValues(request, batchSize, [&](std::vector<std::vector<Value>> batch) {
            sizes.push_back(batch.size());
            std::move(batch.begin(), batch.end(), std::back_inserter(batched));
        });
        EXPECT_EQ(batched, values) << batchSize;
        EXPECT_EQ(sizes, batchSize == 1 ? (std::vector<std::size_t> {1, 1}) : (std::vector<std::size_t> {2})) << batchSize;
    }
    int calls = 0;
    context->fetchValues(itemsWhere(key("count") > 5), 4, [&](auto) { ++calls; });
    EXPECT_EQ(calls, 0) << "nothing matched";

    // The objects' IDs beside their values, or alone; read a batch after another in the store's order.
    auto all = itemsWhere(std::nullopt, {});
    all.setPropertiesToFetch({"objectID"});
    auto ids = context->fetchValues(all);
    ASSERT_EQ(ids.size(), 3u);
    ASSERT_TRUE(ids[0][0].as<NSManagedObjectID>());
    auto after = itemsWhere(NSExpression::expressionForEvaluatedObject() > *ids[0][0].as<NSManagedObjectID>(), {});
    after.setPropertiesToFetch({"title", "objectID"});
    after.setFetchLimit(1);
    EXPECT_EQ(context->fetchValues(after), (std::vector<std::vector<Value>> {{String("a"), ids[1][0]}}));

    request.setPropertiesToFetch({"title", "nonesuch"});
    EXPECT_THROW(context->fetchValues(request), Foundation::Error);
}

TEST_F(ContextTest, FetchesCountUnsavedChanges)
{
    auto bank = insertItem(*context, "Bank", 1);
    auto mail = insertItem(*context, "Mail", 2);
    auto shop = insertItem(*context, "Shop", 3);
    context->save();

    insertItem(*context, "New", 1);
    mail->setValue(1, "count");
    bank->setValue(7, "count");
    context->delete_(shop);
    auto ones = itemsWhere(key("count") == 1);
    EXPECT_EQ(titles(context->fetch(ones)), (std::vector<std::string> {"Mail", "New"}));
    EXPECT_EQ(context->count(ones), 2);
    EXPECT_EQ(context->count(itemsWhere(std::nullopt)), 3);
    ones.setFetchLimit(1);
    EXPECT_EQ(titles(context->fetch(ones)), (std::vector<std::string> {"Mail"}));

    ones.setIncludesPendingChanges(false);
    ones.setFetchLimit(0);
    EXPECT_EQ(titles(context->fetch(ones)), (std::vector<std::string> {"Bank"}));
}

TEST_F(ContextTest, FetchingAgainGivesTheSameObjectWithItsUnsavedChanges)
{
    auto item = insertItem(*context, "Bank", 1);
    context->save();
    item->setValue(String("changed"), "notes");
    auto fetched = context->fetch(itemsWhere(std::nullopt));
    ASSERT_EQ(fetched.size(), 1u);
    EXPECT_EQ(fetched[0], item);
    EXPECT_EQ(item->value<String>("notes"), String("changed"));
    EXPECT_EQ(item->changedValues().size(), 1u);
    EXPECT_EQ(item->committedValues().at("notes"), Value());
}

TEST_F(ContextTest, AFailedSaveKeepsEveryChangeAndWritesNothing)
{
    auto kept = insertItem(*context, "Kept");
    auto missing = context->insertNewObject<Item>();
    missing->setValue(std::nullopt, "uuid");
    EXPECT_EQ(errorCode([&] { context->save(); }), CoreDataError::validationMissingMandatoryProperty);
    EXPECT_TRUE(kept->isInserted());
    EXPECT_EQ(context->insertedObjects().size(), 2u);

    auto other = container->newBackgroundContext();
    EXPECT_EQ(other->performAndWait([&] { return other->count(itemsWhere(std::nullopt)); }), 0);

    missing->setValue(UUID(), "uuid");
    context->save();
    EXPECT_EQ(other->performAndWait([&] { return other->count(itemsWhere(std::nullopt)); }), 2);
}

TEST_F(ContextTest, RollbackUndoesInsertsChangesAndDeletions)
{
    auto changed = insertItem(*context, "Before");
    auto deleted = insertItem(*context, "Deleted");
    context->save();
    changed->setTitle("After");
    context->delete_(deleted);
    auto inserted = insertItem(*context, "Inserted");
    context->rollback();
    EXPECT_FALSE(context->hasChanges());
    EXPECT_EQ(changed->title(), "Before");
    EXPECT_FALSE(deleted->isDeleted());
    EXPECT_EQ(inserted->managedObjectContext(), nullptr);
    EXPECT_EQ(titles(context->fetch(itemsWhere(std::nullopt))), (std::vector<std::string> {"Before", "Deleted"}));
}

TEST_F(ContextTest, RelationshipsAmongNewObjectsAreSavedTogether)
{
    auto vault = context->insertNewObject("Vault");
    auto item = insertItem(*context, "Bank");
    auto attachment = context->insertNewObject("Attachment");
    item->setRelatedObject(vault, "vault");
    attachment->setRelatedObject(item, "item");
    EXPECT_EQ(vault->relatedObjects("items").size(), 1u);
    context->save();
    context->reset();

    auto items = context->fetch(itemsWhere(std::nullopt));
    ASSERT_EQ(items.size(), 1u);
    ASSERT_NE(items[0]->relatedObject("vault"), nullptr);
    EXPECT_EQ(items[0]->relatedObject("vault")->relatedObjects("items").front(), items[0]);
    EXPECT_EQ(items[0]->relatedObjects("attachments").size(), 1u);
    auto byVault = itemsWhere(key("vault") == items[0]->relatedObject("vault")->objectID());
    EXPECT_EQ(context->count(byVault), 1);
}

TEST_F(ContextTest, DeleteRulesCascadeNullifyAndDeny)
{
    auto vault = context->insertNewObject("Vault");
    auto item = insertItem(*context, "Bank");
    item->setRelatedObject(vault, "vault");
    for (int i = 0; i < 2; ++i)
        context->insertNewObject("Attachment")->setRelatedObject(item, "item");
    context->save();

    context->delete_(vault);
    EXPECT_EQ(errorCode([&] { context->save(); }), CoreDataError::validationRelationshipDeniedDelete);
    context->rollback();

    context->delete_(item);
    EXPECT_EQ(context->deletedObjects().size(), 3u);
    context->save();
    EXPECT_EQ(context->count(NSFetchRequest<>("Attachment")), 0);
    context->delete_(vault);
    context->save();
    EXPECT_EQ(context->count(NSFetchRequest<>("Vault")), 0);
}

TEST_F(ContextTest, ChangesAreAnnouncedOnTheNextTurnOfTheMainLoopAndSavesRightAway)
{
    Recorder changes(NSManagedObjectContext::didChangeObjectsNotification(), context);
    Recorder saves(NSManagedObjectContext::didSaveObjectsNotification(), context);
    auto item = insertItem(*context, "Bank");
    EXPECT_TRUE(changes.received.empty());
    TestSupport::runMainLoopUntilIdle();
    ASSERT_EQ(changes.received.size(), 1u);
    EXPECT_EQ(countOf(changes.received[0], NSInsertedObjectsKey), 1u);

    context->save();
    item->setTitle("Mail");
    context->save();
    context->delete_(item);
    context->save();
    ASSERT_EQ(saves.received.size(), 3u);
    EXPECT_EQ(countOf(saves.received[0], NSInsertedObjectsKey), 1u);
    EXPECT_EQ(countOf(saves.received[1], NSUpdatedObjectsKey), 1u);
    EXPECT_EQ(countOf(saves.received[2], NSDeletedObjectsKey), 1u);
    EXPECT_EQ(item->managedObjectContext(), nullptr);
    // A save without changes says nothing.
    context->save();
    EXPECT_EQ(saves.received.size(), 3u);
}

TEST_F(ContextTest, TheViewContextMergesWhatBackgroundContextsSave)
{
    auto shown = insertItem(*context, "Shown", 1);
    auto gone = insertItem(*context, "Gone", 1);
    context->save();
    Recorder changes(NSManagedObjectContext::didChangeObjectsNotification(), context);

    auto background = container->newBackgroundContext();
    background->performAndWait([&] {
        auto items = background->fetch(itemsWhere(std::nullopt));
        items[1]->setValue(2, "count");
        background->delete_(items[0]);
        insertItem(*background, "Added");
        background->save();
    });
    EXPECT_EQ(shown->value<std::int64_t>("count"), 1);
    TestSupport::runMainLoopUntilIdle();
    EXPECT_EQ(shown->value<std::int64_t>("count"), 2);
    EXPECT_TRUE(gone->isDeleted());
    ASSERT_EQ(changes.received.size(), 1u);
    EXPECT_EQ(countOf(changes.received[0], NSInsertedObjectsKey), 1u);
    EXPECT_EQ(countOf(changes.received[0], NSRefreshedObjectsKey), 1u);
    EXPECT_EQ(countOf(changes.received[0], NSDeletedObjectsKey), 1u);
}

TEST_F(ContextTest, SavingWritesOnlyWhatTheContextChanged)
{
    auto item = insertItem(*context, "Bank");
    context->save();
    auto editor = container->newBackgroundContext();
    auto edited = editor->performAndWait([&] { return editor->fetch(itemsWhere(std::nullopt)).front(); });

    item->setValue(true, "isFavorite");
    context->save();
    editor->performAndWait([&] {
        edited->setTitle("Bank of Somewhere");
        editor->save();
    });
    context->refresh(item, false);
    EXPECT_EQ(item->title(), "Bank of Somewhere");
    EXPECT_EQ(item->value<bool>("isFavorite"), true);
}

TEST_F(ContextTest, ChangingAnObjectDeletedElsewhereFailsTheSave)
{
    auto item = insertItem(*context, "Bank");
    context->save();
    auto other = container->newBackgroundContext();
    other->performAndWait([&] {
        other->delete_(other->fetch(itemsWhere(std::nullopt)).front());
        other->save();
    });
    item->setTitle("Changed");
    EXPECT_EQ(errorCode([&] { context->save(); }), CoreDataError::managedObjectMerge);
    EXPECT_TRUE(item->isUpdated());
}

TEST_F(ContextTest, BatchDeletesRunInTheStoreFollowingTheRules)
{
    auto vault = context->insertNewObject("Vault");
    for (int i = 0; i < 4; ++i) {
        auto item = insertItem(*context, String("Item ") + String(std::to_string(i)), i);
        context->insertNewObject("Attachment")->setRelatedObject(item, "item");
        if (i == 0)
            item->setRelatedObject(vault, "vault");
    }
    context->save();
    auto held = context->fetch(itemsWhere(key("count") == 2)).front();

    NSBatchDeleteRequest request(itemsWhere(key("count") >= 2));
    auto result = context->execute(request);
    EXPECT_EQ(result.count(), 2);
    EXPECT_EQ(result.objectIDs().size(), 4u); // two items, then their attachments
    EXPECT_TRUE(held->isDeleted());
    EXPECT_EQ(held->managedObjectContext(), nullptr);
    EXPECT_EQ(context->count(itemsWhere(std::nullopt)), 2);
    EXPECT_EQ(context->count(NSFetchRequest<>("Attachment")), 2);

    EXPECT_EQ(errorCode([&] { context->execute(NSBatchDeleteRequest(NSFetchRequest<>("Vault"))); }),
              CoreDataError::validationRelationshipDeniedDelete);
    EXPECT_EQ(context->count(NSFetchRequest<>("Vault")), 1);
    EXPECT_EQ(errorCode([&] { context->execute(NSBatchDeleteRequest(itemsWhere(NSPredicate::withBlock([](const auto&) { return true; })))); }),
              CoreDataError::persistentStoreOperation);
}

TEST_F(ContextTest, BatchInsertsGoInWithTheSaveAllOrNothing)
{
    auto storedTitles = [&] {
        NSFetchRequest<> request("Item");
        request.setPropertiesToFetch({"title"});
        request.setSortDescriptors({NSSortDescriptor("title")});
        std::vector<std::string> found;
        for (const auto& row : context->fetchValues(request))
            found.push_back(row[0].as<String>()->utf8());
        return found;
    };
    insertItem(*context, "Before");
    int made = 0;
    std::vector<NSBatchInsertRequest> inserts;
    inserts.emplace_back("Item", [&](NSBatchInsertRequest::Object& object) {
        if (made == 3)
            return true;
        object.setValue(UUID(), "uuid");
        object.setValue(String("Row " + std::to_string(made)), "title");
        object.setValue(made, "score");
        // What the handler changes in the context is saved with the rows.
        if (++made == 2)
            insertItem(*context, "Meanwhile");
        return false;
    });
    context->save(inserts);
    EXPECT_EQ(inserts[0].insertedCount(), 3);
    EXPECT_FALSE(context->hasChanges());
    EXPECT_EQ(storedTitles(), (std::vector<std::string> {"Before", "Meanwhile", "Row 0", "Row 1", "Row 2"}));
    auto row = context->fetch(itemsWhere(key("title") == "Row 1")).front();
    EXPECT_EQ(row->value<double>("score"), 1.0);
    EXPECT_EQ(row->value<std::int64_t>("count"), 0);
    EXPECT_EQ(row->value<bool>("isFavorite"), false);
    EXPECT_EQ(row->value<String>("notes"), std::nullopt);

    // A required value missing, a value of the wrong type, a handler that throws: nothing of the save is
    // stored, and the context keeps its changes.
    auto failing = [&](std::function<void(NSBatchInsertRequest::Object&)> fill) {
        insertItem(*context, "Pending");
        bool filled = false;
        std::vector<NSBatchInsertRequest> batch;
        batch.emplace_back("Item", [&](NSBatchInsertRequest::Object& object) {
            if (!filled) {
                object.setValue(UUID(), "uuid");
                object.setValue(String("First"), "title");
                filled = true;
                return false;
            }
            fill(object);
            return false;
        });
        std::int64_t code = -1;
        try {
            context->save(batch);
        } catch (const Foundation::Error& error) {
            code = error.code();
        } catch (const std::exception&) {
            code = 0;
        }
        EXPECT_TRUE(context->hasChanges());
        EXPECT_EQ(storedTitles().size(), 5u);
        context->rollback();
        return code;
    };
    EXPECT_EQ(failing([](NSBatchInsertRequest::Object& object) { object.setValue(String("No identifier"), "title"); }),
              CoreDataError::validationMissingMandatoryProperty);
    EXPECT_EQ(failing([](NSBatchInsertRequest::Object& object) { object.setValue(String("a title"), "count"); }), CoreDataError::managedObjectValidation);
    EXPECT_EQ(failing([](NSBatchInsertRequest::Object& object) { object.setValue(1, "attachments"); }), CoreDataError::managedObjectValidation);
    EXPECT_EQ(failing([](NSBatchInsertRequest::Object&) { throw std::runtime_error("the source failed"); }), 0);
}

TEST_F(ContextTest, PrivateContextsRunOnTheirOwnQueueAndHandBackErrors)
{
    auto background = container->newBackgroundContext();
    EXPECT_EQ(background->performAndWait([&] { return background->performAndWait([] { return 42; }); }), 42);
    EXPECT_THROW(background->performAndWait([] { throw std::runtime_error("failed"); }), std::runtime_error);

    auto done = Foundation::make<Foundation::DispatchSemaphore>(0);
    background->perform([&] {
        insertItem(*background, "Bank");
        background->save();
        done->signal();
    });
    done->wait();
    EXPECT_EQ(context->count(itemsWhere(std::nullopt)), 1);
}

TEST_F(ContextTest, ChangesKnownOnlyByIDMergeIntoOtherContexts)
{
    auto bank = insertItem(*context, "Bank");
    auto mail = insertItem(*context, "Mail");
    context->save();
    auto background = container->newBackgroundContext();
    auto result = background->performAndWait([&] {
        background->fetch(itemsWhere(key("title") == "Mail")).front()->setTitle("Post");
        background->save();
        return background->execute(NSBatchDeleteRequest(itemsWhere(key("title") == "Bank")));
    });
    TestSupport::runMainLoopUntilIdle();
    EXPECT_EQ(mail->title(), "Post");
    EXPECT_FALSE(bank->isDeleted());

    NSManagedObjectContext::mergeChanges({{NSDeletedObjectsKey, result.objectIDs()}}, {context});
    EXPECT_TRUE(bank->isDeleted());
    EXPECT_EQ(context->registeredObject(bank->objectID()), nullptr);
}
