#include "Tests/CoreData/StoreFixture.hpp"
#include "Tests/Support/Files.hpp"
#include "Tests/Support/TemporaryHome.hpp"

#include "Platform/CoreData/CoreDataError.hpp"

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <set>
#include <thread>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace CoreDataTests;
namespace fs = std::filesystem;

namespace {

class ContainerTest : public testing::Test {
protected:
    TestSupport::TemporaryHome home;
    std::string path = (home.path() / "Stores" / "Items.sqlite").string();

    std::int64_t openingError(const std::string& at, double timeout = 10)
    {
        try {
            makeContainer(at, timeout);
        } catch (const Foundation::Error& error) {
            EXPECT_NE(error.localizedDescription().find(at), std::string::npos) << error.description();
            return error.code();
        }
        return 0;
    }

    void fill(int count)
    {
        auto container = makeContainer(path);
        for (int i = 0; i < count; ++i)
            insertItem(*container->viewContext(), "Item", i)->setValue(Data(std::vector<std::uint8_t>(500, 7)), "payload");
        container->viewContext()->save();
    }
};

// A child process; the parent talks to it through two pipes, one byte at a time.
class Child {
public:
    explicit Child(const std::function<int(Child&)>& body)
    {
        if (pipe(m_toChild) != 0 || pipe(m_toParent) != 0)
            throw std::runtime_error("no pipe");
        std::fflush(nullptr);
        m_pid = fork();
        if (m_pid == 0) {
            close(m_toChild[1]);
            close(m_toParent[0]);
            int status = 1;
            try {
                status = body(*this);
            } catch (const std::exception& error) {
                std::fprintf(stderr, "child: %s\n", error.what());
            }
            _exit(status);
        }
        // With only the other side's ends open here, a child that ends early ends the parent's wait too.
        close(m_toChild[0]);
        close(m_toParent[1]);
    }
    ~Child()
    {
        close(m_toChild[1]);
        close(m_toParent[0]);
        if (m_pid > 0 && !m_finished)
            finish();
    }
    void tellParent(char byte) { (void)!write(m_toParent[1], &byte, 1); }
    char waitForParent()
    {
        char byte = 0;
        (void)!read(m_toChild[0], &byte, 1);
        return byte;
    }
    void tellChild(char byte) { (void)!write(m_toChild[1], &byte, 1); }
    char waitForChild()
    {
        char byte = 0;
        (void)!read(m_toParent[0], &byte, 1);
        return byte;
    }
    bool hasFinished()
    {
        int status = 0;
        if (!m_finished && waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_finished = true;
            m_status = status;
        }
        return m_finished;
    }
    // The child's exit status.
    int finish()
    {
        if (!m_finished) {
            waitpid(m_pid, &m_status, 0);
            m_finished = true;
        }
        return WIFEXITED(m_status) ? WEXITSTATUS(m_status) : -1;
    }

private:
    int m_toChild[2] {};
    int m_toParent[2] {};
    pid_t m_pid = -1;
    bool m_finished = false;
    int m_status = 0;
};

// Another process's connection that holds the store's write lock (and, exclusively, every lock) until told.
int holdLock(Child& child, const std::string& path, bool exclusive)
{
    sqlite3* database = nullptr;
    if (sqlite3_open(path.c_str(), &database) != SQLITE_OK)
        return 2;
    if (exclusive && sqlite3_exec(database, "PRAGMA locking_mode=EXCLUSIVE", nullptr, nullptr, nullptr) != SQLITE_OK)
        return 3;
    if (sqlite3_exec(database, "BEGIN EXCLUSIVE; INSERT INTO \"Vault\" (\"name\") VALUES ('held')", nullptr, nullptr, nullptr) != SQLITE_OK)
        return 4;
    child.tellParent('L');
    child.waitForParent();
    sqlite3_exec(database, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(database);
    return 0;
}

} // namespace

TEST_F(ContainerTest, AFileStoreKeepsItsObjectsForItsOwnerOnly)
{
    fill(3);
    auto container = makeContainer(path);
    EXPECT_EQ(container->viewContext()->count(itemsWhere(std::nullopt)), 3);
    for (const auto& file : {path, path + "-wal", path + "-shm"})
        EXPECT_EQ(fs::status(file).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write) << file;
    EXPECT_EQ(container->persistentStoreCoordinator()->persistentStores().front()->identifier().count(), 36);
}

TEST_F(ContainerTest, TheDefaultStoreLivesInApplicationSupportAndInMemoryStoresAreApart)
{
    auto container = Foundation::make<NSPersistentContainer>("Records", makeModel());
    container->loadPersistentStores([](const auto&, Foundation::ErrorPtr error) { EXPECT_EQ(error, nullptr); });
    insertItem(*container->viewContext(), "Bank");
    container->viewContext()->save();
    EXPECT_TRUE(fs::exists(container->persistentStoreDescriptions().front().url()->path().utf8()));
    EXPECT_EQ(container->persistentStoreDescriptions().front().url()->lastPathComponent(), "Records.sqlite");

    auto first = makeContainer(":memory:");
    insertItem(*first->viewContext(), "Bank");
    first->viewContext()->save();
    EXPECT_EQ(makeContainer(":memory:")->viewContext()->count(itemsWhere(std::nullopt)), 0);
}

TEST_F(ContainerTest, ARefreshShowsWhatAnotherConnectionSaved)
{
    fill(2);
    auto reader = makeContainer(path);
    auto items = reader->viewContext()->fetch(itemsWhere(std::nullopt, {NSSortDescriptor("count")}));
    {
        auto writer = makeContainer(path);
        auto written = writer->viewContext()->fetch(itemsWhere(std::nullopt, {NSSortDescriptor("count")}));
        written[0]->setTitle("Renamed");
        writer->viewContext()->delete_(written[1]);
        writer->viewContext()->save();
    }
    EXPECT_EQ(items[0]->title(), "Item");
    reader->viewContext()->refreshAllObjects();
    EXPECT_EQ(items[0]->title(), "Renamed");
    EXPECT_TRUE(items[1]->isDeleted());
}

TEST_F(ContainerTest, ALargeSaveIsCopiedIntoTheFileWhileSavesGoOn)
{
    // Over a thousand pages of log: the copy into the file runs beside what follows.
    {
        auto container = makeContainer(path);
        auto context = container->viewContext();
        for (int i = 0; i < 600; ++i)
            insertItem(*context, "Large", i)->setValue(Data(std::vector<std::uint8_t>(8000, 7)), "payload");
        context->save();
        for (int round = 0; round < 3; ++round) {
            insertItem(*context, "Small", round);
            context->save();
            EXPECT_EQ(context->count(itemsWhere(std::nullopt)), 601 + round);
        }
        EXPECT_EQ(makeContainer(path)->viewContext()->count(itemsWhere(std::nullopt)), 603);
    }
    // The file alone holds everything once the store is closed.
    auto copy = (home.path() / "Stores" / "Copy.sqlite").string();
    fs::copy_file(path, copy);
    EXPECT_EQ(makeContainer(copy)->viewContext()->count(itemsWhere(key("title") == "Large")), 600);
}

TEST_F(ContainerTest, OpeningFitsTheStoreToAGrownModel)
{
    fill(2);
    auto model = makeModel();
    auto tag = Foundation::make<NSEntityDescription>("Tag");
    tag->addAttribute({"name", NSAttributeType::string, false});
    auto item = model->entity("Item");
    item->addAttribute({"isArchived", NSAttributeType::boolean, false, false, true});
    item->addAttribute({"archivedAt", NSAttributeType::date});
    auto entities = model->entities();
    entities.push_back(tag);
    model->setEntities(entities);

    auto coordinator = Foundation::make<NSPersistentStoreCoordinator>(model);
    coordinator->addPersistentStore(NSPersistentStoreDescription(Foundation::URL::fileURLWithPath(path)));
    auto context = Foundation::make<NSManagedObjectContext>(NSManagedObjectContext::ConcurrencyType::mainQueueConcurrencyType);
    context->setPersistentStoreCoordinator(coordinator);
    auto items = context->fetch(itemsWhere(key("isArchived") == false));
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0]->value<Date>("archivedAt"), std::nullopt);
    context->insertNewObject("Tag")->setValue(String("work"), "name");
    context->save();
}

