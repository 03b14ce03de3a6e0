#include "Shared/Transfer/CSVImportReader.hpp"

#include "Shared/Model/DispatchQueue.hpp"
#include "Shared/Transfer/ImportValues.hpp"
#include "Shared/Transfer/ImportedEntryBuilder.hpp"
#include "Shared/Transfer/ImporterError.hpp"

#include "Basalwork/Base/CSVParserError.hpp"
#include "Basalwork/Base/CSVRowReader.hpp"
#include "Basalwork/Base/GeneralError.hpp"
#include "Basalwork/Base/String.hpp"

#include "Platform/Foundation/Progress.hpp"

#include <algorithm>
#include <array>
#include <iterator>
#include <mutex>

namespace Shared {

namespace {

using F = ImporterFileFormat;

// Where a column's value goes.
enum class Role { custom, ignored, id, title, username, password, url, notes, totp, tags, group, favorite, archived, created, modified, type, fields };

// Special rules of a few exports beyond their labels.
enum class Rules { none, bitwarden, lastPass, firefox, passwordSafe, protonPass, nordPass, dashlanePayments, keePassXC };

struct Layout {
    std::vector<const char*> required;
    Entry::Category category = Entry::Category::login;
    Rules rules = Rules::none;
    char32_t delimiter = U',';
    // Lower-case labels that carry nothing worth keeping.
    std::vector<const char*> ignored = {};
};

// Lower-case labels and their roles; a role's labels in the order they are preferred.
constexpr std::pair<const char*, Role> roleLabels[] = {
    {"id", Role::id}, {"guid", Role::id}, {"uuid", Role::id}, {"uid", Role::id},
    {"title", Role::title}, {"name", Role::title}, {"account", Role::title}, {"nickname", Role::title},
    {"username", Role::username}, {"login_username", Role::username}, {"login", Role::username}, {"login name", Role::username},
    {"user name", Role::username}, {"user", Role::username}, {"email", Role::username},
    {"password", Role::password}, {"login_password", Role::password}, {"pwd", Role::password},
    {"url", Role::url}, {"login_uri", Role::url}, {"website", Role::url}, {"web site", Role::url}, {"uri", Role::url},
    {"notes", Role::notes}, {"note", Role::notes}, {"comments", Role::notes}, {"comment", Role::notes}, {"extra", Role::notes},
    {"otpauth", Role::totp}, {"totp", Role::totp}, {"login_totp", Role::totp}, {"otpsecret", Role::totp}, {"otpurl", Role::totp},
    {"otp", Role::totp}, {"twofasecret", Role::totp},
    {"tags", Role::tags},
    {"folder", Role::group}, {"group", Role::group}, {"grouping", Role::group}, {"collections", Role::group}, {"vault", Role::group},
    {"category", Role::group},
    {"favorite", Role::favorite}, {"fav", Role::favorite},
    {"archived", Role::archived},
    {"created", Role::created}, {"createtime", Role::created}, {"timecreated", Role::created}, {"created time", Role::created},
    {"creationtime", Role::created},
    {"last modified", Role::modified}, {"modifytime", Role::modified}, {"record modified time", Role::modified},
    {"timepasswordchanged", Role::modified}, {"modified", Role::modified},
    {"type", Role::type},
    {"fields", Role::fields},
};

const std::vector<const char*> chromiumRequired = {"name", "url", "username", "password"};
const std::vector<const char*> appleRequired = {"Title", "URL", "Username", "Password"};

const Layout* layout(F format)
{
    static const Layout onePassword {{"Title", "Username", "Password"}};
    static const Layout onePassword7 {{}};
    static const Layout bitwarden {{"name", "login_username", "login_password"}, Entry::Category::login, Rules::bitwarden, U',', {"reprompt"}};
    static const Layout chromium {chromiumRequired};
    static const Layout dashlaneCredentials {{"username", "title", "password", "url"}};
    static const Layout dashlaneSecureNotes {{"title", "note"}, Entry::Category::secureNote};
    static const Layout dashlanePayments {{}, Entry::Category::creditCard, Rules::dashlanePayments};
    static const Layout dashlaneIdentity {{}, Entry::Category::identity};
    static const Layout firefox {{"url", "username", "password"}, Entry::Category::login, Rules::firefox, U',',
                                 {"httprealm", "formactionorigin", "timelastused"}};
    static const Layout keePassXC {{"Title", "Username", "Password"}, Entry::Category::login, Rules::keePassXC, U',', {"icon"}};
    static const Layout lastPass {{"url", "username", "password", "name"}, Entry::Category::login, Rules::lastPass};
    static const Layout nordPass {{"name", "url", "username", "password"}, Entry::Category::login, Rules::nordPass};
    static const Layout protonPass {{"name", "url", "username", "password"}, Entry::Category::login, Rules::protonPass};
    static const Layout roboForm {{"Name", "Url", "Login", "Pwd"}, Entry::Category::login, Rules::none, U',', {"matchurl", "rffieldsv2"}};
    static const Layout apple {appleRequired};
    static const Layout keePass {{"Account", "Login Name", "Password"}};
    static const Layout passwordSafe {{"Group/Title", "Username", "Password"}, Entry::Category::login, Rules::passwordSafe, U'\t',
                                      {"autotype", "password policy", "history", "run command", "dca", "protected status",
                                       "symbol list for password generation", "password expiry date", "password expiry interval",
                                       "last access time", "password modified time"}};
    static const Layout generic {{}};
    static const Layout custom {{"Title", "Username", "Password", "URL", "Notes"}};
    switch (format) {
    case F::onePasswordCSV: return &onePassword;
    case F::onePassword7CSV: return &onePassword7;
    case F::bitwardenCSV:
    case F::bitwardenOrganizationCSV: return &bitwarden;
    case F::braveCSV:
    case F::chromeCSV:
    case F::edgeCSV:
    case F::operaCSV:
    case F::vivaldiCSV:
    case F::googlePasswordManagerCSV: return &chromium;
    case F::dashlaneCredentialsCSV: return &dashlaneCredentials;
    case F::dashlaneSecureNotesCSV: return &dashlaneSecureNotes;
    case F::dashlanePaymentsCSV: return &dashlanePayments;
    case F::dashlaneIDsCSV:
    case F::dashlanePersonalInfoCSV: return &dashlaneIdentity;
    case F::firefoxCSV: return &firefox;
    case F::keePassXCCSV: return &keePassXC;
    case F::lastPassCSV: return &lastPass;
    case F::nordPassCSV: return &nordPass;
    case F::protonPassCSV: return &protonPass;
    case F::roboFormCSV: return &roboForm;
    case F::safariCSV:
    case F::passwordsAppCSV: return &apple;
    case F::keePassCSV: return &keePass;
    case F::passwordSafeText: return &passwordSafe;
    case F::splashIDCSV: return &generic;
    case F::customCSV: return &custom;
    default: return nullptr;
    }
}

bool isHeaderlessCSV(F format)
{
    return format == F::keeperCSV || format == F::enpassCSV;
}

std::string lowered(std::string_view text)
{
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return result;
}

// The reader keeps a quoted value's quotes (an escaped quote already stands as one): the opening and
// the closing quote each go when present, a lone quote becomes empty.
std::string_view unquoted(const std::optional<Foundation::String>& value)
{
    if (!value || value->isEmpty())
        return {};
    std::string_view text = value->view();
    bool opens = text.front() == '"';
    bool closes = text.back() == '"';
    if (opens)
        text.remove_prefix(1);
    if (closes && !text.empty())
        text.remove_suffix(1);
    return text;
}

void unquote(const Basalwork::CSVRow& row, CSVImportReader::Values& values)
{
    values.resize(row.size());
    for (std::size_t i = 0; i < row.size(); ++i)
        values[i] = unquoted(row[i]);
}

std::string contentKey(const CSVImportReader::Values& row)
{
    std::string key;
    for (auto value : row) {
        key.append(value);
        key.push_back('\x1f');
    }
    return key;
}

// A column's place, worked out once from its label.
struct Column {
    Role role = Role::custom;
    int rank = 0;
    std::string label;
};

std::vector<Column> columns(const std::vector<Foundation::String>& labels, const Layout& layout)
{
    std::vector<Column> result;
    for (const auto& label : labels) {
        Column column;
        column.label = label.utf8();
        auto name = lowered(label.view());
        if (std::find_if(layout.ignored.begin(), layout.ignored.end(), [&](const char* ignored) { return name == ignored; }) != layout.ignored.end()) {
            column.role = Role::ignored;
        } else {
            int rank = 0;
            for (const auto& [roleLabel, role] : roleLabels) {
                if (name == roleLabel) {
                    column.role = role;
                    column.rank = rank;
                    break;
                }
                ++rank;
            }
        }
        result.push_back(std::move(column));
    }
    return result;
}

void applyRole(ImportedEntryBuilder& builder, Role role, const std::string& label, std::string_view value)
{
    switch (role) {
    case Role::title: return builder.setTitle(value);
    case Role::username: return builder.setUsername(value);
    case Role::password: return builder.setPassword(value);
    case Role::url: return builder.setWebsite(value);
    case Role::notes: return builder.setNotes(value);
    case Role::totp: return builder.setTOTP(value);
    case Role::tags: return builder.addTags(value, ",;");
    case Role::group: return builder.addTag(ImportValues::lastGroupComponent(value));
    case Role::favorite: return builder.setFavorite(ImportValues::isTrue(value));
    case Role::archived: return builder.setArchived(ImportValues::isTrue(value));
    case Role::created: return builder.setCreatedAt(ImportValues::date(value));
    case Role::modified: return builder.setModifiedAt(ImportValues::date(value));
    case Role::id: return builder.setSourceIdentifier(value);
    case Role::custom:
    case Role::type:
    case Role::fields: return builder.addField(label, value);
    case Role::ignored: return;
    }
}

// Bitwarden keeps custom fields as "name: value" lines and its kind of item in "type".
void applyBitwarden(ImportedEntryBuilder& builder, std::string_view type, std::string_view fields)
{
    if (type == "note")
        builder.setCategory(Entry::Category::secureNote);
    else if (type == "card")
        builder.setCategory(Entry::Category::creditCard);
    else if (type == "identity")
        builder.setCategory(Entry::Category::identity);
    std::size_t start = 0;
    while (start < fields.size()) {
        auto end = fields.find('\n', start);
        if (end == std::string_view::npos)
            end = fields.size();
        auto line = fields.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        auto colon = line.find(": ");
        if (colon == std::string_view::npos)
            builder.addField("", line);
        else
            builder.addField(line.substr(0, colon), line.substr(colon + 2));
        start = end + 1;
    }
}

// The category an export's kind of item names; nothing for a kind it does not know.
std::optional<Entry::Category> categoryOfKind(Rules rules, std::string_view kind)
{
    using C = Entry::Category;
    static const std::pair<const char*, C> nordPass[] = {{"password", C::login}, {"note", C::secureNote}, {"credit_card", C::creditCard}, {"identity", C::identity}};
    static const std::pair<const char*, C> protonPass[] = {{"login", C::login}, {"alias", C::login}, {"note", C::secureNote}, {"creditCard", C::creditCard},
                                                           {"identity", C::identity}};
    static const std::pair<const char*, C> dashlanePayments[] = {{"payment_card", C::creditCard}, {"bank", C::bankAccount}, {"bank_account", C::bankAccount}};
    auto find = [&](const auto& table) -> std::optional<C> {
        for (const auto& [name, category] : table) {
            if (kind == name)
                return category;
        }
        return std::nullopt;
    };
    switch (rules) {
    case Rules::nordPass: return find(nordPass);
    case Rules::protonPass: return find(protonPass);
    case Rules::dashlanePayments: return find(dashlanePayments);
    default: return std::nullopt;
    }
}

// KeePassXC writes its groups from the top group "Root" down; an item of the top group has the group
// "Root" alone.
std::string_view keePassXCGroup(std::string_view group)
{
    if (group == "Root")
        return {};
    if (group.starts_with("Root/"))
        group.remove_prefix(5);
    return group;
}

bool isKeePassXCRecycleBin(std::string_view group)
{
    auto path = keePassXCGroup(group);
    return path == "Recycle Bin" || path.starts_with("Recycle Bin/");
}

// Nothing for a row that is no live item (one in KeePassXC's recycle bin).
std::optional<Entry> buildRow(F format, const Layout& layout, const std::vector<Column>& columns, const CSVImportReader::LabelledRow& row, Foundation::Date now)
{
    ImportedEntryBuilder builder(format, layout.category, now);
    // For each role the preferred non-empty column; the others with values become custom fields.
    constexpr std::size_t roleCount = static_cast<std::size_t>(Role::fields) + 1;
    std::array<int, roleCount> chosen;
    chosen.fill(-1);
    for (std::size_t i = 0; i < columns.size() && i < row.values.size(); ++i) {
        auto role = static_cast<std::size_t>(columns[i].role);
        if (columns[i].role == Role::custom || columns[i].role == Role::ignored || row.values[i].empty())
            continue;
        int current = chosen[role];
        if (current < 0 || columns[i].rank < columns[static_cast<std::size_t>(current)].rank)
            chosen[role] = static_cast<int>(i);
    }
    std::string_view type;
    std::string_view fields;
    std::string_view notes;
    for (std::size_t i = 0; i < columns.size() && i < row.values.size(); ++i) {
        auto value = row.values[i];
        const auto& column = columns[i];
        if (value.empty() || column.role == Role::ignored)
            continue;
        bool isChosen = column.role != Role::custom && chosen[static_cast<std::size_t>(column.role)] == static_cast<int>(i);
        // The kind of item, where the layout has one, is bookkeeping rather than a value.
        if (column.role == Role::type && isChosen && layout.rules != Rules::none) {
            type = value;
            continue;
        }
        if (column.role == Role::fields && isChosen && layout.rules == Rules::bitwarden) {
            fields = value;
            continue;
        }
        if (column.role == Role::notes && isChosen)
            notes = value;
        if (column.role == Role::group && layout.rules == Rules::keePassXC) {
            if (isKeePassXCRecycleBin(value))
                return std::nullopt;
            builder.addTag(ImportValues::lastGroupComponent(keePassXCGroup(value)));
        } else if (column.role == Role::group || column.role == Role::tags) {
            applyRole(builder, column.role, column.label, value);
        } else {
            applyRole(builder, isChosen ? column.role : Role::custom, column.label, value);
        }
    }

    switch (layout.rules) {
    case Rules::bitwarden:
        applyBitwarden(builder, type, fields);
        break;
    case Rules::lastPass:
        // LastPass writes secure notes as rows whose address is "http://sn".
        if (builder.entry().website.view() == "http://sn") {
            builder.setWebsite("");
            builder.setCategory(Entry::Category::secureNote);
        }
        break;
    case Rules::firefox:
        builder.setTitle(ImportValues::host(builder.entry().website.view()));
        break;
    case Rules::passwordSafe: {
        // "Group.Subgroup.Title"; line breaks in notes are written as "»".
        auto groupTitle = row.value("Group/Title");
        auto dot = groupTitle.rfind('.');
        if (dot != std::string_view::npos) {
            builder.addTag(ImportValues::lastGroupComponent(groupTitle.substr(0, dot), '.'));
            builder.setTitle(groupTitle.substr(dot + 1));
        }
        builder.setNotes(ImportValues::replacing(notes, "\xC2\xBB", "\n"));
        break;
    }
    case Rules::protonPass:
    case Rules::nordPass:
    case Rules::dashlanePayments:
        if (auto category = categoryOfKind(layout.rules, type))
            builder.setCategory(*category);
        break;
    case Rules::keePassXC:
    case Rules::none:
        break;
    }
    if (builder.entry().title.isEmpty())
        builder.setTitle(ImportValues::host(builder.entry().website.view()));
    if (builder.category() == Entry::Category::login && !builder.hasLoginValues())
        builder.setCategory(Entry::Category::secureNote);
    return builder.build(contentKey(row.values));
}

// Keeper writes no header: folder, title, login, password, address, notes, shared folder, then pairs
// of custom field names and values.
Entry buildKeeperRow(const CSVImportReader::Values& values, Foundation::Date now)
{
    ImportedEntryBuilder builder(F::keeperCSV, Entry::Category::login, now);
    auto at = [&](std::size_t index) { return index < values.size() ? values[index] : std::string_view(); };
    builder.addTag(ImportValues::lastGroupComponent(at(0)));
    builder.setTitle(at(1));
    builder.setUsername(at(2));
    builder.setPassword(at(3));
    builder.setWebsite(at(4));
    builder.setNotes(at(5));
    builder.addTag(ImportValues::lastGroupComponent(at(6)));
    for (std::size_t i = 7; i + 1 < values.size(); i += 2) {
        if (at(i) == "TFC:Keeper")
            builder.setTOTP(at(i + 1));
        else
            builder.addField(at(i), at(i + 1));
    }
    if (!builder.hasLoginValues())
        builder.setCategory(Entry::Category::secureNote);
    return builder.build(contentKey(values));
}

// Enpass writes no header: the title, pairs of field labels and values, and the note last when the
// count is even.
Entry buildEnpassRow(const CSVImportReader::Values& values, Foundation::Date now)
{
    ImportedEntryBuilder builder(F::enpassCSV, Entry::Category::login, now);
    auto at = [&](std::size_t index) { return index < values.size() ? values[index] : std::string_view(); };
    builder.setTitle(at(0));
    std::size_t end = values.size();
    if (values.size() % 2 == 0 && values.size() > 1) {
        builder.setNotes(at(values.size() - 1));
        end = values.size() - 1;
    }
    for (std::size_t i = 1; i + 1 < end; i += 2) {
        auto label = at(i);
        auto value = at(i + 1);
        auto name = lowered(label);
        if ((name == "username" || name == "login" || name == "e-mail" || name == "email") && builder.entry().username.isEmpty())
            builder.setUsername(value);
        else if (name == "password" && builder.entry().password.isEmpty())
            builder.setPassword(value);
        else if ((name == "url" || name == "website") && builder.entry().website.isEmpty())
            builder.setWebsite(value);
        else if (name == "totp" || name == "one-time code")
            builder.setTOTP(value);
        else
            builder.addField(label, value);
    }
    if (!builder.hasLoginValues())
        builder.setCategory(Entry::Category::secureNote);
    return builder.build(contentKey(values));
}

void reportBytes(const Foundation::Progress& readProgress, const ImportReadProgress& progress)
{
    auto total = readProgress.totalUnitCount();
    progress(total > 0 ? static_cast<double>(readProgress.completedUnitCount()) / static_cast<double>(total) : 0);
}

bool isBlank(const Basalwork::CSVRow& row)
{
    return std::all_of(row.begin(), row.end(), [](const auto& value) { return !value || value->isEmpty(); });
}

} // namespace

std::string_view CSVImportReader::LabelledRow::value(std::string_view label) const
{
    for (std::size_t i = 0; i < labels.size() && i < values.size(); ++i) {
        if (labels[i].view() == label)
            return values[i];
    }
    return {};
}

bool CSVImportReader::isCSV(ImporterFileFormat format)
{
    return layout(format) || isHeaderlessCSV(format);
}

std::vector<Foundation::String> CSVImportReader::requiredColumnLabels(ImporterFileFormat format)
{
    std::vector<Foundation::String> labels;
    if (const auto* found = layout(format)) {
        for (const char* label : found->required)
            labels.emplace_back(label);
    }
    return labels;
}

Foundation::String CSVImportReader::failureText(std::int64_t rowNumber, std::string_view title, const Foundation::Error& error)
{
    std::string text = "Row " + std::to_string(rowNumber);
    if (!title.empty())
        text += " (" + std::string(title.substr(0, 80)) + ")";
    return Foundation::String(text + ": " + error.description());
}

namespace {

// Rows copied out of the reader, to be handled on every core; a row may hold a failure met in reading
// instead, so that the failures keep the rows' order.
class PendingRows {
public:
    static constexpr std::size_t capacity = 512;

