#include "Shared/Model/Entry.hpp"
#include "Shared/Model/EntryError.hpp"
#include "Shared/Model/EntryIndex.hpp"
#include "Shared/Model/TOTP.hpp"

#include "Basalwork/Base/JSONCoder.hpp"

#include <gtest/gtest.h>

using namespace Shared;

namespace {

const Foundation::Date now(800000000);

} // namespace

TEST(EntryTests, CaseOrdersAreTheOnesScreensIndex)
{
    std::vector<std::string> raw;
    for (auto category : allEntryFieldCategories())
        raw.push_back(Foundation::rawValue(category).utf8());
    EXPECT_EQ(raw, (std::vector<std::string> {"text", "multilineText", "password", "oneTimePassword", "pin", "creditCardNumber", "phone",
                                              "address", "email", "url", "attachment"}));
    EXPECT_EQ(Foundation::rawValue(static_cast<Entry::SystemField::ID>(4)), "totpSecretKey");
    EXPECT_EQ(Entry::Filter::allItems().index(), 3);
    EXPECT_TRUE(isLoginCategory(allEntryCategories()[1]));
    EXPECT_EQ(Entry::CategoryGroup::titleText(Entry::CategoryGroup::allCases()[5]), "Identification");
}

TEST(EntryTests, SectionAndFieldLimitsThrowAndChangeNothing)
{
    auto entry = Entry::make(Entry::Category::secureNote, now);
    for (std::int64_t i = 0; i < Entry::maximumSectionCount; ++i)
        entry.insertSection(i, Entry::Section::Template::blank);
    auto before = entry;
    try {
        entry.insertSection(0, Entry::Section::Template::blank);
        ADD_FAILURE();
    } catch (const EntryError& error) {
        EXPECT_EQ(error.code(), 0);
        EXPECT_FALSE(error.shouldTrackInAnalytics());
    }
    EXPECT_EQ(entry, before);

    while (entry.fieldCount() < Entry::maximumFieldCount)
        entry.appendField(entry.fieldCount() % Entry::maximumSectionCount, Entry::Field::Category::text);
    before = entry;
    try {
        entry.appendField(0, Entry::Field::Category::password);
        ADD_FAILURE();
    } catch (const EntryError& error) {
        EXPECT_EQ(error.code(), 2);
    }
    EXPECT_EQ(entry, before);
    EXPECT_THROW(entry.field({99, 0}), EntryError);
}

TEST(EntryTests, EditingKeepsHistoriesAndPositions)
{
    auto entry = Entry::make(Entry::Category::login, now);
    entry.setText("first", Entry::SystemField::ID::password, now);
    entry.setText("second", Entry::SystemField::ID::password, now + 10);
    ASSERT_EQ(entry.passwordHistory.size(), 1u);
    EXPECT_EQ(entry.previousPassword(entry.passwordHistory[0].id)->text, "first");

    auto section = entry.insertSection(0, Entry::Section::Template::contactInfo);
    auto pin = entry.insertField({section, 1}, Entry::Field::Category::pin);
    entry.setFieldText(pin, "1234", now);
    entry.setFieldText(pin, "9876", now);
    EXPECT_EQ(entry.field(pin).history.front().text, "1234");
    entry.subtitleSource = Entry::SubtitleSource::customField({section, 0});
    entry.setFieldText({section, 0}, "+1 555 0100", now);
    EXPECT_EQ(entry.subtitle(), "+1 555 0100");
    entry.moveField(pin, {section, 2});
    EXPECT_EQ(entry.field({section, 2}).text, "9876");
    entry.deleteField({section, 0});
    EXPECT_FALSE(entry.subtitleSource.has_value()) << "a deleted field no longer names the subtitle";

    entry.stampServiceIdentifiers({Entry::ServiceIdentifier::fromIdentifier("https://Example.com/login", true, now)});
    entry.stampServiceIdentifiers({Entry::ServiceIdentifier::fromIdentifier("example.com", false, now + 60)});
    ASSERT_EQ(entry.serviceIdentifiers.size(), 1u);
    EXPECT_EQ(entry.serviceIdentifiers[0].lastUsedAt, now + 60);
}

TEST(EntryTests, ADuplicateGetsNewIdentifiers)
{
    auto entry = Entry::make(Entry::Category::login, now);
    entry.isFavorite = true;
    entry.setText("old", Entry::SystemField::ID::password, now);
    entry.setText("new", Entry::SystemField::ID::password, now);
    auto copy = entry.duplicated(now + 5);
    EXPECT_NE(copy.id, entry.id);
    EXPECT_NE(copy.passwordHistory[0].id, entry.passwordHistory[0].id);
    EXPECT_EQ(copy.password, "new");
    EXPECT_FALSE(copy.isFavorite);
    EXPECT_EQ(copy.createdAt, now + 5);
}