TEST_F(ContainerTest, AStoreTheModelDoesNotFitIsRefusedUntouched)
{
    fill(1);
    auto before = TestSupport::readText(path);
    auto requiredWithoutDefault = makeModel();
    requiredWithoutDefault->entity("Item")->addAttribute({"kind", NSAttributeType::string, false});
    auto otherType = Foundation::make<NSEntityDescription>("Item");
    otherType->addAttribute({"count", NSAttributeType::string});
    auto otherTypeModel = Foundation::make<NSManagedObjectModel>();
    otherTypeModel->setEntities({otherType});
    for (const auto& [model, named] : {std::pair {requiredWithoutDefault, "Item.kind"}, std::pair {otherTypeModel, "Item.count"}}) {
        auto coordinator = Foundation::make<NSPersistentStoreCoordinator>(model);
        try {
            coordinator->addPersistentStore(NSPersistentStoreDescription(Foundation::URL::fileURLWithPath(path)));
            ADD_FAILURE() << named;
        } catch (const Foundation::Error& error) {
            EXPECT_EQ(error.code(), CoreDataError::persistentStoreIncompatibleSchema);
            EXPECT_NE(error.localizedDescription().find(named), std::string::npos) << error.localizedDescription();
        }
        EXPECT_EQ(TestSupport::readText(path), before);
    }

    sqlite3* database = nullptr;
    sqlite3_open(path.c_str(), &database);
    sqlite3_exec(database, "UPDATE \"_metadata\" SET \"value\" = '2' WHERE \"key\" = 'version'", nullptr, nullptr, nullptr);
    sqlite3_close(database);
    EXPECT_EQ(openingError(path), CoreDataError::persistentStoreIncompatibleVersionHash);
}

