#include "Tests/Shared/Stores/RecordStoreTests.hpp"

#include "Tests/Support/Files.hpp"
#include "Tests/Support/MainLoop.hpp"

#include "Shared/Crypto/CryptorError.hpp"
#include "Shared/Model/EntryError.hpp"
#include "Shared/Stores/EntryObject.hpp"
#include "Shared/Stores/RecordStore.Index.hpp"
#include "Shared/Stores/RecordStoreError.hpp"

#include "Platform/AuthenticationServices/ASCredentialIdentityStore.hpp"
#include "Platform/CoreData/NSManagedObjectContext.hpp"
#include "Platform/Foundation/Logger.hpp"
#include "Platform/Foundation/Progress.hpp"

#include <algorithm>
#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace Shared;
using SharedTests::addEntry;
using Filter = Entry::Filter;
using SortMethod = Settings::Items::SortMethod;
using SystemField = Entry::SystemField::ID;
using SharedTests::RecordStoreTests;

namespace {

constexpr const char* secret = "Tr0ub4dor&3-horse";

std::string fileBytes(const std::filesystem::path& path)
{
    return TestSupport::readText(path);
}

// Imports a file into an item's field, waiting for the outcome on the main loop.
RecordStore::EditingContext::AttachmentResult importFile(RecordStore::EditingContext& context, const std::filesystem::path& file,
                                                         Entry::Field::ID fieldID, const Foundation::String& entryID)
{
    std::optional<RecordStore::EditingContext::AttachmentResult> outcome;
    context.importFile(Foundation::URL::fileURLWithPath(file.string()), fieldID, entryID, Foundation::make<Foundation::Progress>(1),
                       Basalwork::ResultHandler<RecordStore::EditingContext::AttachmentResult>(
                           Foundation::DispatchQueue::main(), [&](RecordStore::EditingContext::AttachmentResult result) { outcome = result; }));
    EXPECT_TRUE(SharedTests::runMainLoopUntil([&] { return outcome.has_value(); }));
    return *outcome;
}

} // namespace

TEST_F(RecordStoreTests, KeepsItemsSealedAndReadsThemBackAfterReopening)
{
    int updates = 0;
    auto token = vault->notificationCenter->addObserver(RecordStore::recordStoreDidUpdateRecords(), store, nullptr,
                                                        [&](const Foundation::Notification&) { ++updates; });
    auto id = addEntry(*store, "Bank of Somewhere", secret, [](RecordStore::EditingContext& context, const Foundation::String& id) {
        context.setText("me@example.com", SystemField::username, id);
        context.setText("https://bank.example.com/login", SystemField::website, id);
    });
    EXPECT_EQ(updates, 1);
    vault->notificationCenter->removeObserver(token);

    store.reset();
    store = SharedTests::openRecordStore(*vault);
    auto entry = store->entry(id);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->password, secret);
    EXPECT_EQ(entry->username, "me@example.com");
    EXPECT_TRUE(store->containsEntry(id));
    EXPECT_FALSE(store->entry("no such item"));
    EXPECT_EQ(store->count(Filter::allItems()), 1);

    // Nothing of the item is readable in the store's files.
    store.reset();
    auto folder = SharedTests::storeFilePath().parent_path();
    for (const auto& file : std::filesystem::directory_iterator(folder)) {
        auto bytes = fileBytes(file.path());
        EXPECT_EQ(bytes.find(secret), std::string::npos) << file.path();
        EXPECT_EQ(bytes.find("Bank of Somewhere"), std::string::npos) << file.path();
        EXPECT_EQ(bytes.find("me@example.com"), std::string::npos) << file.path();
    }
}

TEST_F(RecordStoreTests, ALockedVaultReadsAndWritesNothing)
{
    auto id = addEntry(*store, "Mail", secret);
    auto context = store->makeEditingContext();
    vault->cryptor->lock();
    EXPECT_THROW(store->entry(id), RecordStoreError);
    EXPECT_THROW(store->entryIndices(Filter::allItems(), SortMethod::alphabetical), RecordStoreError);
    EXPECT_THROW(store->setFavorite({id}, true), RecordStoreError);
    EXPECT_THROW(store->makeEditingContext(), RecordStoreError);
    try {
        store->count(Filter::allItems());
        FAIL();
    } catch (const RecordStoreError& error) {
        EXPECT_TRUE(error.is<RecordStoreError::VaultLocked>());
        EXPECT_FALSE(error.shouldTrackInAnalytics());
    }
}

TEST_F(RecordStoreTests, AnEditSavedAfterTheStoreSetFavoriteKeepsIt)
{
    auto id = addEntry(*store, "Forum", "old");
    auto context = store->makeEditingContext();
    context->prepareForEditing(id);
    context->setText("new", SystemField::password, id);
    EXPECT_TRUE(context->hasChanges(id));

    store->setFavorite({id}, true);
    context->save();

    auto entry = store->entry(id);
    EXPECT_TRUE(entry->isFavorite);
    EXPECT_EQ(entry->password, "new");
    ASSERT_EQ(entry->passwordHistory.size(), 1u);
    EXPECT_EQ(entry->passwordHistory[0].text, "old");
    // The context now holds what was saved, the favourite included.
    EXPECT_FALSE(context->hasChanges());
    EXPECT_TRUE(context->entry(id)->isFavorite);

    // A favourite set in the context is saved with the other edits.
    context->setFavorite(false, id);
    EXPECT_TRUE(store->entry(id)->isFavorite);
    context->endEditing(true);
    EXPECT_FALSE(store->entry(id)->isFavorite);
}

