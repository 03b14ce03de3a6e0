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
    using Kind = ChangeBatch::Change::Kind;
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
                m_deletedIncarnations.insert(found->second.incarnations.begin(), found->second.incarnations.end());
                m_zones.erase(found);
            }
            break;
        case Kind::deleteRecord:
            if (auto* zone = zoneFor(change))
                zone->records.erase(change.recordName);
            break;
        case Kind::saveRecord: {
            // A save into a zone deleted meanwhile (by a device that had not seen it) is dropped with it.
            auto* zone = zoneFor(change);
            if (!zone)
                break;
            auto [it, inserted] = zone->records.try_emplace(change.recordName);
            auto& record = it->second;
            if (inserted)
                record.creationDate = batch.date;
            record.type = change.recordType;
            record.changeTag = changeTag(batch, index);
            record.modificationDate = batch.date;
            if (change.unreadable) {
                record.unreadable = change.unreadable;
                record.fields.clear();
                break;
            }
            if (change.replacesFields) {
                record.fields.clear();
                record.unreadable = nullptr;
            }
            for (const auto& [key, value] : change.fields) {
                if (value)
                    record.fields.insert_or_assign(key, *value);
                else
                    record.fields.erase(key);
            }
            break;
        }
        }
    }
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
    return found == zone->records.end() ? nullptr : &found->second;
}

std::set<CKRecordZoneID> DatabaseState::zoneIDs() const
{
    std::set<CKRecordZoneID> ids;
    for (const auto& [id, zone] : m_zones)
        ids.insert(id);
    return ids;
}

} // namespace CloudKit