    std::size_t size() const { return m_numbers.size(); }
    void add(const CSVImportReader::Values& values, std::int64_t number)
    {
        m_starts.push_back(m_spans.size());
        for (auto value : values) {
            m_spans.emplace_back(m_text.size(), value.size());
            m_text.append(value);
        }
        m_numbers.push_back(number);
        m_failures.emplace_back();
    }
    void addFailure(Foundation::String failure, std::int64_t number)
    {
        m_starts.push_back(m_spans.size());
        m_numbers.push_back(number);
        m_failures.emplace_back(std::move(failure));
    }
    // Hands every row to `handler` in parallel, then what it made to `take` in the rows' order.
    void handle(const std::vector<Foundation::String>& labels, const CSVImportReader::RowHandler& handler, const std::function<void(ImportReadResult&)>& take)
    {
        std::vector<ImportReadResult> made(size());
        concurrentPerform(size(), [&](std::size_t i) {
            if (m_failures[i]) {
                made[i].failures.push_back(std::move(*m_failures[i]));
                return;
            }
            CSVImportReader::Values values;
            auto end = i + 1 < size() ? m_starts[i + 1] : m_spans.size();
            values.reserve(end - m_starts[i]);
            for (auto k = m_starts[i]; k < end; ++k)
                values.push_back(std::string_view(m_text).substr(m_spans[k].first, m_spans[k].second));
            handler(CSVImportReader::LabelledRow {labels, values, m_numbers[i]}, made[i]);
        });
        m_text.clear();
        m_spans.clear();
        m_starts.clear();
        m_numbers.clear();
        m_failures.clear();
        for (auto& result : made)
            take(result);
    }

private:
    std::string m_text;
    std::vector<std::pair<std::size_t, std::size_t>> m_spans;
    std::vector<std::size_t> m_starts;
    std::vector<std::int64_t> m_numbers;
    std::vector<std::optional<Foundation::String>> m_failures;
};

// Rows one by one, after the header when there is one. With `parallel`, the handler may run on several
// threads at once (each row still once, and what it makes kept in the rows' order).
ImportReadResult readRecords(const Foundation::URL& fileURL, char32_t delimiter, bool hasHeader, const std::vector<Foundation::String>& requiredLabels,
                             const ImportReadProgress& progress, const CSVImportReader::RowHandler& handler, const ImportReadDelivery& deliver,
                             std::size_t partSize, Basalwork::CSVRowReader::LineEnds lineEnds, bool parallel = false)
{
    auto readProgress = Foundation::make<Foundation::Progress>(0);
    ImportReadResult result;
    auto deliverWhenFull = [&] {
        if (deliver && result.items.size() >= partSize) {
            deliver(result);
            result = {};
            result.items.reserve(partSize);
        }
    };
    auto take = [&](ImportReadResult& made) {
        std::move(made.items.begin(), made.items.end(), std::back_inserter(result.items));
        std::move(made.failures.begin(), made.failures.end(), std::back_inserter(result.failures));
        deliverWhenFull();
    };
    PendingRows pending;
    try {
        auto reader = Foundation::make<Basalwork::CSVRowReader>(fileURL, Foundation::Character(delimiter), Foundation::Character(U'"'), readProgress);
        reader->setLineEnds(lineEnds);
        reader->setMaximumRowByteCount(CSVImportReader::maximumRowByteCount);
        std::vector<Foundation::String> labels;
        std::int64_t number = 0;
        if (hasHeader) {
            std::optional<Basalwork::CSVRow> header;
            while ((header = reader->nextRow()) && isBlank(*header))
                ++number;
            if (!header)
                throw ImporterError::invalidFile("it is empty: there is no row of column labels");
            ++number;
            for (auto& label : *header)
                labels.emplace_back(label ? unquoted(Basalwork::trimmed(*label)) : std::string_view());
            for (const auto& required : requiredLabels) {
                if (std::find(labels.begin(), labels.end(), required) == labels.end())
                    throw Basalwork::CSVParserError::failedToAccessRequiredColumnLabel(required);
            }
        }
        CSVImportReader::Values values;
        if (deliver)
            result.items.reserve(partSize);
        while (auto row = reader->nextRow()) {
            ++number;
            if ((number & 0xff) == 0)
                reportBytes(*readProgress, progress);
            if (isBlank(*row))
                continue;
            unquote(*row, values);
            if (hasHeader && values.size() > labels.size()) {
                auto failure = CSVImportReader::failureText(number, {}, ImporterError::invalidFile("the row has more values than the header has labels"));
                if (parallel)
                    pending.addFailure(std::move(failure), number);
                else
                    result.failures.push_back(std::move(failure));
                continue;
            }
            if (parallel) {
                pending.add(values, number);
                if (pending.size() >= PendingRows::capacity)
                    pending.handle(labels, handler, take);
                continue;
            }
            handler(CSVImportReader::LabelledRow {labels, values, number}, result);
            deliverWhenFull();
        }
        pending.handle(labels, handler, take);
    } catch (const Basalwork::GeneralError& error) {
        if (error.as<Basalwork::GeneralError::FailedToDecodeUTF8StringFromData>())
            throw ImporterError::invalidFile("the file is not UTF-8 text");
        if (const auto* failed = error.as<Basalwork::GeneralError::FailedWithMessage>())
            throw ImporterError::invalidFile(failed->message);
        throw;
    }
    progress(1);
    if (deliver && (!result.items.empty() || !result.failures.empty())) {
        deliver(result);
        result = {};
    }
    return result;
}

} // namespace

ImportReadResult CSVImportReader::readRows(const Foundation::URL& fileURL, char32_t delimiter, const std::vector<Foundation::String>& requiredLabels,
                                           const ImportReadProgress& progress, const RowHandler& handler, const ImportReadDelivery& deliver,
                                           std::size_t partSize)
{
    return readRecords(fileURL, delimiter, true, requiredLabels, progress, handler, deliver, partSize, Basalwork::CSVRowReader::LineEnds::allNewlines);
}

ImportReadResult CSVImportReader::readHeaderlessRows(const Foundation::URL& fileURL, const ImportReadProgress& progress, const RowHandler& handler,
                                                     const ImportReadDelivery& deliver, std::size_t partSize)
{
    return readRecords(fileURL, U',', false, {}, progress, handler, deliver, partSize, Basalwork::CSVRowReader::LineEnds::crOrLF);
}

ImportReadResult CSVImportReader::read(ImporterFileFormat format, const Foundation::URL& fileURL, const ImportReadProgress& progress,
                                       const ImportReadDelivery& deliver, std::size_t partSize)
{
    auto now = Foundation::Date::now();
    auto guarded = [](auto build) {
        return [build](const LabelledRow& row, ImportReadResult& result) {
            try {
                if (std::optional<Entry> entry = build(row))
                    result.items.push_back({std::move(*entry), {}});
            } catch (const ImporterError& error) {
                if (error.is<ImporterError::Cancelled>())
                    throw;
                result.failures.push_back(failureText(row.number, {}, error));
            } catch (const Foundation::Error& error) {
                result.failures.push_back(failureText(row.number, {}, error));
            }
        };
    };
    if (format == F::keeperCSV)
        return readHeaderlessRows(fileURL, progress, guarded([now](const LabelledRow& row) { return buildKeeperRow(row.values, now); }), deliver, partSize);
    if (format == F::enpassCSV)
        return readHeaderlessRows(fileURL, progress, guarded([now](const LabelledRow& row) { return buildEnpassRow(row.values, now); }), deliver,
                                  partSize);
    const Layout* found = layout(format);
    if (!found)
        throw ImporterError::invalidFile("the format is not a CSV format");
    // Rows are made items on every core: the columns are worked out once, by the first row there.
    std::once_flag columnsFound;
    std::vector<Column> columnsOfFile;
    return readRecords(fileURL, found->delimiter, true, requiredColumnLabels(format), progress,
                       [&, guard = guarded([&](const LabelledRow& row) {
                            std::call_once(columnsFound, [&] { columnsOfFile = columns(row.labels, *found); });
                            return buildRow(format, *found, columnsOfFile, row, now);
                        })](const LabelledRow& row, ImportReadResult& result) { guard(row, result); },
                       deliver, partSize, Basalwork::CSVRowReader::LineEnds::crOrLF, true);
}

} // namespace Shared
