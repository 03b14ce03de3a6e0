#include "Platform/CloudKit/DatabaseState.hpp"

namespace CloudKit {

DatabaseState::DatabaseState()
{
    clear();
}

void DatabaseState::clear()
{
    m_zones.clear();
    m_deletedIncarnations.clear();
    Zone defaultZone;
    defaultZone.incarnation = defaultZoneIncarnation;
    defaultZone.incarnations.insert(defaultZoneIncarnation);
    m_zones.emplace(CKRecordZoneID::default_(), std::move(defaultZone));
}

std::string DatabaseState::changeTag(const ChangeBatch& batch, std::size_t changeIndex)
{
    return batch.device.substr(0, 12) + "-" + std::to_string(batch.sequence) + "-" + std::to_string(changeIndex);
}

void DatabaseState::apply(const ChangeBatch& batch)
{
    apply(batch, nullptr);
}

void DatabaseState::take(ChangeBatch&& batch)
{
    apply(batch, &batch);
}

void DatabaseState::apply(const ChangeBatch& batch, ChangeBatch* values)
{
    using Kind = ChangeBatch::Change::Kind;
    if (batch.snapshot) {
        clear();
        for (const auto& deleted : batch.snapshot->deletedZones)
            m_deletedIncarnations.insert_or_assign(deleted.incarnation, deleted);
    }
    auto fileName = std::make_shared<const std::string>(batch.fileName());
    // A snapshot's records name the batches they came from: each name is held once.
    std::map<std::string, std::shared_ptr<const std::string>, std::less<>> keptNames;
    auto keptName = [&](const std::string& name) {
        auto found = keptNames.find(name);
        if (found == keptNames.end())
            found = keptNames.emplace(name, std::make_shared<const std::string>(name)).first;
        return found->second;
    };
    for (std::size_t index = 0; index < batch.changes.size(); ++index) {
        const auto& change = batch.changes[index];
        auto found = m_zones.find(change.zoneID);
        switch (change.kind) {
        case Kind::createZone:
            if (found == m_zones.end()) {
                Zone zone;
                zone.incarnation = change.incarnation;
                zone.incarnations.insert(change.incarnation);
                m_zones.emplace(change.zoneID, std::move(zone));
            } else {
                found->second.incarnations.insert(change.incarnation);
                found->second.withoutCreation.erase(change.incarnation);
            }
            break;
        case Kind::deleteZone:
            if (found != m_zones.end() && !change.zoneID.isDefaultZone()) {
                for (const auto& incarnation : found->second.incarnations)
                    m_deletedIncarnations.insert_or_assign(incarnation, ChangeBatch::ZoneDeletion {incarnation, change.zoneID, *fileName});
                m_zones.erase(found);
            }
            break;
        case Kind::deleteRecord:
            if (auto* zone = zoneFor(change)) {
                // A deletion that meets a save its writer had not seen (made elsewhere meanwhile) keeps
                // the record: nothing typed is lost to it, in whatever order the batches arrived.
                auto saved = zone->records.find(change.recordName);
                if (saved != zone->records.end() && change.deletedTag && *change.deletedTag != saved->second->changeTag)
                    break;
                zone->records.erase(change.recordName);
                zone->deletions.insert_or_assign(change.recordName, Deletion {change.recordType, change.kept ? change.kept->batch : *fileName});
            }
            break;
        case Kind::saveRecord: {
            // A save into a zone deleted meanwhile (by a device that had not seen it) is dropped with it.
            auto* zone = zoneFor(change);
            if (!zone)
                break;
            zone->deletions.erase(change.recordName);
            auto [it, inserted] = zone->records.try_emplace(change.recordName);
            auto record = std::make_shared<Record>();
            // Fields a change does not replace carry over from the record as it was.
            if (it->second && !change.replacesFields && !change.unreadable)
                record->saves = it->second->saves;
            if (it->second)
                record->creationDate = it->second->creationDate;
            record->type = change.recordType;
            if (change.kept) {
                record->creationDate = change.kept->creationDate;
                record->changeTag = change.kept->changeTag;
                record->modificationDate = change.kept->modificationDate;
                record->changedIn = keptName(change.kept->batch);
            } else {
                if (inserted)
                    record->creationDate = batch.date;
                record->changeTag = changeTag(batch, index);
                record->modificationDate = batch.date;
                record->changedIn = fileName;
            }
            if (change.unreadable) {
                record->unreadable = change.unreadable;
                it->second = std::move(record);
                break;
            }
            if (!change.replacesFields && it->second)
                record->unreadable = it->second->unreadable;
            Save save;
            if (change.text && batch.source) {
                save.file = batch.source;
                save.text = *change.text;
                save.index = static_cast<std::uint32_t>(index);
            } else if (values) {
                save.held = std::make_shared<const ChangeBatch::Change::FieldChanges>(std::move(values->changes[index].fields));
            } else {
                save.held = std::make_shared<const ChangeBatch::Change::FieldChanges>(change.fields);
            }
            record->saves.push_back(std::move(save));
            it->second = std::move(record);
            break;
        }
        }
    }
}

CKRecord::Fields DatabaseState::fieldsFrom(const std::vector<const ChangeBatch::Change::FieldChanges*>& changes)
{
    CKRecord::Fields fields;
    for (const auto* change : changes) {
        for (const auto& [key, value] : *change) {
            if (value)
                fields.insert_or_assign(key, *value);
            else
                fields.erase(key);
        }
    }
    return fields;
}

bool DatabaseState::isWhole() const
{
    for (const auto& [id, zone] : m_zones) {
        if (!zone.withoutCreation.empty())
            return false;
        for (const auto& [name, record] : zone.records) {
            if (record->unreadable)
                return false;
        }
    }
    return true;
}

std::vector<ChangeBatch::ZoneDeletion> DatabaseState::zoneDeletions() const
{
    std::vector<ChangeBatch::ZoneDeletion> deletions;
    for (const auto& [incarnation, deletion] : m_deletedIncarnations)
        deletions.push_back(deletion);
    return deletions;
}

std::size_t DatabaseState::recordCount() const
{
    std::size_t count = 0;
    for (const auto& [id, zone] : m_zones)
        count += zone.records.size();
    return count;
}

std::vector<ChangeBatch::Change> DatabaseState::snapshotChanges(const FieldsOf& fieldsOf) const
{
    using Change = ChangeBatch::Change;
    std::vector<Change> changes;
    for (const auto& [id, zone] : m_zones) {
        if (!id.isDefaultZone()) {
            // The zone's own life first: a reader takes the first one it meets as the zone's.
            changes.push_back({Change::Kind::createZone, id, zone.incarnation, {}, {}, false, {}, nullptr});
            for (const auto& incarnation : zone.incarnations) {
                if (incarnation != zone.incarnation)
                    changes.push_back({Change::Kind::createZone, id, incarnation, {}, {}, false, {}, nullptr});
            }
        }
        for (const auto& [name, record] : zone.records) {
            Change save {Change::Kind::saveRecord, id, zone.incarnation, name, record->type, true, {}, nullptr};
            for (auto& [key, value] : fieldsOf(*record))
                save.fields.emplace(key, std::move(value));
            save.kept = Change::Kept {record->changeTag, record->creationDate, record->modificationDate, *record->changedIn};
            changes.push_back(std::move(save));
        }
        for (const auto& [name, deletion] : zone.deletions) {
            Change remove {Change::Kind::deleteRecord, id, zone.incarnation, name, deletion.type, false, {}, nullptr};
            remove.kept = Change::Kept {{}, {}, {}, deletion.deletedIn};
            changes.push_back(std::move(remove));
        }
    }
    return changes;
}

DatabaseState::Zone* DatabaseState::zoneFor(const ChangeBatch::Change& change)
{
    auto found = m_zones.find(change.zoneID);
    if (found != m_zones.end() && found->second.holds(change.incarnation))
        return &found->second;
    if (m_deletedIncarnations.contains(change.incarnation))
        return nullptr;
    // Only a deletion someone made ends a zone. A life nobody deleted whose making is not among the
    // batches lost that batch (removed by hand, not yet arrived): its records stay, and the zone
    // says what it misses.
    if (found == m_zones.end()) {
        found = m_zones.emplace(change.zoneID, Zone {}).first;
        found->second.incarnation = change.incarnation;
    }
    found->second.incarnations.insert(change.incarnation);
    found->second.withoutCreation.insert(change.incarnation);
    return &found->second;
}

const DatabaseState::Zone* DatabaseState::zone(const CKRecordZoneID& zoneID) const
{
    auto found = m_zones.find(zoneID);
    return found == m_zones.end() ? nullptr : &found->second;
}

const DatabaseState::Record* DatabaseState::record(const CKRecordZoneID& zoneID, const std::string& recordName) const
{
    auto zone = this->zone(zoneID);
    if (!zone)
        return nullptr;
    auto found = zone->records.find(recordName);
    return found == zone->records.end() ? nullptr : found->second.get();
}

std::shared_ptr<const DatabaseState::Record> DatabaseState::sharedRecord(const CKRecordZoneID& zoneID, const std::string& recordName) const
{
    auto zone = this->zone(zoneID);
    if (!zone)
        return nullptr;
    auto found = zone->records.find(recordName);
    return found == zone->records.end() ? nullptr : found->second;
}

std::set<CKRecordZoneID> DatabaseState::zoneIDs() const
{
    std::set<CKRecordZoneID> ids;
    for (const auto& [id, zone] : m_zones)
        ids.insert(id);
    return ids;
}

} // namespace CloudKit