TEST_F(ContainerTest, DamagedTruncatedAndForeignFilesAreRefusedAndLeftAsTheyWere)
{
    fill(400);
    auto whole = TestSupport::readText(path);
    ASSERT_GT(whole.size(), 100000u);
    fs::remove(path + "-wal");
    fs::remove(path + "-shm");

    TestSupport::writeText(path, whole.substr(0, whole.size() / 2));
    EXPECT_EQ(openingError(path), CoreDataError::fileReadCorruptFile);
    EXPECT_EQ(TestSupport::readText(path), whole.substr(0, whole.size() / 2));

    std::string damaged = whole;
    for (std::size_t i = 0; i < 4096; ++i)
        damaged[4096 + i] = static_cast<char>(0xA5);
    TestSupport::writeText(path, damaged);
    EXPECT_EQ(openingError(path), CoreDataError::fileReadCorruptFile);
    EXPECT_EQ(TestSupport::readText(path), damaged);

    TestSupport::writeText(path, "Title,Password\nBank,secret\n");
    EXPECT_EQ(openingError(path), CoreDataError::fileReadCorruptFile);
    EXPECT_EQ(TestSupport::readText(path), "Title,Password\nBank,secret\n");

    // An emptied file, and a database of some other program, are not new stores to be filled.
    TestSupport::writeText(path, "");
    EXPECT_EQ(openingError(path), CoreDataError::fileReadCorruptFile);
    EXPECT_EQ(fs::file_size(path), 0u);
    fs::remove(path);
    sqlite3* database = nullptr;
    sqlite3_open(path.c_str(), &database);
    sqlite3_exec(database, "CREATE TABLE \"Accounts\" (\"name\" TEXT)", nullptr, nullptr, nullptr);
    sqlite3_close(database);
    auto foreign = TestSupport::readText(path);
    EXPECT_EQ(openingError(path), CoreDataError::fileReadCorruptFile);
    EXPECT_EQ(TestSupport::readText(path), foreign);
}

// A flipped byte in an index leaves every page readable, but the item it indexes would be found by a scan
// of the table and missed by a lookup: the store's check on opening finds it.
TEST_F(ContainerTest, AFlippedByteInAnIndexIsFoundWhenTheStoreOpens)
{
    fill(5);
    ASSERT_FALSE(fs::exists(path + "-wal"));
    sqlite3* database = nullptr;
    sqlite3_open(path.c_str(), &database);
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(database, "SELECT rootpage FROM sqlite_master WHERE name = '_index_Item_title'", -1, &statement, nullptr);
    ASSERT_EQ(sqlite3_step(statement), SQLITE_ROW);
    auto page = sqlite3_column_int64(statement, 0);
    sqlite3_finalize(statement);
    sqlite3_prepare_v2(database, "PRAGMA page_size", -1, &statement, nullptr);
    ASSERT_EQ(sqlite3_step(statement), SQLITE_ROW);
    auto pageSize = sqlite3_column_int64(statement, 0);
    sqlite3_finalize(statement);
    sqlite3_close(database);

    // The last byte of the index's only page is the row number of the first item's entry.
    auto text = TestSupport::readText(path);
    text[static_cast<std::size_t>(page * pageSize - 1)] ^= 0x40;
    TestSupport::writeText(path, text);
    EXPECT_EQ(openingError(path), CoreDataError::fileReadCorruptFile);
    EXPECT_EQ(TestSupport::readText(path), text);
}