TEST_F(RecordStoreTests, TypingKeepsOnlyTheValueBeforeTheEditInTheHistory)
{
    auto id = addEntry(*store, "Forum", "old", [](auto& context, const Foundation::String& entryID) {
        context.insertSectionBelow(-1, Entry::Section::Template::blank, entryID);
        context.appendField(0, Entry::Field::Category::pin, entryID);
        context.setText("1234", Entry::Field::ID {0, 0}, entryID);
    });
    auto context = store->makeEditingContext();
    for (const char* typed : {"n", "ne", "new"}) {
        context->setText(typed, SystemField::password, id);
        context->setText(Foundation::String("9") + typed, Entry::Field::ID {0, 0}, id);
    }
    auto edited = *context->entry(id);
    ASSERT_EQ(edited.passwordHistory.size(), 1u);
    EXPECT_EQ(edited.passwordHistory[0].text, "old");
    ASSERT_EQ(edited.field({0, 0}).history.size(), 1u);
    EXPECT_EQ(edited.field({0, 0}).history[0].text, "1234");

    // A field inserted above moves the typed one down: its first change there is kept as well.
    context->insertFieldAbove({0, 0}, Entry::Field::Category::text, id);
    context->setText("9newer", Entry::Field::ID {0, 1}, id);
    EXPECT_EQ(context->entry(id)->field({0, 1}).history.size(), 2u);

    // Once saved, the saved value is the one the next edit replaces.
    context->save();
    context->setText("newe", SystemField::password, id);
    context->setText("newer", SystemField::password, id);
    auto history = context->entry(id)->passwordHistory;
    ASSERT_EQ(history.size(), 2u);
    EXPECT_EQ(history[0].text, "new");
    EXPECT_EQ(history[1].text, "old");
}

TEST_F(RecordStoreTests, SectionAndFieldLimitsThrowEntryErrorAndChangeNothing)
{
    auto context = store->makeEditingContext();
    auto id = context->insert("limits", store->vaultIDForNewEntries(), Entry::Category::secureNote, false);
    for (std::int64_t i = 0; i < Entry::maximumSectionCount; ++i)
        context->insertSectionBelow(i - 1, Entry::Section::Template::blank, id);
    auto full = *context->entry(id);
    try {
        context->insertSectionAbove(0, Entry::Section::Template::blank, id);
        FAIL();
    } catch (const EntryError& error) {
        EXPECT_TRUE(error.is<EntryError::SectionLimitReached>());
        EXPECT_EQ(error.code(), 0);
    }
    EXPECT_EQ(*context->entry(id), full);

    for (std::int64_t i = 0; context->entry(id)->fieldCount() < Entry::maximumFieldCount; ++i)
        context->appendField(i % Entry::maximumSectionCount, Entry::Field::Category::text, id);
    try {
        context->insertFieldBelow({0, 0}, Entry::Field::Category::text, id);
        FAIL();
    } catch (const EntryError& error) {
        EXPECT_TRUE(error.is<EntryError::FieldLimitReached>());
        EXPECT_EQ(error.code(), 2);
    }
    EXPECT_EQ(context->entry(id)->fieldCount(), Entry::maximumFieldCount);
    EXPECT_THROW(context->deleteField({Entry::maximumSectionCount, 0}, id), EntryError);
    EXPECT_THROW(context->setText("x", SystemField::title, "not edited here"), RecordStoreError);
}

TEST_F(RecordStoreTests, EditingMovesRestoresAndAttachesFiles)
{
    auto source = SharedTests::temporaryFolder("attachments") / "contract.pdf";
    TestSupport::writeText(source, "contract body");
    auto context = store->makeEditingContext();
    auto id = context->insert("edited", store->vaultIDForNewEntries(), Entry::Category::login, false);
    auto section = context->insertSectionAbove(0, Entry::Section::Template::blank, id);
    auto first = context->appendField(section, Entry::Field::Category::pin, id);
    auto second = context->insertFieldBelow(first, Entry::Field::Category::attachment, id);
    EXPECT_EQ(second.index, first.index + 1);
    context->setText("1111", first, id);
    // A saved value goes into the history when it is replaced.
    context->save();
    context->setText("2222", first, id);
    auto previous = context->entry(id)->field(first).history.front().id;
    context->restorePreviousFieldValue(first, previous, id);
    EXPECT_EQ(context->entry(id)->field(first).text, "1111");
    context->moveField(second, {section, 0}, id);
    EXPECT_EQ(context->entry(id)->field({section, first.index + 1}).text, "1111");

    auto attachment = importFile(*context, source, {section, 0}, id).get();
    EXPECT_EQ(attachment.filename, "contract.pdf");
    EXPECT_EQ(context->attachment(id, {section, 0}), attachment);
    EXPECT_TRUE(context->containsData(attachment.id));
    context->save();
    EXPECT_EQ(store->attachment(id, {section, 0}), attachment);
    EXPECT_TRUE(store->entryIndices({id}).front().hasAttachments) << "the list marks the item";

    // Clearing the field and saving removes the attachment with its file.
    context->clearAttachment({section, 0}, id);
    context->save();
    EXPECT_FALSE(store->attachment(id, {section, 0}));
    EXPECT_FALSE(store->entryIndices({id}).front().hasAttachments);
    EXPECT_FALSE(vault->attachmentDataStore->containsData(attachment.id));

    // A context dropped unsaved takes its imports with it.
    auto dropped = importFile(*context, source, {section, 0}, id).get().id;
    EXPECT_TRUE(vault->attachmentDataStore->containsData(dropped));
    context.reset();
    EXPECT_FALSE(vault->attachmentDataStore->containsData(dropped));
}

TEST_F(RecordStoreTests, ADuplicateGetsNewIdentifiers)
{
    auto id = addEntry(*store, "Server", "one");
    auto edit = store->makeEditingContext();
    edit->setText("two", SystemField::password, id);
    edit->save();
    store->setFavorite({id}, true);

    auto result = store->duplicate({id, "gone"});
    ASSERT_TRUE(result.successValue());
    ASSERT_EQ(result.successValue()->size(), 1u);
    auto copyID = result.successValue()->front();
    EXPECT_NE(copyID, id);
    auto original = *store->entry(id);
    auto copy = *store->entry(copyID);
    EXPECT_EQ(copy.title, original.title);
    EXPECT_EQ(copy.password, "two");
    EXPECT_FALSE(copy.isFavorite);
    EXPECT_NE(copy.passwordHistory.at(0).id, original.passwordHistory.at(0).id);
    EXPECT_EQ(store->count(Filter::allItems()), 2);

    EXPECT_TRUE(store->duplicate({"gone"}).isUserDidCancel());
    std::optional<RecordStore::DuplicateResult> later;
    store->duplicate({id}, Basalwork::ResultHandler<RecordStore::DuplicateResult>(Foundation::DispatchQueue::main(),
                                                                                   [&](RecordStore::DuplicateResult value) { later = value; }));
    ASSERT_TRUE(SharedTests::runMainLoopUntil([&] { return later.has_value(); }));
    EXPECT_TRUE(later->successValue());
}