TEST(EntryTests, JSONCodingRoundTripsAndFiltersKeepTheirForm)
{
    auto entry = Entry::make(Entry::Category::creditCard, now);
    entry.title = "Card";
    entry.tags = {"work"};
    entry.totpSecretKey = "otpauth://totp/x?secret=JBSWY3DPEHPK3PXP";
    entry.subtitleSource = Entry::SubtitleSource::systemField(Entry::SystemField::ID::username);
    entry.trashedAt = now;
    auto coder = Basalwork::JSONCoder::shared();
    EXPECT_EQ(coder->decode<Entry>(coder->encode(entry)), entry);
    EXPECT_TRUE(entry.currentOneTimePassword(now).has_value());

    for (const auto& filter : {Entry::Filter::category(Entry::Category::login), Entry::Filter::tag("work"), Entry::Filter::allItems(),
                               Entry::Filter::trash(), Entry::Filter::categoryGroup(Entry::CategoryGroup::Case::payments)})
        EXPECT_EQ(coder->decode<Entry::Filter>(coder->encode(filter)), filter);
    EXPECT_EQ(coder->encode(Entry::Filter::category(Entry::Category::login)).view(), R"({"case":"category","value":"login"})");
    EXPECT_THROW(coder->decode<Entry::Filter>(Foundation::Data::fromString(R"({"case":"everything"})")), Foundation::Error);

    EXPECT_TRUE(Entry::Filter::trash().matches(entry));
    EXPECT_FALSE(Entry::Filter::allItems().matches(entry));
}

TEST(EntryTests, SearchFollowsTheSearchableFields)
{
    auto entry = Entry::make(Entry::Category::login, now);
    entry.title = "Bank";
    entry.username = "alice";
    entry.website = "https://bank.example";
    entry.notes = "vault in basement";
    entry.tags = {"finance"};
    auto index = EntryIndex::make(entry);
    using Fields = Settings::Items::SearchableFields;
    EXPECT_TRUE(index.matches("bank fin", Fields::titleTags));
    EXPECT_FALSE(index.matches("alice", Fields::titleTags));
    EXPECT_TRUE(index.matches("alice", Fields::titleSubtitleTags)) << "a login's subtitle is its username";
    EXPECT_FALSE(index.matches("bank.example", Fields::titleSubtitleUsernameTags));
    EXPECT_TRUE(index.matches("bank.example", Fields::titleSubtitleUsernameWebsitesTags));
    EXPECT_FALSE(index.matches("basement", Fields::titleSubtitleUsernameWebsitesTags));
    EXPECT_TRUE(index.matches("BASEMENT", Fields::titleSubtitleUsernameTagsNotes));
}

TEST(EntryTests, TheCopyableTextsComeFromTheItemThenItsFirstFieldThatHasOne)
{
    auto entry = Entry::make(Entry::Category::login, now);
    EXPECT_EQ(entry.copyableUsername(), std::nullopt);
    EXPECT_EQ(entry.firstCopyablePassword(), std::nullopt);
    EXPECT_EQ(entry.firstCopyableOneTimePassword(now), std::nullopt);
    EXPECT_EQ(entry.websiteURL(), std::nullopt);

    entry.username = "  ";
    entry.totpSecretKey = "no codes from 0189!";
    entry.insertSection(0, Entry::Section::Template::blank);
    auto password = entry.appendField(0, Entry::Field::Category::password);
    entry.setFieldText(password, "field secret", now);
    auto code = entry.appendField(0, Entry::Field::Category::oneTimePassword);
    entry.setFieldText(code, "otpauth://totp/x?secret=JBSWY3DPEHPK3PXP", now);
    EXPECT_EQ(entry.copyableUsername(), std::nullopt) << "blank";
    EXPECT_EQ(entry.firstCopyablePassword(), Foundation::String("field secret"));
    EXPECT_EQ(entry.firstCopyableOneTimePassword(now), TOTP("JBSWY3DPEHPK3PXP").generate(now)) << "the item's own does not give codes";

    entry.username = "ada";
    entry.password = "own secret";
    entry.totpSecretKey = "KRSXG5A";
    entry.website = "example.com";
    EXPECT_EQ(entry.copyableUsername(), Foundation::String("ada"));
    EXPECT_EQ(entry.firstCopyablePassword(), Foundation::String("own secret"));
    EXPECT_EQ(entry.firstCopyableOneTimePassword(now), TOTP("KRSXG5A").generate(now));
    ASSERT_TRUE(entry.websiteURL());
    EXPECT_EQ(entry.websiteURL()->host(), Foundation::String("example.com"));
}