TEST_F(ContainerTest, ProcessesMakingANewStoreAtOnceShareOneWholeStore)
{
    for (int round = 0; round < 4; ++round) {
        fs::remove_all(fs::path(path).parent_path());
        std::vector<std::unique_ptr<Child>> children;
        for (int i = 0; i < 3; ++i) {
            children.push_back(std::make_unique<Child>([&](Child& child) {
                child.waitForParent();
                auto container = makeContainer(path);
                insertItem(*container->viewContext(), "Made", i);
                container->viewContext()->save();
                return 0;
            }));
        }
        for (auto& child : children)
            child->tellChild('G');
        for (auto& child : children)
            EXPECT_EQ(child->finish(), 0);
        EXPECT_EQ(makeContainer(path)->viewContext()->count(itemsWhere(std::nullopt)), 3);
        // Nothing of the making is left beside the store.
        for (const auto& file : fs::directory_iterator(fs::path(path).parent_path()))
            EXPECT_FALSE(file.path().filename().string().starts_with(".")) << file.path();
    }
}

TEST_F(ContainerTest, AWriteTransactionKeepsOtherWritersOutUntilItEnds)
{
    makeContainer(path);
    auto container = makeContainer(path, 0);
    auto& context = *container->viewContext();
    insertItem(context, "Counter", 0);
    context.save();
    Child writer([&](Child& child) {
        auto other = makeContainer(path, 0);
        child.waitForParent();
        insertItem(*other->viewContext(), "Elsewhere");
        try {
            other->viewContext()->save();
        } catch (const Foundation::Error& error) {
            return error.code() == CoreDataError::persistentStoreTimeout ? 7 : 1;
        }
        return 0;
    });
    context.performInWriteTransaction([&] {
        auto item = context.fetch(itemsWhere(std::nullopt)).front();
        writer.tellChild('G');
        EXPECT_EQ(writer.finish(), 7);
        item->setValue(std::int64_t(1), "count");
        context.save();
    });
    EXPECT_EQ(makeContainer(path)->viewContext()->count(itemsWhere(std::nullopt)), 1);

    // What the body saved goes when the body fails.
    EXPECT_THROW(context.performInWriteTransaction([&] {
        insertItem(context, "Rolled back");
        context.save();
        throw std::runtime_error("after the save");
    }),
                 std::runtime_error);
    EXPECT_EQ(makeContainer(path)->viewContext()->count(itemsWhere(std::nullopt)), 1);
}

TEST_F(ContainerTest, AStoreLockedByAnotherProcessFailsClearlyAndLosesNothing)
{
    fill(1);
    {
        auto container = makeContainer(path, 0);
        auto& context = *container->viewContext();
        Child writer([&](Child& child) { return holdLock(child, path, false); });
        ASSERT_EQ(writer.waitForChild(), 'L');

        // Readers still read while another process writes.
        EXPECT_EQ(context.count(itemsWhere(std::nullopt)), 1);
        insertItem(context, "Waiting");
        try {
            context.save();
            ADD_FAILURE();
        } catch (const Foundation::Error& error) {
            EXPECT_EQ(error.code(), CoreDataError::persistentStoreTimeout);
            EXPECT_NE(error.localizedDescription().find("locked by another process"), std::string::npos);
        }
        EXPECT_TRUE(context.hasChanges());

        writer.tellChild('R');
        EXPECT_EQ(writer.finish(), 0);
        context.save();
        EXPECT_EQ(makeContainer(path)->viewContext()->count(itemsWhere(std::nullopt)), 2);
        EXPECT_EQ(makeContainer(path)->viewContext()->count(NSFetchRequest<>("Vault")), 0);
    }

    // A process holding the store exclusively keeps others from even opening it.
    Child exclusive([&](Child& child) { return holdLock(child, path, true); });
    ASSERT_EQ(exclusive.waitForChild(), 'L');
    EXPECT_EQ(openingError(path, 0), CoreDataError::persistentStoreTimeout);
    exclusive.tellChild('R');
    EXPECT_EQ(exclusive.finish(), 0);
}

