#include "Platform/CloudKit/CKRecord.hpp"

#include "Platform/CloudKit/CKAsset.hpp"
#include "Platform/CloudKit/RecordCoding.hpp"
#include "Platform/Foundation/JSONStreamWriter.hpp"
#include "Platform/Foundation/JSONView.hpp"
#include "Platform/Foundation/NSCoder.hpp"
#include "Platform/Foundation/NSKeyedArchiver.hpp"
#include "Platform/Foundation/UUID.hpp"

namespace CloudKit {
namespace {

// Archives a record's system fields under a class name of its own; reading one back makes a record.
class SystemFieldsArchive : public Foundation::NSObject, public Foundation::NSCoding {
public:
    void encode(Foundation::NSCoder& coder) const override { m_record->encodeSystemFields(coder); }

protected:
    friend Foundation::Construct;
    explicit SystemFieldsArchive(std::shared_ptr<const CKRecord> record)
        : m_record(std::move(record))
    {
    }

private:
    std::shared_ptr<const CKRecord> m_record;
};

[[maybe_unused]] const bool registered = [] {
    Foundation::registerCodingClass<CKRecord>("CKRecord");
    Foundation::registerCodingClass("CKRecordSystemFields", typeid(SystemFieldsArchive),
                                    [](Foundation::NSCoder& coder) -> std::shared_ptr<Foundation::NSObject> { return CKRecord::withCoder(coder); });
    return true;
}();

// A coded record keeps its assets' files where they are.
std::string assetPath(const CKAsset& asset)
{
    return asset.fileURL() ? asset.fileURL()->path().utf8() : std::string();
}

std::shared_ptr<CKAsset> assetAtPath(const std::string& path)
{
    if (path.empty() || path.front() != '/')
        return nullptr;
    return Foundation::make<CKAsset>(Foundation::URL::fileURLWithPath(path));
}

} // namespace

CKRecord::CKRecord(RecordType recordType)
    : CKRecord(std::move(recordType), CKRecordZoneID())
{
}

CKRecord::CKRecord(RecordType recordType, CKRecordZoneID zoneID)
    : CKRecord(std::move(recordType), ID(Foundation::UUID().uuidString(), std::move(zoneID)))
{
}

CKRecord::CKRecord(RecordType recordType, ID recordID)
    : m_recordType(std::move(recordType))
    , m_recordID(std::move(recordID))
{
}

std::shared_ptr<CKRecord> CKRecord::fromServer(RecordType recordType, ID recordID, Fields fields, SystemFields system)
{
    auto record = Foundation::make<CKRecord>(std::move(recordType), std::move(recordID));
    record->m_fields = std::move(fields);
    record->m_system = std::move(system);
    return record;
}

std::optional<Foundation::String> CKRecord::recordChangeTag() const
{
    std::lock_guard lock(m_mutex);
    return m_system.changeTag;
}

std::optional<Foundation::Date> CKRecord::creationDate() const
{
    std::lock_guard lock(m_mutex);
    return m_system.creationDate;
}

std::optional<Foundation::Date> CKRecord::modificationDate() const
{
    std::lock_guard lock(m_mutex);
    return m_system.modificationDate;
}

std::optional<CKRecordValue> CKRecord::object(const FieldKey& key) const
{
    std::lock_guard lock(m_mutex);
    auto found = m_fields.find(key.utf8());
    if (found == m_fields.end())
        return std::nullopt;
    return found->second;
}

void CKRecord::setObject(std::optional<CKRecordValue> value, const FieldKey& key)
{
    std::lock_guard lock(m_mutex);
    if (value)
        m_fields.insert_or_assign(key.utf8(), std::move(*value));
    else
        m_fields.erase(key.utf8());
    m_changedKeys.insert(key.utf8());
}

std::vector<CKRecord::FieldKey> CKRecord::allKeys() const
{
    std::lock_guard lock(m_mutex);
    std::vector<FieldKey> keys;
    for (const auto& [key, value] : m_fields)
        keys.emplace_back(key);
    return keys;
}

std::vector<CKRecord::FieldKey> CKRecord::changedKeys() const
{
    std::lock_guard lock(m_mutex);
    return {m_changedKeys.begin(), m_changedKeys.end()};
}

std::map<std::string, std::optional<CKRecordValue>> CKRecord::changedValues() const
{
    std::lock_guard lock(m_mutex);
    std::map<std::string, std::optional<CKRecordValue>> values;
    for (const auto& key : m_changedKeys) {
        auto found = m_fields.find(key);
        values.emplace(key, found == m_fields.end() ? std::nullopt : std::optional(found->second));
    }
    return values;
}

CKRecord::Fields CKRecord::fields() const
{
    std::lock_guard lock(m_mutex);
    return m_fields;
}

std::shared_ptr<CKRecord> CKRecord::copy() const
{
    auto record = Foundation::make<CKRecord>(m_recordType, m_recordID);
    std::lock_guard lock(m_mutex);
    record->m_fields = m_fields;
    record->m_changedKeys = m_changedKeys;
    record->m_system = m_system;
    return record;
}

void CKRecord::encodeSystemFields(Foundation::NSCoder& coder) const
{
    std::lock_guard lock(m_mutex);
    coder.encodeString(m_recordType, "recordType");
    coder.encodeString(m_recordID.recordName(), "recordName");
    coder.encodeString(m_recordID.zoneID().zoneName(), "zoneName");
    coder.encodeString(m_recordID.zoneID().ownerName(), "ownerName");
    if (m_system.changeTag)
        coder.encodeString(*m_system.changeTag, "changeTag");
    if (m_system.creationDate)
        coder.encodeDate(*m_system.creationDate, "creationDate");
    if (m_system.modificationDate)
        coder.encodeDate(*m_system.modificationDate, "modificationDate");
}

Foundation::Data CKRecord::archivedSystemFields() const
{
    return Foundation::NSKeyedArchiver::archivedData(Foundation::make<SystemFieldsArchive>(std::static_pointer_cast<const CKRecord>(shared_from_this())), true);
}

void CKRecord::encode(Foundation::NSCoder& coder) const
{
    encodeSystemFields(coder);
    std::lock_guard lock(m_mutex);
    Foundation::JSONStreamWriter fields;
    fields.beginObject();
    for (const auto& [key, value] : m_fields)
        RecordCoding::encode(fields.key(key), value, assetPath);
    fields.endObject();
    coder.encodeData(Foundation::Data::fromString(fields.take()), "fields");
    Foundation::JSONStreamWriter changed;
    changed.beginArray();
    for (const auto& key : m_changedKeys)
        changed.string(key);
    changed.endArray();
    coder.encodeData(Foundation::Data::fromString(changed.take()), "changedKeys");
}

std::shared_ptr<CKRecord> CKRecord::withCoder(Foundation::NSCoder& coder)
{
    auto recordType = coder.decodeString("recordType");
    auto recordName = coder.decodeString("recordName");
    auto zoneName = coder.decodeString("zoneName");
    auto ownerName = coder.decodeString("ownerName");
    if (!recordType || !recordName || !zoneName || !ownerName)
        return nullptr;
    auto record = Foundation::make<CKRecord>(*recordType, ID(*recordName, CKRecordZoneID(*zoneName, *ownerName)));
    record->m_system.changeTag = coder.decodeString("changeTag");
    record->m_system.creationDate = coder.decodeDate("creationDate");
    record->m_system.modificationDate = coder.decodeDate("modificationDate");

    if (auto fields = coder.decodeData("fields")) {
        auto document = Foundation::JSONDocument::tryParse(fields->view());
        if (!document || !Foundation::JSONView(*document).isObject())
            return nullptr;
        for (auto [key, value] : Foundation::JSONView(*document).members()) {
            auto decoded = RecordCoding::decode(value, assetAtPath);
            if (!decoded)
                return nullptr;
            record->m_fields.emplace(key, std::move(*decoded));
        }
    }
    if (auto changed = coder.decodeData("changedKeys")) {
        auto document = Foundation::JSONDocument::tryParse(changed->view());
        if (!document || !Foundation::JSONView(*document).isArray())
            return nullptr;
        for (auto key : Foundation::JSONView(*document).elements()) {
            if (!key.isString())
                return nullptr;
            record->m_changedKeys.emplace(*key.string());
        }
    }
    return record;
}

std::string CKRecord::description() const
{
    std::lock_guard lock(m_mutex);
    std::string text = "<CKRecord: recordType=" + m_recordType.utf8() + ", recordID=" + m_recordID.description();
    if (m_system.changeTag)
        text += ", recordChangeTag=" + m_system.changeTag->utf8();
    return text + ", keys=" + std::to_string(m_fields.size()) + ">";
}

} // namespace CloudKit
