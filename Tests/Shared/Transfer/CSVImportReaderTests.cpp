#include "Tests/Shared/Stores/VaultFixture.hpp"

#include "Tests/Support/Files.hpp"

#include "Shared/Transfer/CSVImportReader.hpp"
#include "Shared/Transfer/ImportReader.hpp"
#include "Shared/Transfer/ImporterError.hpp"

#include "Basalwork/Base/CSVParserError.hpp"

#include <gtest/gtest.h>

using namespace Shared;
using F = ImporterFileFormat;

namespace {

const std::string title = "Bank, Zürich";
const std::string username = "jörg@example.com";
const std::string password = "p\"a,ss";
const std::string website = "https://bank.example.ch/login";
const std::string notes = "line one\nline two";

// One sample per format, from the format's published column layout: a header (none for the two that
// have none) and a row with {T}itle, {U}sername, {P}assword, {W}ebsite and {N}otes in their places.
struct Sample {
    F format;
    std::string header;
    std::vector<std::string> row;
    bool hasLogin = true;
    bool hasNotes = true;
    char delimiter = ',';
};

const std::vector<Sample> samples = {
    {F::onePasswordCSV, "Title,Url,Username,Password,OTPAuth,Favorite,Archived,Tags,Notes", {"{T}", "{W}", "{U}", "{P}", "", "true", "false", "a;b", "{N}"}},
    {F::onePassword7CSV, "title,website,username,password,notes", {"{T}", "{W}", "{U}", "{P}", "{N}"}},
    {F::bitwardenCSV, "folder,favorite,type,name,notes,fields,reprompt,login_uri,login_username,login_password,login_totp",
     {"Money", "1", "login", "{T}", "{N}", "PIN: 1234", "0", "{W}", "{U}", "{P}", ""}},
    {F::bitwardenOrganizationCSV, "collections,type,name,notes,fields,reprompt,login_uri,login_username,login_password,login_totp",
     {"Team", "login", "{T}", "{N}", "", "0", "{W}", "{U}", "{P}", ""}},
    {F::braveCSV, "name,url,username,password,note", {"{T}", "{W}", "{U}", "{P}", "{N}"}},
    {F::chromeCSV, "name,url,username,password,note", {"{T}", "{W}", "{U}", "{P}", "{N}"}},
    {F::edgeCSV, "name,url,username,password,note", {"{T}", "{W}", "{U}", "{P}", "{N}"}},
    {F::operaCSV, "name,url,username,password,note", {"{T}", "{W}", "{U}", "{P}", "{N}"}},
    {F::vivaldiCSV, "name,url,username,password,note", {"{T}", "{W}", "{U}", "{P}", "{N}"}},
    {F::googlePasswordManagerCSV, "name,url,username,password,note", {"{T}", "{W}", "{U}", "{P}", "{N}"}},
    {F::dashlaneCredentialsCSV, "username,username2,username3,title,password,note,url,category,otpSecret",
     {"{U}", "", "", "{T}", "{P}", "{N}", "{W}", "Finance", ""}},
    {F::dashlaneSecureNotesCSV, "title,note", {"{T}", "{N}"}, false},
    {F::dashlanePaymentsCSV, "type,account_name,account_holder,cc_number,code,expiration_month,expiration_year,name,note",
     {"payment_card", "", "Jörg Müller", "4111111111111111", "123", "01", "2030", "{T}", "{N}"}, false},
    {F::dashlaneIDsCSV, "type,number,name,issue_date,expiration_date,place_of_issue,note", {"passport", "X123", "{T}", "", "", "Bern", "{N}"}, false},
    {F::dashlanePersonalInfoCSV, "type,title,first_name,last_name,email,phone_number,note", {"name", "{T}", "Jörg", "Müller", "", "+41 44 000", "{N}"}, false},
    {F::firefoxCSV, "\"url\",\"username\",\"password\",\"httpRealm\",\"formActionOrigin\",\"guid\",\"timeCreated\",\"timeLastUsed\",\"timePasswordChanged\"",
     {"{W}", "{U}", "{P}", "", "", "{abc-1}", "1700000000000", "1700000000000", "1700000000000"}, true, false},
    {F::keeperCSV, "", {"Money", "{T}", "{U}", "{P}", "{W}", "{N}", "", "Customer ID", "42"}},
    {F::keePassXCCSV, "\"Group\",\"Title\",\"Username\",\"Password\",\"URL\",\"Notes\",\"TOTP\",\"Icon\",\"Last Modified\",\"Created\"",
     {"Root/Money", "{T}", "{U}", "{P}", "{W}", "{N}", "", "0", "2024-01-02T03:04:05Z", "2023-01-02T03:04:05Z"}},
    {F::lastPassCSV, "url,username,password,totp,extra,name,grouping,fav", {"{W}", "{U}", "{P}", "", "{N}", "{T}", "Money", "1"}},
    {F::nordPassCSV, "name,url,username,password,note,cardholdername,cardnumber,cvc,expirydate,zipcode,folder,full_name,phone_number,email",
     {"{T}", "{W}", "{U}", "{P}", "{N}", "", "", "", "", "", "Money", "", "", ""}},
    {F::protonPassCSV, "name,url,email,username,password,note,totp,createTime,modifyTime,vault",
     {"{T}", "{W}", "second@example.com", "{U}", "{P}", "{N}", "", "1700000000", "1700000100", "Personal"}},
    {F::roboFormCSV, "Name,Url,MatchUrl,Login,Pwd,Note,Folder,RfFieldsV2", {"{T}", "{W}", "{W}", "{U}", "{P}", "{N}", "/Money", ""}},
    {F::safariCSV, "Title,URL,Username,Password,Notes,OTPAuth", {"{T}", "{W}", "{U}", "{P}", "{N}", ""}},
    {F::passwordsAppCSV, "Title,URL,Username,Password,Notes,OTPAuth", {"{T}", "{W}", "{U}", "{P}", "{N}", ""}},
    {F::keePassCSV, "\"Account\",\"Login Name\",\"Password\",\"Web Site\",\"Comments\"", {"{T}", "{U}", "{P}", "{W}", "{N}"}},
    {F::passwordSafeText,
     "Group/Title\tUsername\tPassword\tURL\tAutoType\tCreated Time\tPassword Modified Time\tLast Access Time\tPassword Expiry Date\t"
     "Password Expiry Interval\tRecord Modified Time\tPassword Policy\tHistory\tRun Command\tDCA\te-mail\tProtected Status\t"
     "Symbol list for password generation\tNotes",
     {"Money.{T}", "{U}", "{P}", "{W}", "", "2024/01/02 03:04:05", "", "", "", "", "2024/01/03 03:04:05", "", "", "", "", "", "", "", "line one\xC2\xBBline two"},
     true, true, '\t'},
    {F::splashIDCSV, "Title,Username,Password,URL,Notes", {"{T}", "{U}", "{P}", "{W}", "{N}"}},
    {F::enpassCSV, "", {"{T}", "Username", "{U}", "Password", "{P}", "URL", "{W}", "{N}"}},
    {F::customCSV, "Title,Username,Password,URL,Notes", {"{T}", "{U}", "{P}", "{W}", "{N}"}},
};

std::string filled(const std::string& cell)
{
    std::string value = cell;
    for (const auto& [token, replacement] : {std::pair {"{T}", title}, {"{U}", username}, {"{P}", password}, {"{W}", website}, {"{N}", notes}}) {
        for (auto at = value.find(token); at != std::string::npos; at = value.find(token))
            value.replace(at, std::string(token).size(), replacement);
    }
    return value;
}

std::string quoted(const std::string& value)
{
    std::string out = "\"";
    for (char c : value)
        out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

ImportReadResult readSample(const Sample& sample, const std::string& name)
{
    auto file = SharedTests::temporaryFolder("CSVSamples") / (name + ".csv");
    std::string text = sample.header.empty() ? std::string() : sample.header + "\r\n";
    for (std::size_t i = 0; i < sample.row.size(); ++i)
        text += (i ? std::string(1, sample.delimiter) : std::string()) + quoted(filled(sample.row[i]));
    text += "\r\n";
    TestSupport::writeText(file, text);
    auto work = SharedTests::temporaryFolder("CSVSamplesWork");
    return ImportReader::read(sample.format, Foundation::URL::fileURLWithPath(Foundation::String(file.string()), false), std::nullopt,
                              Foundation::URL::fileURLWithPath(Foundation::String(work.string()), true), [](double) {});
}

} // namespace

TEST(CSVImportReaderTests, EveryCSVFormatReadsItsPublishedLayout)
{
    std::vector<F> covered;
    for (const auto& sample : samples) {
        auto name = Foundation::rawValue(sample.format).utf8();
        SCOPED_TRACE(name);
        auto result = readSample(sample, name);
        ASSERT_TRUE(result.failures.empty()) << result.failures.front().utf8();
        ASSERT_EQ(result.items.size(), 1u);
        const auto& entry = result.items.front().entry;
        EXPECT_EQ(entry.title.utf8(), sample.format == F::firefoxCSV ? "bank.example.ch" : title);
        if (sample.hasLogin) {
            EXPECT_EQ(entry.username.utf8(), username);
            EXPECT_EQ(entry.password.utf8(), password);
            EXPECT_EQ(entry.website.utf8(), website);
            EXPECT_TRUE(isLoginCategory(entry.category));
        } else {
            EXPECT_FALSE(isLoginCategory(entry.category));
        }
        if (sample.hasNotes) {
            EXPECT_EQ(entry.notes.utf8(), notes);
        }
        EXPECT_FALSE(entry.id.isEmpty());
        covered.push_back(sample.format);
    }
    // Every CSV format but this program's own (its round trip is tested with the exporter) has a sample.
    for (auto format : allImporterFileFormats()) {
        if (CSVImportReader::isCSV(format) && format != F::corvendaleCSV) {
            EXPECT_NE(std::find(covered.begin(), covered.end(), format), covered.end()) << Foundation::rawValue(format).utf8();
        }
    }
}

TEST(CSVImportReaderTests, FormatsKeepWhatHasNoPlaceOfItsOwn)
{
    auto result = readSample(samples[2], "bitwardenFields");
    const auto& entry = result.items.at(0).entry;
    EXPECT_TRUE(entry.isFavorite);
    EXPECT_EQ(entry.tags, std::vector<Foundation::String>({"Money"}));
    ASSERT_EQ(entry.sections.size(), 1u);
    EXPECT_EQ(entry.sections[0].fields.at(0).title, Foundation::String("PIN"));
    EXPECT_EQ(entry.sections[0].fields.at(0).text, Foundation::String("1234"));
    EXPECT_EQ(entry.sections[0].fields.at(0).category, EntryFieldCategory::pin);

    auto keePassXC = readSample(samples[17], "keePassXCDates").items.at(0).entry;
    EXPECT_EQ(keePassXC.createdAt, Foundation::Date::fromTimeIntervalSince1970(1672628645));
    EXPECT_EQ(keePassXC.tags, std::vector<Foundation::String>({"Money"}));

    // Reading the same file again gives the same identifiers, so a second import finds them present.
    EXPECT_EQ(readSample(samples[4], "braveAgain").items.at(0).entry.id, readSample(samples[4], "braveAgain").items.at(0).entry.id);
}

TEST(CSVImportReaderTests, AMissingRequiredLabelIsNamed)
{
    Sample sample {F::chromeCSV, "name,url,username,pass", {"{T}", "{W}", "{U}", "{P}"}};
    try {
        readSample(sample, "missingLabel");
        FAIL() << "a missing label must fail";
    } catch (const Basalwork::CSVParserError& error) {
        ASSERT_TRUE(error.as<Basalwork::CSVParserError::FailedToAccessRequiredColumnLabel>());
        EXPECT_EQ(error.as<Basalwork::CSVParserError::FailedToAccessRequiredColumnLabel>()->label, Foundation::String("password"));
    }
    EXPECT_EQ(requiredCSVColumnLabels(F::chromeCSV), std::vector<Foundation::String>({"name", "url", "username", "password"}));
}

TEST(CSVImportReaderTests, BadRowsBecomeFailuresAndBadFilesFail)
{
    // A huge value and a row with too many values are left out; the good row still comes in.
    auto file = SharedTests::temporaryFolder("CSVSamples") / "bad-rows.csv";
    TestSupport::writeText(file, "name,url,username,password\nGood,https://a.example,me,pw\nHuge,https://b.example,me," + std::string(2 * 1024 * 1024, 'x')
                                     + "\nLong,https://c.example,me,pw,extra\n");
    auto work = SharedTests::temporaryFolder("CSVSamplesWork");
    auto url = [](const std::filesystem::path& path) { return Foundation::URL::fileURLWithPath(Foundation::String(path.string()), false); };
    auto result = ImportReader::read(F::chromeCSV, url(file), std::nullopt, url(work), [](double) {});
    ASSERT_EQ(result.items.size(), 1u);
    EXPECT_EQ(result.items[0].entry.title, Foundation::String("Good"));
    ASSERT_EQ(result.failures.size(), 2u);
    EXPECT_NE(result.failures[0].utf8().find("Row 3"), std::string::npos);
    EXPECT_NE(result.failures[0].utf8().find("longer than"), std::string::npos);
    EXPECT_EQ(result.failures[0].utf8().find("xxxx"), std::string::npos);

    TestSupport::writeText(file, "name,url,username,password\nBad\xff\xfe,https://a.example,me,pw\n");
    try {
        ImportReader::read(F::chromeCSV, url(file), std::nullopt, url(work), [](double) {});
        FAIL() << "text that is not UTF-8 must fail";
    } catch (const ImporterError& error) {
        EXPECT_NE(error.description().find("not UTF-8"), std::string::npos);
    }
}

TEST(CSVImportReaderTests, PartsComeInFileOrderWithTheirFailures)
{
    auto file = SharedTests::temporaryFolder("CSVSamples") / "parts.csv";
    std::string text = "name,url,username,password\n";
    for (int row = 0; row < 7; ++row)
        text += row == 3 ? "Long,https://x.example,me,pw,extra\n" : "Item " + std::to_string(row) + ",https://a.example,me,pw\n";
    TestSupport::writeText(file, text);
    auto url = Foundation::URL::fileURLWithPath(Foundation::String(file.string()), false);
    auto whole = CSVImportReader::read(F::chromeCSV, url, [](double) {});

    std::vector<std::vector<std::string>> parts;
    std::vector<Foundation::String> failures;
    auto rest = CSVImportReader::read(
        F::chromeCSV, url, [](double) {},
        [&](ImportReadResult& part) {
            auto& titles = parts.emplace_back();
            for (const auto& item : part.items)
                titles.push_back(item.entry.title.utf8());
            failures.insert(failures.end(), part.failures.begin(), part.failures.end());
        },
        2);
    EXPECT_TRUE(rest.items.empty() && rest.failures.empty());
    EXPECT_EQ(parts, (std::vector<std::vector<std::string>> {{"Item 0", "Item 1"}, {"Item 2", "Item 4"}, {"Item 5", "Item 6"}}));
    EXPECT_EQ(failures, whole.failures);
    ASSERT_EQ(whole.items.size(), 6u);
    EXPECT_EQ(whole.items[2].entry.id, ImportReader::read(F::chromeCSV, url, std::nullopt, url, [](double) {}).items[2].entry.id);
}

namespace {

ImportReadResult readText(F format, const std::string& name, const std::string& text)
{
    auto file = SharedTests::temporaryFolder("CSVSamples") / name;
    TestSupport::writeText(file, text);
    auto url = [](const std::filesystem::path& path, bool isDirectory) { return Foundation::URL::fileURLWithPath(Foundation::String(path.string()), isDirectory); };
    return ImportReader::read(format, url(file, false), std::nullopt, url(SharedTests::temporaryFolder("CSVSamplesWork"), true), [](double) {});
}

} // namespace

// Other apps write RFC 4180: their rows end at CR, LF or CR LF only, whatever else a value holds.
TEST(CSVImportReaderTests, OtherAppsRowsEndOnlyAtCROrLF)
{
    const std::string separators = "a\xE2\x80\xA8" "b\xC2\x85" "c\fd\ve\xE2\x80\xA9" "f";
    for (const auto& lineEnd : {std::string("\n"), std::string("\r\n"), std::string("\r")}) {
        auto result = readText(F::chromeCSV, "separators.csv",
                               "name,url,username,password,note" + lineEnd + "Mail,https://a.example,me,pw," + separators + lineEnd + "Next,https://b.example,me,pw,n"
                                   + lineEnd);
        ASSERT_EQ(result.items.size(), 2u);
        EXPECT_TRUE(result.failures.empty());
        EXPECT_EQ(result.items[0].entry.notes.utf8(), separators);
        EXPECT_EQ(result.items[1].entry.title, Foundation::String("Next"));
    }
    // The files without a header too.
    auto keeper = readText(F::keeperCSV, "keeper-separators.csv", "Money,Mail,me,pw,https://a.example," + separators + "\nMoney,Next,me,pw\n");
    ASSERT_EQ(keeper.items.size(), 2u);
    EXPECT_EQ(keeper.items[0].entry.notes.utf8(), separators);
}

TEST(CSVImportReaderTests, KeePassXCsTopGroupIsNoTagAndItsRecycleBinIsLeftOut)
{
    auto result = readText(F::keePassXCCSV, "keepassxc-groups.csv",
                           "\"Group\",\"Title\",\"Username\",\"Password\",\"URL\",\"Notes\"\n"
                           "\"Root\",\"Top\",\"me\",\"pw\",\"\",\"\"\n"
                           "\"Root/Money/Banks\",\"Bank\",\"me\",\"pw\",\"\",\"\"\n"
                           "\"Root/Recycle Bin\",\"Deleted\",\"me\",\"pw\",\"\",\"\"\n"
                           "\"Root/Recycle Bin/Old\",\"Deleted too\",\"me\",\"pw\",\"\",\"\"\n"
                           "\"Rootless\",\"Other\",\"me\",\"pw\",\"\",\"\"\n");
    EXPECT_TRUE(result.failures.empty());
    ASSERT_EQ(result.items.size(), 3u);
    EXPECT_TRUE(result.items[0].entry.tags.empty());
    EXPECT_EQ(result.items[1].entry.tags, std::vector<Foundation::String>({"Banks"}));
    EXPECT_EQ(result.items[2].entry.tags, std::vector<Foundation::String>({"Rootless"}));
}

// A column that names the kind of item is no value of the item: it gives the category where it can.
TEST(CSVImportReaderTests, KindColumnsGiveTheCategoryAndNoField)
{
    auto fieldTitles = [](const Entry& entry) {
        std::vector<std::string> titles;
        for (const auto& section : entry.sections) {
            for (const auto& field : section.fields)
                titles.push_back(field.title.value_or("").utf8());
        }
        return titles;
    };
    auto nordPass = readText(F::nordPassCSV, "nordpass-kinds.csv",
                             "name,url,username,password,note,cardholdername,cardnumber,cvc,expirydate,zipcode,folder,full_name,phone_number,email,type\n"
                             "Mail,https://a.example,me,pw,,,,,,,,,,,password\n"
                             "Visa,,,,,Jane Roe,4111111111111111,123,12/30,,,,,,credit_card\n"
                             "Memo,,,,text,,,,,,,,,,note\n");
    ASSERT_EQ(nordPass.items.size(), 3u);
    EXPECT_EQ(nordPass.items[0].entry.category, Entry::Category::login);
    EXPECT_EQ(nordPass.items[1].entry.category, Entry::Category::creditCard);
    EXPECT_EQ(nordPass.items[2].entry.category, Entry::Category::secureNote);
    for (const auto& item : nordPass.items) {
        auto titles = fieldTitles(item.entry);
        EXPECT_EQ(std::find(titles.begin(), titles.end(), "type"), titles.end());
    }
    auto protonPass = readText(F::protonPassCSV, "proton-kinds.csv",
                               "type,name,url,email,username,password,note,totp,createTime,modifyTime,vault\n"
                               "login,Mail,https://a.example,,me,pw,,,,,Personal\nnote,Memo,,,,,text,,,,Personal\n");
    ASSERT_EQ(protonPass.items.size(), 2u);
    EXPECT_EQ(protonPass.items[1].entry.category, Entry::Category::secureNote);
    EXPECT_TRUE(fieldTitles(protonPass.items[0].entry).empty());
    auto dashlane = readText(F::dashlanePaymentsCSV, "dashlane-kinds.csv",
                             "type,account_name,account_holder,cc_number,code,expiration_month,expiration_year,name,note\n"
                             "payment_card,,Jane Roe,4111111111111111,123,01,2030,Visa,\n");
    ASSERT_EQ(dashlane.items.size(), 1u);
    EXPECT_EQ(dashlane.items[0].entry.category, Entry::Category::creditCard);
    auto titles = fieldTitles(dashlane.items[0].entry);
    EXPECT_EQ(std::find(titles.begin(), titles.end(), "type"), titles.end());
}