TEST_F(RecordStoreTests, ADuplicateOwnsCopiesOfTheAttachments)
{
    auto source = SharedTests::temporaryFolder("attachments") / "scan.png";
    TestSupport::writeText(source, "pixels");
    auto context = store->makeEditingContext();
    auto id = context->insert("Passport", store->vaultIDForNewEntries(), Entry::Category::passport, false);
    auto section = context->insertSectionAbove(0, Entry::Section::Template::blank, id);
    auto field = context->appendField(section, Entry::Field::Category::attachment, id);
    auto imported = importFile(*context, source, field, id).get();
    context->save();

    auto copyID = store->duplicate({id}).successValue()->front();
    auto copied = store->attachment(copyID, field);
    ASSERT_TRUE(copied);
    EXPECT_NE(copied->id, imported.id);
    EXPECT_EQ(copied->entryID, copyID);
    store->permanentlyDelete({id});
    auto decrypted = vault->attachmentDataStore->decryptToTemporaryFile(copied->id);
    EXPECT_EQ(TestSupport::readText(decrypted.path().utf8()), "pixels");
    vault->attachmentDataStore->performHousekeeping();
}

TEST_F(RecordStoreTests, SearchFindsByEachSearchableFieldsSetting)
{
    using Fields = Settings::Items::SearchableFields;
    addEntry(*store, "Alpha Title", secret, [](RecordStore::EditingContext& context, const Foundation::String& id) {
        context.setText("work, Zulu", SystemField::tags, id);
        context.setText("alpha.user", SystemField::username, id);
        context.setText("https://www.alpha-site.example/login", SystemField::website, id);
        context.setText("remember the ferret", SystemField::notes, id);
        context.setSubtitleSource(Entry::SubtitleSource::systemField(SystemField::notes), id);
    });
    addEntry(*store, "Beta", "", [](RecordStore::EditingContext& context, const Foundation::String& id) {
        context.setText("beta.user", SystemField::username, id);
    });

    struct Case {
        Fields fields;
        std::vector<const char*> found;
        std::vector<const char*> missed;
    };
    // The subtitle of Alpha is its notes, chosen above; Beta's is its username.
    const std::vector<Case> cases {
        {Fields::titleTags, {"alpha", "ZULU", "title work"}, {"ferret", "alpha.user", "beta.user", "site"}},
        {Fields::titleSubtitleTags, {"ferret", "beta.user"}, {"alpha.user", "site"}},
        {Fields::titleSubtitleUsernameTags, {"alpha.user"}, {"site"}},
        {Fields::titleSubtitleUsernameWebsitesTags, {"alpha-site"}, {}},
        {Fields::titleSubtitleUsernameTagsNotes, {"remember ferret", "alpha-site"}, {"alpha zebra"}},
    };
    for (const auto& testCase : cases) {
        vault->preferenceStore->setSearchableFields(testCase.fields);
        store->refreshSearchData();
        for (const char* text : testCase.found)
            EXPECT_FALSE(search(text).empty()) << text << " with setting " << static_cast<int>(testCase.fields);
        for (const char* text : testCase.missed)
            EXPECT_TRUE(search(text).empty()) << text << " with setting " << static_cast<int>(testCase.fields);
    }
    // No secret is ever searched, and an empty search finds everything.
    EXPECT_TRUE(search("horse").empty());
    EXPECT_EQ(search("  ").size(), 2u);
}

TEST_F(RecordStoreTests, FiltersSortsCountsAndMatchesDomains)
{
    auto mail = addEntry(*store, "mail", "", [](RecordStore::EditingContext& context, const Foundation::String& id) {
        context.setText("https://mail.example.com", SystemField::website, id);
        context.setText("Work", SystemField::tags, id);
    });
    TestSupport::advanceClock(60);
    auto bank = addEntry(*store, "Bank 10", "", [](RecordStore::EditingContext& context, const Foundation::String& id) {
        context.setCategory(Entry::Category::bankAccount, id);
        context.stampServiceIdentifiers({Entry::ServiceIdentifier {"bank.example.org", std::nullopt}}, id);
    });
    TestSupport::advanceClock(60);
    auto bank2 = addEntry(*store, "Bank 9", "");
    TestSupport::advanceClock(60);
    store->setFavorite({mail}, true);

    EXPECT_EQ(titles(store->entryIndices(Filter::allItems(), SortMethod::alphabetical)), (std::vector<Foundation::String> {"Bank 9", "Bank 10", "mail"}));
    EXPECT_EQ(titles(store->entryIndices(Filter::allItems(), SortMethod::alphabeticalDesc)), (std::vector<Foundation::String> {"mail", "Bank 10", "Bank 9"}));
    EXPECT_EQ(titles(store->entryIndices(Filter::allItems(), SortMethod::createdAtDesc)), (std::vector<Foundation::String> {"Bank 9", "Bank 10", "mail"}));
    EXPECT_EQ(titles(store->entryIndices(Filter::allItems(), SortMethod::modifiedAtDesc)).front(), "mail");
    EXPECT_EQ(store->count(Filter::favorites()), 1);
    EXPECT_EQ(store->count(Filter::category(Entry::Category::bankAccount)), 1);
    EXPECT_EQ(store->tagsInUse(), (std::vector<Foundation::String> {"Work"}));

    store->setArchived({bank2}, true);
    store->setTrashed({bank}, true);
    EXPECT_EQ(titles(store->entryIndices(Filter::allItems(), SortMethod::alphabetical)), (std::vector<Foundation::String> {"mail"}));
    EXPECT_EQ(store->count(Filter::archived()), 1);
    EXPECT_EQ(store->count(Filter::trash()), 1);
    EXPECT_TRUE(store->entry(bank)->isTrashed());
    store->setTrashed({bank}, false);
    store->setCategory({bank}, Entry::Category::other);
    EXPECT_EQ(store->count(Filter::category(Entry::Category::other)), 1);

    // AutoFill: the host itself, a subdomain of it, or a parent domain of it.
    EXPECT_TRUE(store->hasEntries(Foundation::String("mail.example.com")));
    EXPECT_TRUE(store->hasEntries(Foundation::String("login.mail.example.com")));
    EXPECT_TRUE(store->hasEntries(Foundation::String("https://bank.example.org/signin")));
    EXPECT_FALSE(store->hasEntries(Foundation::String("example.net")));
    EXPECT_EQ(titles(store->entryIndices(Filter::allItems(), SortMethod::alphabetical, std::nullopt, Foundation::String("bank.example.org"))),
              (std::vector<Foundation::String> {"Bank 10"}));

    store->removeTags({" work "});
    EXPECT_TRUE(store->tagsInUse().empty());
    store->permanentlyDelete({mail});
    EXPECT_FALSE(store->entry(mail));
    EXPECT_EQ(store->count(Filter::allItems()), 1);
}

