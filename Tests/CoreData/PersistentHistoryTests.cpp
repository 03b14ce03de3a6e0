#include "Tests/CoreData/StoreFixture.hpp"
#include "Tests/Support/TemporaryHome.hpp"

#include "Platform/CoreData/CoreDataError.hpp"

#include <algorithm>
#include <map>

using namespace CoreDataTests;

namespace {

using ChangeType = NSPersistentHistoryChange::ChangeType;

// Notes whose titles stay in the history once they are deleted, and whose bodies do not.
std::shared_ptr<NSPersistentContainer> makeNotes(const std::string& path, bool tracksHistory)
{
    auto note = Foundation::make<NSEntityDescription>("Note");
    NSAttributeDescription title("title", NSAttributeType::string);
    title.setPreservesValueInHistoryOnDeletion(true);
    note->addAttribute(title);
    note->addAttribute({"body", NSAttributeType::string});
    auto model = Foundation::make<NSManagedObjectModel>();
    model->setEntities({note});
    auto container = Foundation::make<NSPersistentContainer>("Notes", model);
    NSPersistentStoreDescription description(Foundation::URL::fileURLWithPath(path, false));
    description.setPersistentHistoryTracking(tracksHistory);
    container->setPersistentStoreDescriptions({description});
    Foundation::ErrorPtr failure;
    container->loadPersistentStores([&](const auto&, Foundation::ErrorPtr error) { failure = error; });
    if (failure)
        failure->raise();
    return container;
}

std::shared_ptr<NSManagedObject> addNote(NSManagedObjectContext& context, const char* title)
{
    auto note = context.insertNewObject("Note");
    note->setValue(String(title), "title");
    note->setValue(String("body"), "body");
    return note;
}

// What the history says happened to each note after the token, by primary key: the last change's type
// and, for a deletion, the title it kept.
std::map<std::int64_t, std::pair<ChangeType, std::string>> changesAfter(NSManagedObjectContext& context, NSPersistentHistoryToken& token,
                                                                        bool local = false)
{
    auto result = context.execute(NSPersistentHistoryChangeRequest::fetchHistory(token));
    std::map<std::int64_t, std::pair<ChangeType, std::string>> changes;
    for (const auto& change : result.changes) {
        EXPECT_EQ(change.isLocal, local) << "told apart by who saved it";
        std::string title;
        if (auto found = change.tombstone.find("title"); found != change.tombstone.end() && found->second.as<String>())
            title = found->second.as<String>()->utf8();
        changes[change.changedObjectID.primaryKey()] = {change.changeType, title};
    }
    token = result.token;
    return changes;
}

} // namespace

// What one connection (another process) saves, a reader learns from the history after its token: the rows
// made, changed and deleted (by a save or a batch, with what deleted rows keep), nothing twice, and also
// what a program that does not read the history wrote.
TEST(PersistentHistory, AReaderLearnsEveryChangeOthersSavedSinceItsToken)
{
    TestSupport::TemporaryHome home;
    auto path = (home.path() / "Notes.sqlite").string();
    auto reader = makeNotes(path, true);
    auto writer = makeNotes(path, true);
    auto& context = *reader->viewContext();
    auto token = context.currentPersistentHistoryToken();

    auto& writing = *writer->viewContext();
    auto kept = addNote(writing, "Kept");
    auto gone = addNote(writing, "Gone");
    writing.save();
    auto keptKey = kept->objectID().primaryKey();
    auto goneKey = gone->objectID().primaryKey();
    auto changes = changesAfter(context, token);
    EXPECT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[keptKey].first, ChangeType::insert);
    EXPECT_EQ(token, context.currentPersistentHistoryToken());
    EXPECT_TRUE(changesAfter(context, token).empty()) << "nothing twice";
    addNote(context, "Mine");
    context.save();
    EXPECT_EQ(changesAfter(context, token, true).size(), 1u);

    kept->setValue(String("Kept, changed"), "body");
    writing.delete_(gone);
    writing.save();
    changes = changesAfter(context, token);
    EXPECT_EQ(changes[keptKey].first, ChangeType::update);
    EXPECT_EQ(changes[goneKey], std::pair(ChangeType::delete_, std::string("Gone")));

    // A program that keeps no history itself still has its writes recorded; a batch delete too.
    auto unaware = makeNotes(path, false);
    addNote(*unaware->viewContext(), "Unaware")->setValue(String("x"), "body");
    unaware->viewContext()->save();
    EXPECT_THROW(unaware->viewContext()->currentPersistentHistoryToken(), Foundation::Error);
    writing.execute(NSBatchDeleteRequest(NSFetchRequest<NSManagedObject>("Note")));
    changes = changesAfter(context, token);
    ASSERT_EQ(changes.size(), 3u) << "the reader's own note went with the batch";
    EXPECT_EQ(changes[keptKey], std::pair(ChangeType::delete_, std::string("Kept")));
    EXPECT_TRUE(std::ranges::any_of(changes, [](const auto& change) { return change.second.second == "Unaware"; }));
}

// Forgotten history cannot be read past: a reader behind it is told so, and must read the store afresh.
TEST(PersistentHistory, AReaderBehindForgottenHistoryIsToldItExpired)
{
    TestSupport::TemporaryHome home;
    auto path = (home.path() / "Notes.sqlite").string();
    auto container = makeNotes(path, true);
    auto& context = *container->viewContext();
    auto start = context.currentPersistentHistoryToken();
    addNote(context, "One");
    context.save();
    auto afterOne = context.currentPersistentHistoryToken();
    addNote(context, "Two");
    context.save();

    context.execute(NSPersistentHistoryChangeRequest::deleteHistory(afterOne));
    auto token = afterOne;
    EXPECT_EQ(changesAfter(context, token, true).size(), 1u) << "what came after the forgotten part is still there";
    try {
        context.execute(NSPersistentHistoryChangeRequest::fetchHistory(start));
        ADD_FAILURE() << "read past forgotten history";
    } catch (const Foundation::Error& error) {
        EXPECT_EQ(error.code(), CoreDataError::persistentHistoryTokenExpired);
    }
    // Opened again, the store keeps counting where it was.
    container.reset();
    auto reopened = makeNotes(path, true);
    EXPECT_EQ(reopened->viewContext()->currentPersistentHistoryToken(), token);
}