TEST_F(ContainerTest, TwoProcessesShareOneStore)
{
    constexpr int childSaves = 150;
    makeContainer(path);
    Child writer([&](Child& child) {
        auto container = makeContainer(path);
        auto& context = *container->viewContext();
        child.tellParent('S');
        for (int i = 0; i < childSaves; ++i) {
            // Each save writes a pair: a reader must never see one without the other.
            insertItem(context, "Child", i);
            insertItem(context, "Child", i);
            context.save();
        }
        return 0;
    });
    ASSERT_EQ(writer.waitForChild(), 'S');

    auto container = makeContainer(path);
    auto& context = *container->viewContext();
    auto fromChild = itemsWhere(key("title") == "Child");
    std::int64_t seen = 0;
    int parentSaves = 0;
    while (!writer.hasFinished()) {
        std::int64_t count = context.count(fromChild);
        EXPECT_EQ(count % 2, 0);
        EXPECT_GE(count, seen);
        seen = count;
        if (parentSaves < 20) {
            insertItem(context, "Parent", parentSaves++);
            context.save();
        }
    }
    EXPECT_EQ(writer.finish(), 0);
    EXPECT_EQ(context.count(fromChild), 2 * childSaves);
    EXPECT_EQ(context.count(itemsWhere(key("title") == "Parent")), parentSaves);
}

// A large table read by several connections at once gives the rows one connection reads, each part in
// the order of its keys; inside a write transaction, whose rows the other connections cannot see yet,
// it reads them as one connection does.
TEST_F(ContainerTest, ReadingALargeTableAtOnceGivesWhatOneConnectionReads)
{
    auto container = makeContainer(path);
    auto& context = *container->viewContext();
    auto insert = [&](int from, int to) {
        int next = from;
        std::vector<NSBatchInsertRequest> inserts;
        inserts.emplace_back("Item", [&](NSBatchInsertRequest::Object& object) {
            if (next == to)
                return true;
            object.setValue(UUID(), "uuid");
            object.setValue(String("Row " + std::to_string(next)), "title");
            object.setValue(std::int64_t(next++), "count");
            return false;
        });
        context.save(inserts);
    };
    insert(0, 20000);
    NSBatchDeleteRequest gap(itemsWhere(key("count") >= 5000 && key("count") < 7000));
    context.execute(gap);
    NSFetchRequest<> values("Item");
    values.setPredicate(key("count") != 7);
    values.setPropertiesToFetch({"count", "title", "objectID"});
    auto read = [&] {
        std::mutex mutex;
        std::vector<std::vector<std::vector<Value>>> batches;
        std::set<std::thread::id> threads;
        context.fetchValuesConcurrently(values, 100, [&](std::vector<std::vector<Value>> batch) {
            std::lock_guard lock(mutex);
            threads.insert(std::this_thread::get_id());
            batches.push_back(std::move(batch));
        });
        auto keyOf = [](const std::vector<std::vector<Value>>& batch) { return batch.front()[2].as<NSManagedObjectID>()->primaryKey(); };
        std::sort(batches.begin(), batches.end(), [&](const auto& lhs, const auto& rhs) { return keyOf(lhs) < keyOf(rhs); });
        std::vector<std::vector<Value>> rows;
        for (auto& batch : batches)
            std::move(batch.begin(), batch.end(), std::back_inserter(rows));
        return std::pair(rows, threads.size());
    };
    auto [rows, threads] = read();
    EXPECT_EQ(rows.size(), 17999u);
    EXPECT_TRUE(rows == context.fetchValues(values));
    EXPECT_GT(threads, std::thread::hardware_concurrency() > 1 ? 1u : 0u);

    context.performInWriteTransaction([&] {
        insert(20000, 21000);
        auto [inside, unused] = read();
        EXPECT_EQ(inside.size(), 18999u);
        EXPECT_TRUE(inside == context.fetchValues(values));
    });
}