TEST_F(RecordStoreTests, AutoFillOffersAnItemOnlyWithinTheSiteItWasSavedFor)
{
    auto website = [&](const char* title, const char* url) {
        addEntry(*store, title, "", [url](RecordStore::EditingContext& context, const Foundation::String& id) {
            context.setText(url, SystemField::website, id);
        });
    };
    website("Pages", "https://github.io/");
    website("Alice", "alice.github.io");
    website("Shop", "https://www.shop.co.uk/cart");
    website("Country", "co.uk");
    website("Router", "http://192.168.1.1/");
    website("Bank", "https://bank.example@evil.com/");
    website("Tricked", "https://a@b@evil.org/");
    website("Spelled", "https://%62ank.example");
    auto offered = [&](const char* domain) {
        return titles(store->entryIndices(Filter::allItems(), SortMethod::alphabetical, std::nullopt, Foundation::String(domain)));
    };
    using Titles = std::vector<Foundation::String>;
    // A public suffix is the parent of sites of different owners, so none of them is its child.
    EXPECT_EQ(offered("alice.github.io"), Titles {"Alice"});
    EXPECT_EQ(offered("bob.github.io"), Titles {});
    EXPECT_EQ(offered("github.io"), Titles {"Pages"});
    EXPECT_EQ(offered("login.shop.co.uk"), Titles {"Shop"});
    EXPECT_EQ(offered("other.co.uk"), Titles {});
    EXPECT_EQ(offered("co.uk"), Titles {"Country"});
    // Parent and child within one registered name still match both ways.
    EXPECT_EQ(offered("www.alice.github.io"), Titles {"Alice"});
    EXPECT_EQ(offered("shop.co.uk"), Titles {"Shop"});
    // Addresses are whole: no part of one is another's parent.
    EXPECT_EQ(offered("10.192.168.1.1"), Titles {});
    EXPECT_EQ(offered("http://192.168.1.1:8080/"), Titles {"Router"});
    // The host is what the URL reaches, read one way or not at all.
    EXPECT_EQ(offered("evil.com"), Titles {"Bank"});
    EXPECT_EQ(offered("https://a@b@evil.org/"), Titles {});
    EXPECT_EQ(offered("evil.org"), Titles {});
    EXPECT_EQ(offered("https://evil.com%2F.bank.example/"), Titles {});
    EXPECT_EQ(offered("https://evil.org:x/"), Titles {});
    EXPECT_EQ(offered("http://[::1"), Titles {});
    EXPECT_EQ(offered("bank.example"), Titles {"Spelled"});
}

TEST_F(RecordStoreTests, AFlippedByteIsRefusedNeverRead)
{
    auto damaged = addEntry(*store, "Damaged", secret);
    auto intact = addEntry(*store, "Intact", "fine");
    auto sealed = store->managedObjectContext()->performAndWait([&] {
        auto objects = store->managedObjectContext()->fetch(SyncedObject::existing<EntryObject>({damaged}));
        return std::pair(*objects.front()->sealedEntry(), *objects.front()->sealedIndex());
    });
    store.reset();

    // Flip one byte inside the sealed item, in the store file itself.
    auto path = SharedTests::storeFilePath();
    auto bytes = fileBytes(path);
    auto offset = bytes.find(sealed.first.view().substr(0, 48));
    ASSERT_NE(offset, std::string::npos);
    bytes[offset + 40] ^= 0x01;
    TestSupport::writeText(path, bytes);

    store = SharedTests::openRecordStore(*vault);
    EXPECT_THROW(store->entry(damaged), CryptorError);
    EXPECT_EQ(store->entry(intact)->password, "fine");
    EXPECT_EQ(store->count(Filter::allItems()), 2);
    EXPECT_THROW(store->setFavorite({damaged}, true), CryptorError);

    // A damaged summary is made again from the item; both damaged, the item stays out of the list.
    store.reset();
    bytes = fileBytes(path);
    offset = bytes.find(sealed.second.view().substr(0, 48));
    ASSERT_NE(offset, std::string::npos);
    bytes[offset + 30] ^= 0x80;
    TestSupport::writeText(path, bytes);
    store = SharedTests::openRecordStore(*vault);
    EXPECT_EQ(titles(store->entryIndices(Filter::allItems(), SortMethod::alphabetical)), (std::vector<Foundation::String> {"Intact"}));
}

