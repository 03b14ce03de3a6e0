#include "Platform/Foundation/UserDefaults.Domain.hpp"

#include "Platform/Foundation/CocoaError.hpp"
#include "Platform/Foundation/FileIO.hpp"
#include "Platform/Foundation/FileManager.hpp"
#include "Platform/Foundation/JSONStreamWriter.hpp"
#include "Platform/Foundation/JSONView.hpp"
#include "Platform/Foundation/Logger.hpp"
#include "Platform/Foundation/URL.hpp"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <limits>
#include <sys/file.h>
#include <unistd.h>
#include <utility>

namespace Foundation {
namespace {

using Dictionary = PropertyListValue::Dictionary;

// Hand-edited or damaged files must not exhaust the stack.
constexpr int maximumNestingDepth = 256;

const Logger& defaultsLog()
{
    static const Logger logger("Foundation", "UserDefaults");
    return logger;
}

// The file format: JSON, with tagged single-member objects for what JSON cannot hold.
//
// Data is {"$data": "<Base64>"}, a date {"$date": <seconds since 2001>}, a real that is not finite
// {"$real": "nan" | "inf" | "-inf"}. Keys that start with "$" are written with one more "$", so no
// dictionary is ever taken for a tagged value.

std::string escapedKey(const String& key)
{
    return key.utf8().starts_with('$') ? "$" + key.utf8() : key.utf8();
}

String unescapedKey(std::string_view key)
{
    return key.starts_with("$$") ? String(key.substr(1)) : String(key);
}

void writeJSON(JSONStreamWriter& writer, const PropertyListValue& value);

void writeJSON(JSONStreamWriter& writer, const Dictionary& dictionary)
{
    writer.beginObject();
    for (const auto& [key, value] : dictionary) {
        writer.key(escapedKey(key));
        writeJSON(writer, value);
    }
    writer.endObject();
}

void writeTagged(JSONStreamWriter& writer, std::string_view tag, auto write)
{
    writer.beginObject().key(tag);
    write();
    writer.endObject();
}

void writeJSON(JSONStreamWriter& writer, const PropertyListValue& value)
{
    switch (value.kind()) {
    case PropertyListValue::Kind::boolean: writer.boolean(*value.as<bool>()); return;
    case PropertyListValue::Kind::integer: writer.integer(*value.as<std::int64_t>()); return;
    case PropertyListValue::Kind::real: {
        double number = *value.as<double>();
        if (std::isfinite(number))
            writer.real(number);
        else
            writeTagged(writer, "$real", [&] { writer.string(std::isnan(number) ? "nan" : number > 0 ? "inf" : "-inf"); });
        return;
    }
    case PropertyListValue::Kind::string: writer.string(value.as<std::string>().value()); return;
    case PropertyListValue::Kind::data:
        writeTagged(writer, "$data", [&] { writer.string(value.as<Data>()->base64EncodedString()); });
        return;
    case PropertyListValue::Kind::date:
        writeTagged(writer, "$date", [&] { writer.real(value.as<Date>()->timeIntervalSinceReferenceDate()); });
        return;
    case PropertyListValue::Kind::array:
        writer.beginArray();
        for (const auto& element : *value.array())
            writeJSON(writer, element);
        writer.endArray();
        return;
    case PropertyListValue::Kind::dictionary: writeJSON(writer, *value.dictionary()); return;
    }
    writer.null();
}

std::optional<PropertyListValue> fromJSON(const JSONView& json, int depth);

std::optional<PropertyListValue> taggedFromJSON(std::string_view tag, const JSONView& payload)
{
    if (tag == "$data" && payload.isString()) {
        if (auto data = Data::fromBase64(*payload.string()))
            return PropertyListValue(std::move(*data));
    } else if (tag == "$date" && payload.isNumber()) {
        return PropertyListValue(Date(*payload.number()));
    } else if (tag == "$real" && payload.isString()) {
        auto text = *payload.string();
        if (text == "nan")
            return PropertyListValue(std::numeric_limits<double>::quiet_NaN());
        if (text == "inf" || text == "-inf")
            return PropertyListValue(text == "inf" ? HUGE_VAL : -HUGE_VAL);
    }
    return std::nullopt;
}

// Nothing for a value no property list holds (null, a malformed tag, nesting too deep).
std::optional<PropertyListValue> fromJSON(const JSONView& json, int depth)
{
    if (depth > maximumNestingDepth)
        return std::nullopt;
    switch (json.kind()) {
    case JSONView::Kind::boolean: return PropertyListValue(*json.boolean());
    case JSONView::Kind::integer:
    case JSONView::Kind::unsignedInteger:
    case JSONView::Kind::real:
        if (auto number = json.int64())
            return PropertyListValue(*number);
        return PropertyListValue(*json.number());
    case JSONView::Kind::string: return PropertyListValue(String(*json.string()));
    case JSONView::Kind::array: {
        PropertyListValue::Array array;
        array.reserve(json.size());
        for (auto element : json.elements()) {
            auto value = fromJSON(element, depth + 1);
            if (!value)
                return std::nullopt;
            array.push_back(std::move(*value));
        }
        return PropertyListValue(std::move(array));
    }
    case JSONView::Kind::object: {
        if (json.size() == 1) {
            auto only = *json.members().begin();
            if (only.key.starts_with('$') && !only.key.starts_with("$$"))
                if (auto tagged = taggedFromJSON(only.key, only.value))
                    return tagged;
        }
        Dictionary dictionary;
        for (auto [key, element] : json.members()) {
            auto value = fromJSON(element, depth + 1);
            if (!value)
                return std::nullopt;
            dictionary.insert_or_assign(unescapedKey(key), std::move(*value));
        }
        return PropertyListValue(std::move(dictionary));
    }
    case JSONView::Kind::null: return std::nullopt;
    }
    return std::nullopt;
}

// The domain files.

std::string preferencesDirectoryPath()
{
    return FileManager::defaultManager()->preferencesDirectory().path().utf8();
}

std::string domainFilePath(const String& name)
{
    return preferencesDirectoryPath() + "/" + name.utf8() + ".json";
}

// Holds the Preferences folder's lock so that processes sharing a domain read, change and write its file
// one at a time. Best effort: without the folder there is nothing to guard.
class PreferencesLock {
public:
    PreferencesLock()
        : m_fd(::open(preferencesDirectoryPath().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
    {
        if (m_fd >= 0)
            FileIO::retryingInterruptions([&] { return ::flock(m_fd, LOCK_EX); });
    }
    ~PreferencesLock()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    PreferencesLock(const PreferencesLock&) = delete;
    PreferencesLock& operator=(const PreferencesLock&) = delete;

private:
    int m_fd;
};

// Moves an unreadable file out of the way rather than letting the next write destroy what is left of it.
bool setAside(const std::string& path)
{
    std::string asidePath = path + ".unreadable";
    if (::rename(path.c_str(), asidePath.c_str()) != 0) {
        defaultsLog().error("Could not set the unreadable defaults file %{public}@ aside: errno %d", path, errno);
        return false;
    }
    defaultsLog().error("Set the unreadable defaults file %{public}@ aside as %{public}@", path, asidePath);
    return true;
}

void writeDomainFile(const String& name, const Dictionary& values)
{
    FileIO::makeDirectories(preferencesDirectoryPath()); // a folder that cannot be made fails the write below, which reports it
    FileIO::restrictToOwner(preferencesDirectoryPath());
    JSONStreamWriter writer(JSONStreamWriter::Layout::indented);
    writeJSON(writer, values);
    std::string text = writer.take() + "\n";
    FileIO::writeFile(domainFilePath(name), Data::fromString(text), true);
}

// False, logged, when the file could not be written.
bool saveDomainFile(const String& name, const Dictionary& values)
{
    try {
        writeDomainFile(name, values);
        return true;
    } catch (const Error& error) {
        // Why a file could not be written (a full disk) is no secret, and is what a reader of the log needs.
        defaultsLog().error("Could not save the defaults of %{public}@: %{public}@", name, error.description());
        return false;
    }
}

// What the domain's file holds; a missing file is an empty domain. A damaged file is set aside and
// replaced by the keys that could still be read.
Dictionary readDomainFile(const String& name)
{
    std::string path = domainFilePath(name);
    Data data;
    try {
        data = FileIO::readFile(path);
    } catch (const Error& error) {
        if (error.code() == CocoaError::fileReadNoSuchFile)
            return {};
        defaultsLog().error("Could not read the defaults of %{public}@: %{public}@", name, error.description());
        setAside(path);
        return {};
    }
    Dictionary values;
    auto document = JSONDocument::tryParse(data.view());
    bool isDamaged = !document || !JSONView(*document).isObject();
    if (!isDamaged) {
        for (auto [key, element] : JSONView(*document).members()) {
            if (auto value = fromJSON(element, 1))
                values.insert_or_assign(unescapedKey(key), std::move(*value));
            else
                isDamaged = true;
        }
    }
    if (isDamaged) {
        defaultsLog().error("The defaults file of %{public}@ is damaged", name);
        if (setAside(path) && !values.empty())
            saveDomainFile(name, values);
    }
    return values;
}


} // namespace

std::shared_ptr<UserDefaults::Domain> UserDefaults::Domain::named(const String& name)
{
    static auto* domains = new std::map<std::string, std::shared_ptr<Domain>>;
    static auto* mutex = new std::mutex;
    std::lock_guard lock(*mutex);
    auto& domain = (*domains)[name.utf8()];
    if (!domain)
        domain = std::make_shared<Domain>(name);
    return domain;
}

UserDefaults::Domain::Domain(String name)
    : m_name(std::move(name))
{
}

std::optional<PropertyListValue> UserDefaults::Domain::value(const String& key)
{
    std::lock_guard lock(m_mutex);
    loadIfNeeded();
    auto found = m_values->find(key);
    return found == m_values->end() ? std::nullopt : std::optional(found->second);
}

UserDefaults::Dictionary UserDefaults::Domain::allValues()
{
    std::lock_guard lock(m_mutex);
    loadIfNeeded();
    return *m_values;
}

bool UserDefaults::Domain::change(const String& key, const std::optional<PropertyListValue>& newValue)
{
    std::lock_guard lock(m_mutex);
    PreferencesLock fileLock;
    Dictionary latest = readDomainFile(m_name);
    bool isChanged = newValue || latest.contains(key);
    if (!isChanged && m_unsaved.empty()) {
        m_values = std::move(latest);
        return false;
    }
    m_unsaved.insert_or_assign(key, newValue);
    for (const auto& [unsavedKey, unsavedValue] : m_unsaved) {
        if (unsavedValue)
            latest.insert_or_assign(unsavedKey, *unsavedValue);
        else
            latest.erase(unsavedKey);
    }
    m_values = std::move(latest);
    if (saveDomainFile(m_name, *m_values))
        m_unsaved.clear();
    return isChanged;
}

void UserDefaults::Domain::removeAll()
{
    std::lock_guard lock(m_mutex);
    PreferencesLock fileLock;
    m_values = Dictionary();
    m_unsaved.clear();
    std::string path = domainFilePath(m_name);
    if (::unlink(path.c_str()) != 0 && errno != ENOENT)
        defaultsLog().error("Could not remove the defaults file %{public}@: errno %d", path, errno);
}

void UserDefaults::Domain::loadIfNeeded()
{
    if (m_values)
        return;
    PreferencesLock fileLock;
    m_values = readDomainFile(m_name);
}

} // namespace Foundation