TEST_F(RecordStoreTests, ASummaryOfTheEarlierFormatIsMadeAgainAndStoredOnce)
{
    auto id = addEntry(*store, "Written before the attachment mark", secret);
    auto key = vault->cryptor->itemSecretsKey();
    auto indexContext = Foundation::Data::fromString(id.utf8() + "/index");
    auto context = store->managedObjectContext();
    auto object = [&] { return context->fetch(SyncedObject::existing<EntryObject>({id})).front(); };
    auto stored = [&] { return context->performAndWait([&] { return std::pair(*object()->sealedIndex(), object()->modifiedAt()); }); };
    // The summary as an earlier build stored it: format 1, without the attachment mark before the dates.
    context->performAndWait([&] {
        auto bytes = RecordStore::Index::packed(*store->entryIndices({id}).begin()).byteVector();
        bytes[0] = 1;
        bytes.erase(bytes.end() - 17);
        object()->setSealedIndex(Cryptor::seal(Foundation::Data(bytes), key, indexContext));
        context->save();
    });
    auto [oldSummary, modifiedAt] = stored();

    store = SharedTests::openRecordStore(*vault);
    EXPECT_EQ(titles(store->entryIndices(Filter::allItems(), SortMethod::alphabetical)),
              (std::vector<Foundation::String> {"Written before the attachment mark"}));
    auto [newSummary, modifiedAfter] = stored();
    EXPECT_NE(newSummary, oldSummary) << "made again and stored";
    EXPECT_EQ(RecordStore::Index::unpacked(Cryptor::open(newSummary, key, indexContext)).title, "Written before the attachment mark");
    EXPECT_EQ(modifiedAfter, modifiedAt) << "nothing waits to be pushed for a summary";

    // The next unlock opens it like the others and writes nothing.
    store = SharedTests::openRecordStore(*vault);
    EXPECT_EQ(store->count(Filter::allItems()), 1);
    EXPECT_EQ(stored().first, newSummary);
}

TEST_F(RecordStoreTests, BadStoresGiveClearErrorsAndLoseNothing)
{
    addEntry(*store, "Kept", secret);
    store.reset();
    auto path = SharedTests::storeFilePath();
    auto original = fileBytes(path);

    for (const auto& bad : {original.substr(0, original.size() / 3), std::string("not a store at all, just text"), std::string()}) {
        TestSupport::writeText(path, bad);
        EXPECT_THROW(SharedTests::openRecordStore(*vault), Foundation::Error);
        EXPECT_EQ(fileBytes(path), bad);
    }
    TestSupport::writeText(path, original);
    store = SharedTests::openRecordStore(*vault);
    EXPECT_EQ(store->count(Filter::allItems()), 1);

    // Another writer holds the store: the change fails, and what is stored stays.
    auto id = store->entryIndices(Filter::allItems(), SortMethod::alphabetical).front().entryID;
    store.reset();
    store = SharedTests::openRecordStore(*vault, SharedTests::productionStoreType(), 0);
    store->count(Filter::allItems());
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    EXPECT_THROW(store->setFavorite({id}, true), Foundation::Error);
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    EXPECT_FALSE(store->entry(id)->isFavorite);
    store->setFavorite({id}, true);
    EXPECT_TRUE(store->entry(id)->isFavorite);

    // Without the application group's folder there is no store.
    store.reset();
    auto elsewhere = RecordStore::StoreType::onDisk(Basalwork::File::Location::appGroup("group.not.ours", std::nullopt), "recordStore");
    EXPECT_THROW(SharedTests::openRecordStore(*vault, elsewhere), Foundation::Error);
}

TEST_F(RecordStoreTests, NoSecretReachesTheLogAnErrorOrAFile)
{
    std::vector<std::string> logged;
    Foundation::Logger::setCaptureSink([&](const Foundation::LogRecord& record) { logged.push_back(record.unredactedMessage); });
    auto id = addEntry(*store, "Vault item", secret);
    auto sealed = store->managedObjectContext()->performAndWait([&] {
        return *store->managedObjectContext()->fetch(SyncedObject::existing<EntryObject>({id})).front()->sealedEntry();
    });
    store->duplicate({id});
    bool replaced = false;
    store->replaceCredentialStore(
        Basalwork::ResultHandler<Foundation::Result<void>>(Foundation::DispatchQueue::main(), [&](Foundation::Result<void>) { replaced = true; }));
    ASSERT_TRUE(SharedTests::runMainLoopUntil([&] { return replaced; }));
    store.reset();

    auto path = SharedTests::storeFilePath();
    auto bytes = fileBytes(path);
    auto offset = bytes.find(sealed.view().substr(0, 48));
    ASSERT_NE(offset, std::string::npos);
    bytes[offset + 60] ^= 0x04;
    TestSupport::writeText(path, bytes);
    store = SharedTests::openRecordStore(*vault);
    std::vector<std::string> errors;
    store->entryIndices(Filter::allItems(), SortMethod::alphabetical);
    try {
        store->entry(id);
    } catch (const Foundation::Error& error) {
        errors.push_back(error.description());
    }
    EXPECT_FALSE(errors.empty());
    TestSupport::runMainLoopUntilIdle();

    for (const auto& text : logged)
        EXPECT_EQ(text.find(secret), std::string::npos) << text;
    for (const auto& text : errors)
        EXPECT_EQ(text.find(secret), std::string::npos) << text;
    for (const auto& root : {std::filesystem::path(Foundation::FileManager::defaultManager()->temporaryDirectory().path().utf8()),
                             SharedTests::storeFilePath().parent_path().parent_path().parent_path()}) {
        for (const auto& file : std::filesystem::recursive_directory_iterator(root)) {
            if (file.is_regular_file()) {
                EXPECT_EQ(fileBytes(file.path()).find(secret), std::string::npos) << file.path();
            }
        }
    }
}

TEST_F(RecordStoreTests, SafeForInspectionShowsOnlyMarkedItems)
{
    auto open = addEntry(*store, "Shown", "");
    auto hidden = addEntry(*store, "Hidden", secret, [](RecordStore::EditingContext& context, const Foundation::String& id) {
        context.setText("travel", SystemField::tags, id);
        context.setText("https://bank.example", SystemField::website, id);
    });
    auto context = store->makeEditingContext();
    context->setSafeForInspection(true, open);
    // The hidden item holds a file.
    auto source = SharedTests::temporaryFolder("attachments") / "statement.pdf";
    TestSupport::writeText(source, "balance");
    auto section = context->insertSectionAbove(0, Entry::Section::Template::blank, hidden);
    auto field = context->appendField(section, Entry::Field::Category::attachment, hidden);
    auto file = importFile(*context, source, field, hidden).get();
    context->save();

    EXPECT_EQ(store->safeForInspectionState(), RecordStore::SafeForInspectionState::noPassword);
    store->setSafeForInspectionPassword(Foundation::String("inspection only"));
    EXPECT_EQ(store->safeForInspectionState(), RecordStore::SafeForInspectionState::ready);
    auto key = store->vaultKey("inspection only");
    ASSERT_TRUE(key);
    EXPECT_FALSE(store->vaultKey("wrong"));

    int updates = 0;
    auto token = vault->notificationCenter->addObserver(RecordStore::recordStoreDidUpdateRecords(), store, nullptr,
                                                        [&](const Foundation::Notification&) { ++updates; });
    vault->preferenceStore->setIsSafeForInspectionModeActivated(true);
    EXPECT_EQ(updates, 1) << "the lists ask for their items again";
    vault->notificationCenter->removeObserver(token);
    EXPECT_EQ(store->safeForInspectionState(), RecordStore::SafeForInspectionState::activated);
    EXPECT_EQ(titles(store->entryIndices(Filter::allItems(), SortMethod::alphabetical)), (std::vector<Foundation::String> {"Shown"}));
    EXPECT_FALSE(store->entry(hidden));
    EXPECT_FALSE(store->containsEntry(hidden));
    EXPECT_TRUE(search("hidden").empty());
    EXPECT_EQ(store->count(Filter::allItems()), 1);
    EXPECT_TRUE(store->tagsInUse().empty());
    EXPECT_FALSE(store->hasEntries(Foundation::String("bank.example")));
    EXPECT_EQ(store->allEntries().size(), 1U);
    // Nor is its file reached by its own identifier.
    EXPECT_FALSE(store->attachment(file.id));
    EXPECT_TRUE(store->allAttachments().empty());
    EXPECT_THROW(store->decryptAttachmentToTemporaryFile(file.id), RecordStoreError);
    store->setFavorite({hidden}, true);
    vault->preferenceStore->setIsSafeForInspectionModeActivated(false);
    EXPECT_FALSE(store->entry(hidden)->isFavorite);
    EXPECT_EQ(store->attachment(file.id), file) << "out of the mode, everything is back";
    EXPECT_EQ(TestSupport::readText(store->decryptAttachmentToTemporaryFile(file.id).path().utf8()), "balance");
    vault->attachmentDataStore->performHousekeeping();

    // The inspection password opens the same vault.
    vault->cryptor->lock();
    vault->cryptor->unlock(std::move(*key));
    EXPECT_EQ(store->entry(hidden)->password, secret);
    store->setSafeForInspectionPassword(std::nullopt);
    EXPECT_EQ(store->safeForInspectionState(), RecordStore::SafeForInspectionState::noPassword);
}

TEST_F(RecordStoreTests, TheCredentialListAndAutoFillAvailabilityFollowTheStore)
{
    auto id = addEntry(*store, "Shop", secret, [](RecordStore::EditingContext& context, const Foundation::String& id) {
        context.setText("buyer", SystemField::username, id);
        context.setText("https://www.shop.example/cart", SystemField::website, id);
    });
    std::optional<Foundation::Result<void>> replaced;
    store->replaceCredentialStore(
        Basalwork::ResultHandler<Foundation::Result<void>>(Foundation::DispatchQueue::main(), [&](Foundation::Result<void> result) { replaced = result; }));
    ASSERT_TRUE(SharedTests::runMainLoopUntil([&] { return replaced.has_value(); }));
    EXPECT_TRUE(replaced->isSuccess());
    AuthenticationServices::ASCredentialIdentityStore identities(Global::App::appGroupIdentifier());
    using AuthenticationServices::ASCredentialServiceIdentifier;
    EXPECT_EQ(identities.credentialIdentities(),
              (std::vector<AuthenticationServices::ASPasswordCredentialIdentity> {
                  {ASCredentialServiceIdentifier("shop.example", ASCredentialServiceIdentifier::IdentifierType::domain), "buyer", id}}));
    EXPECT_EQ(fileBytes(identities.folderURL().path().utf8() + "/CredentialIdentities.json").find(secret), std::string::npos);

    EXPECT_EQ(store->autoFillAvailability(), RecordStore::AutoFillAvailability::disabled);
    int updates = 0;
    auto token = vault->notificationCenter->addObserver(RecordStore::recordStoreDidUpdateAutoFillAvailability(), store, nullptr,
                                                        [&](const Foundation::Notification&) { ++updates; });
    TestSupport::writeText(identities.folderURL().path().utf8() + "/State.json", R"({"isEnabled": true})");
    vault->notificationCenter->post(Foundation::Notification::Name("UIApplicationDidBecomeActiveNotification"));
    TestSupport::runMainLoopUntilIdle();
    EXPECT_EQ(store->autoFillAvailability(), RecordStore::AutoFillAvailability::enabled);
    EXPECT_EQ(updates, 1);
    vault->notificationCenter->removeObserver(token);
}

// Every sync's end asks for the credential list; it is made again only when the items changed since it
// was last made, and never while the vault is locked.
TEST_F(RecordStoreTests, TheCredentialListIsMadeAgainOnlyForChangedItems)
{
    addEntry(*store, "Shop", secret, [](RecordStore::EditingContext& context, const Foundation::String& id) {
        context.setText("https://shop.example", SystemField::website, id);
    });
    AuthenticationServices::ASCredentialIdentityStore identities(Global::App::appGroupIdentifier());
    auto file = identities.folderURL().path().utf8() + "/CredentialIdentities.json";
    auto update = [&] {
        std::optional<Foundation::Result<void>> updated;
        store->updateCredentialStore(
            Basalwork::ResultHandler<Foundation::Result<void>>(Foundation::DispatchQueue::main(), [&](Foundation::Result<void> result) { updated = result; }));
        EXPECT_TRUE(SharedTests::runMainLoopUntil([&] { return updated.has_value(); }));
        EXPECT_TRUE(updated && updated->isSuccess());
        bool written = std::filesystem::exists(file);
        std::filesystem::remove(file);
        return written;
    };
    EXPECT_TRUE(update()) << "the first";
    EXPECT_FALSE(update()) << "nothing changed";
    addEntry(*store, "Bank", secret, [](RecordStore::EditingContext& context, const Foundation::String& id) {
        context.setText("https://bank.example", SystemField::website, id);
    });
    EXPECT_TRUE(update()) << "an item was added";
    EXPECT_FALSE(update());

    std::vector<std::string> errors;
    Foundation::Logger::setCaptureSink([&](const Foundation::LogRecord& record) {
        if (record.type == Foundation::OSLogType::error)
            errors.push_back(record.unredactedMessage);
    });
    vault->cryptor->lock();
    EXPECT_FALSE(update()) << "locked";
    EXPECT_EQ(errors, std::vector<std::string> {});
    vault->cryptor->unlock(Cryptor::Key::random());
    EXPECT_TRUE(update()) << "opened anew";
}

namespace {

// A sync's end runs on the context's queue; what it posts for the main queue follows.
void finishSync(RecordStore& store)
{
    store.didSynchronize();
    store.managedObjectContext()->performAndWait([] { });
    TestSupport::runMainLoopUntilIdle();
}

} // namespace

TEST_F(RecordStoreTests, ASyncReloadsTheListOnlyWhenAnotherProcessSaved)
{
    for (int i = 0; i < 20; ++i)
        addEntry(*store, Foundation::String("Item " + std::to_string(i)));
    EXPECT_EQ(store->count(Filter::allItems()), 20);
    int updates = 0;
    auto token = vault->notificationCenter->addObserver(RecordStore::recordStoreDidUpdateRecords(), store, nullptr,
                                                        [&](const Foundation::Notification&) { ++updates; });
    // Status changes that brought nothing: the index stands and the list is not read again.
    finishSync(*store);
    finishSync(*store);
    EXPECT_EQ(updates, 0);

    // A change of this process reaches the index as it is saved, not at the next sync.
    addEntry(*store, "Made here");
    EXPECT_EQ(updates, 1);
    finishSync(*store);
    EXPECT_EQ(updates, 1);

    // Another process (its own connection to the file) saved: the next sync takes it in, once.
    auto other = SharedTests::openRecordStore(*vault);
    addEntry(*other, "Made elsewhere");
    other.reset();
    finishSync(*store);
    EXPECT_EQ(updates, 2);
    EXPECT_EQ(search("elsewhere"), std::vector<Foundation::String> {"Made elsewhere"});
    finishSync(*store);
    EXPECT_EQ(updates, 2);
    vault->notificationCenter->removeObserver(token);
}

TEST_F(RecordStoreTests, AServiceIdentifierStampArrivesLaterOnTheQueue)
{
    auto id = addEntry(*store, "Site", "");
    EXPECT_THROW(store->stampServiceIdentifiers("missing", {}, Basalwork::ResultHandler<Foundation::Result<void>>(Foundation::DispatchQueue::main(), {})),
                 RecordStoreError);
    std::optional<Foundation::Result<void>> stamped;
    auto usedAt = Foundation::Date::now();
    store->stampServiceIdentifiers(id, {Entry::ServiceIdentifier {"site.example", usedAt}},
                                   Basalwork::ResultHandler<Foundation::Result<void>>(Foundation::DispatchQueue::main(),
                                                                                      [&](Foundation::Result<void> result) { stamped = result; }));
    EXPECT_FALSE(stamped);
    ASSERT_TRUE(SharedTests::runMainLoopUntil([&] { return stamped.has_value(); }));
    EXPECT_TRUE(stamped->isSuccess());
    auto identifiers = store->entry(id)->serviceIdentifiers;
    ASSERT_EQ(identifiers.size(), 1u);
    EXPECT_EQ(identifiers[0].lastUsedAt, usedAt);
}

TEST_F(RecordStoreTests, SharedLinksMakeTheItemAnew)
{
    auto id = addEntry(*store, "Wi-Fi & more", "pa ss/word?", [](RecordStore::EditingContext& context, const Foundation::String& id) {
        context.setText("café", SystemField::notes, id);
    });
    auto items = store->shareItems(id);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_TRUE(items[0].contains("Wi-Fi & more"));
    auto context = store->makeEditingContext();
    auto copy = context->insert("from-link", store->vaultIDForNewEntries(), *Foundation::URL::string(items[1]), false);
    EXPECT_EQ(context->entry(copy)->password, "pa ss/word?");
    EXPECT_EQ(context->entry(copy)->notes, "café");
    EXPECT_THROW(context->insert("bad", store->vaultIDForNewEntries(), *Foundation::URL::string("corvendale://share?title=x"), false), Foundation::Error);
}

// A vault made in one process is opened, unlocked and read in a second: this process starts itself again
// with only the test below, pointed at this home.
TEST_F(RecordStoreTests, ASecondProcessOpensUnlocksAndReadsTheVault)
{
    store.reset();
    vault = std::make_unique<SharedTests::Vault>();
    vault->authenticationStore->createMasterPassword("correct horse battery");
    store = SharedTests::openRecordStore(*vault);
    auto id = addEntry(*store, "From the first process", secret);
    store.reset();
    auto command = std::string("CORVENDALE_TEST_SHARED_DATA_HOME='") + std::getenv("XDG_DATA_HOME") + "' CORVENDALE_TEST_ENTRY_ID='" + id.utf8()
        + "' /proc/" + std::to_string(::getpid()) + "/exe --gtest_filter=RecordStoreSecondProcess.ReadsTheVaultOfTheFirst > /dev/null 2>&1";
    int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(RecordStoreSecondProcess, ReadsTheVaultOfTheFirst)
{
    const char* home = std::getenv("CORVENDALE_TEST_SHARED_DATA_HOME");
    const char* entryID = std::getenv("CORVENDALE_TEST_ENTRY_ID");
    if (!home || !entryID)
        GTEST_SKIP() << "runs only inside the two-process test";
    ::setenv("XDG_DATA_HOME", home, 1);
    SharedTests::Vault vault;
    auto store = SharedTests::openRecordStore(vault);
    EXPECT_THROW(store->entry(entryID), RecordStoreError);
    vault.authenticationStore->unlock("correct horse battery");
    ASSERT_TRUE(vault.authenticationStore->authenticationState().isAuthenticated());
    auto entry = store->entry(entryID);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->title, "From the first process");
    EXPECT_EQ(entry->password, secret);
}

TEST_F(RecordStoreTests, LaunchHousekeepingRemovesOnlyFilesNoRecordNamesAndOnlyWhileNoOtherProcessHasTheStore)
{
    auto source = SharedTests::temporaryFolder("attachments") / "lease.pdf";
    TestSupport::writeText(source, "lease body");
    auto context = store->makeEditingContext();
    auto id = context->insert("With a file", store->vaultIDForNewEntries(), Entry::Category::login, false);
    auto section = context->insertSectionAbove(0, Entry::Section::Template::blank, id);
    auto field = context->appendField(section, Entry::Field::Category::attachment, id);
    auto named = importFile(*context, source, field, id).get().id;
    context->save();

    // A save in another process was killed after writing its file: no record names it.
    auto attachmentLocation = Basalwork::File::Location::appGroup(Global::App::appGroupIdentifier(),
                                                                  Foundation::String("Library/Application Support/AttachmentStore"));
    auto otherProcess = Foundation::make<AttachmentDataStore>(attachmentLocation, Foundation::FileManager::defaultManager(), vault->cryptor);
    auto orphan = otherProcess->importFile(Foundation::URL::fileURLWithPath(source.string()), id).id;
    // An import of this process that waits for its save.
    auto unsaved = vault->attachmentDataStore->importFile(Foundation::URL::fileURLWithPath(source.string()), id).id;

    // While the other process has the store open, its file may be an import about to be saved.
    store->removeUnnamedAttachmentFiles();
    EXPECT_TRUE(vault->attachmentDataStore->containsData(orphan));
    otherProcess.reset();

    store->removeUnnamedAttachmentFiles();
    EXPECT_FALSE(vault->attachmentDataStore->containsData(orphan));
    EXPECT_TRUE(vault->attachmentDataStore->containsData(named));
    EXPECT_TRUE(vault->attachmentDataStore->containsData(unsaved));
    EXPECT_EQ(store->attachment(named)->filename, "lease.pdf");
}

TEST_F(RecordStoreTests, AnotherProcessesUseOfAnItemShowsInTheListOnceItHearsOfIt)
{
    auto id = addEntry(*store, "Forum", secret);
    auto extension = SharedTests::openRecordStore(*vault);
    bool stamped = false;
    auto lastUse = Foundation::Date::now();
    extension->stampServiceIdentifiers(id, {Entry::ServiceIdentifier::fromIdentifier("forum.example", false, lastUse)},
                                       Basalwork::ResultHandler<Foundation::Result<void>>(Foundation::DispatchQueue::main(),
                                                                                          [&](Foundation::Result<void>) { stamped = true; }));
    ASSERT_TRUE(SharedTests::runMainLoopUntil([&] { return stamped; }));

    int updates = 0;
    auto token = vault->notificationCenter->addObserver(RecordStore::recordStoreDidUpdateRecords(), store, nullptr,
                                                        [&](const Foundation::Notification&) { ++updates; });
    store->didSynchronize();
    ASSERT_TRUE(SharedTests::runMainLoopUntil([&] { return updates > 0; }));
    auto indices = store->entryIndices(Filter::allItems(), SortMethod::alphabetical);
    ASSERT_EQ(indices.size(), 1U);
    EXPECT_EQ(indices.front().lastUsedAt, lastUse);
    vault->notificationCenter->removeObserver(token);
}

TEST_F(RecordStoreTests, ClearingTheLocalDataLeavesNothingOfTheItemsInTheStoreOrItsLog)
{
    const std::string title = "Kilimanjaro expedition";
    auto id = addEntry(*store, Foundation::String(title), secret);
    for (int i = 0; i < 20; ++i)
        addEntry(*store, Foundation::String("Filler " + std::to_string(i)), secret);
    auto sealed = store->managedObjectContext()->performAndWait([&] {
        return *store->managedObjectContext()->fetch(SyncedObject::existing<EntryObject>({id})).front()->sealedEntry();
    });
    const std::string sealedPart(sealed.view().substr(8, 48));
    auto path = SharedTests::storeFilePath();
    auto wal = std::filesystem::path(path.string() + "-wal");
    auto holds = [&](const std::filesystem::path& file, const std::string& part) {
        return std::filesystem::exists(file) && fileBytes(file).find(part) != std::string::npos;
    };
    ASSERT_TRUE(holds(path, sealedPart) || holds(wal, sealedPart)) << "the sealed item is in the files to begin with";

    store->deleteAllLocalRecords();
    for (const auto& file : {path, wal}) {
        EXPECT_FALSE(holds(file, sealedPart)) << file << ": a sealed value is still there";
        EXPECT_FALSE(holds(file, title)) << file;
        EXPECT_FALSE(holds(file, secret)) << file;
    }
    // The store goes on: empty, with its vault, and it takes new items.
    EXPECT_FALSE(store->hasEntries());
    EXPECT_EQ(store->vaultIDForNewEntries(), Foundation::String(RecordStore::defaultVaultID()));
    auto later = addEntry(*store, "After the clearing", secret);
    store.reset();
    store = SharedTests::openRecordStore(*vault);
    EXPECT_EQ(store->entry(later)->title, "After the clearing");
}
