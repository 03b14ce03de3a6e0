// The records' fields, which the state does not hold: each save's text is read back from its batch's
// file when the record is handed out.
#include "Platform/CloudKit/DatabaseFolder.hpp"

#include "Platform/CloudKit/CKError.hpp"
#include "Platform/Foundation/FileIO.hpp"

#include <algorithm>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace CloudKit {
namespace {

// Texts closer than this in a file are read in one go: a snapshot's records of one round lie apart.
constexpr std::uint64_t largestGapReadThrough = 64 * 1024;

std::int64_t nanoseconds(const timespec& time)
{
    return std::int64_t(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

ChangeBatch::FileStamp stampFrom(const struct stat& info)
{
    return {info.st_size, nanoseconds(info.st_mtim), nanoseconds(info.st_ctim), info.st_ino};
}

class OpenFile {
public:
    explicit OpenFile(const std::string& path)
        : m_descriptor(::open(path.c_str(), O_RDONLY | O_CLOEXEC))
    {
    }
    ~OpenFile()
    {
        if (m_descriptor >= 0)
            ::close(m_descriptor);
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;

    std::optional<ChangeBatch::FileStamp> stamp() const
    {
        struct stat info {};
        if (m_descriptor < 0 || ::fstat(m_descriptor, &info) != 0)
            return std::nullopt;
        return stampFrom(info);
    }
    // False when the file ends before the range does.
    bool read(std::uint64_t offset, std::string& into) const
    {
        std::size_t done = 0;
        while (done < into.size()) {
            auto count = ::pread(m_descriptor, into.data() + done, into.size() - done, static_cast<off_t>(offset + done));
            if (count <= 0)
                return false;
            done += static_cast<std::size_t>(count);
        }
        return true;
    }

private:
    int m_descriptor;
};

} // namespace

std::optional<DatabaseFolder::FileStamp> DatabaseFolder::stampOf(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return std::nullopt;
    return stampFrom(info);
}

void DatabaseFolder::locate(ChangeBatch& batch, const std::vector<ChangeBatch::Span>& spans) const
{
    auto stamp = stampOf(batchesPath() + "/" + batch.fileName());
    if (!stamp || spans.size() != batch.changes.size())
        return;
    batch.source = std::make_shared<const ChangeBatch::Source>(ChangeBatch::Source {batch.fileName(), *stamp});
    for (std::size_t index = 0; index < spans.size(); ++index)
        batch.changes[index].text = spans[index];
}

std::vector<ChangeBatch::Change::FieldChanges> DatabaseFolder::readSaves(const ChangeBatch::Source& file,
                                                                         const std::vector<const DatabaseState::Save*>& saves) const
{
    auto path = batchesPath() + "/" + file.fileName;
    auto finder = [this](const std::string& asset) { return m_assets.named(asset); };
    // Whatever went wrong, the folder reads the file again before it next answers from it.
    auto changedSince = [&](const std::string& why) {
        noteChanged(file.fileName);
        return CKError(CKError::Code::internalError, "The change batch " + file.fileName + " " + why);
    };
    std::vector<ChangeBatch::Change::FieldChanges> read(saves.size());
    auto take = [&](std::size_t index, std::string_view text) {
        auto change = ChangeBatch::decodeChange(text, file.fileName, finder);
        if (change.unreadable)
            change.unreadable->raise();
        read[index] = std::move(change.fields);
    };
    OpenFile opened(path);
    auto stamp = opened.stamp();
    if (!stamp)
        throw changedSince("is missing from the container");
    if (*stamp == file.stamp) {
        // Unchanged since its checksum was checked: the texts are read alone.
        std::vector<std::size_t> order(saves.size());
        for (std::size_t index = 0; index < order.size(); ++index)
            order[index] = index;
        std::sort(order.begin(), order.end(), [&](auto lhs, auto rhs) { return saves[lhs]->text.offset < saves[rhs]->text.offset; });
        for (std::size_t first = 0; first < order.size();) {
            auto start = saves[order[first]]->text.offset;
            auto end = start + saves[order[first]]->text.length;
            auto last = first + 1;
            for (; last < order.size(); ++last) {
                const auto& text = saves[order[last]]->text;
                if (text.offset > end + largestGapReadThrough)
                    break;
                end = std::max(end, text.offset + text.length);
            }
            std::string bytes(end - start, '\0');
            if (!opened.read(start, bytes))
                throw changedSince("is cut short since it was read");
            for (auto index = first; index < last; ++index) {
                const auto& span = saves[order[index]]->text;
                auto text = std::string_view(bytes).substr(span.offset - start, span.length);
                // Written again in place with the same size and times: it is not what was read.
                if (ChangeBatch::digestOf(text) != span.digest)
                    throw changedSince("changed since it was read");
                take(order[index], text);
            }
            first = last;
        }
        return read;
    }
    // Replaced since (a sync tool writes a file anew, often with the same text): it is checked whole,
    // and only a change whose text is still the same gives its values.
    noteChanged(file.fileName);
    std::string whole(static_cast<std::size_t>(stamp->size), '\0');
    if (!opened.read(0, whole))
        throw changedSince("is cut short since it was read");
    auto data = Foundation::Data::fromString(whole);
    whole = {};
    auto batch = ChangeBatch::decode(data, file.fileName, m_container, m_account, finder, ChangeBatch::Values::checked);
    for (std::size_t index = 0; index < saves.size(); ++index) {
        const auto& span = saves[index]->text;
        const auto* now = saves[index]->index < batch.changes.size() ? &batch.changes[saves[index]->index] : nullptr;
        if (!now || !now->text || now->text->length != span.length || now->text->digest != span.digest)
            throw changedSince("changed since it was read");
        take(index, data.view().substr(now->text->offset, now->text->length));
    }
    return read;
}

void DatabaseFolder::noteChanged(const std::string& fileName) const
{
    std::lock_guard lock(m_changedMutex);
    m_changedFiles.insert(fileName);
}

std::set<std::string> DatabaseFolder::takeChangedFiles()
{
    std::lock_guard lock(m_changedMutex);
    return std::exchange(m_changedFiles, {});
}

std::vector<DatabaseFolder::ReadFields> DatabaseFolder::fieldsOf(const std::vector<const DatabaseState::Record*>& records) const
{
    struct Wanted {
        std::size_t record;
        std::size_t save;
    };
    std::map<const ChangeBatch::Source*, std::vector<Wanted>> byFile;
    std::vector<std::vector<const ChangeBatch::Change::FieldChanges*>> changes(records.size());
    for (std::size_t record = 0; record < records.size(); ++record) {
        const auto& saves = records[record]->saves;
        changes[record].resize(saves.size());
        for (std::size_t save = 0; save < saves.size(); ++save) {
            if (saves[save].held)
                changes[record][save] = saves[save].held.get();
            else
                byFile[saves[save].file.get()].push_back({record, save});
        }
    }
    std::vector<ReadFields> results(records.size());
    std::vector<std::vector<ChangeBatch::Change::FieldChanges>> read;
    read.reserve(byFile.size());
    for (const auto& [file, wanted] : byFile) {
        std::vector<const DatabaseState::Save*> saves;
        saves.reserve(wanted.size());
        for (const auto& [record, save] : wanted)
            saves.push_back(&records[record]->saves[save]);
        auto& fromFile = read.emplace_back();
        auto error = Foundation::catchError([&] { fromFile = readSaves(*file, saves); });
        for (std::size_t index = 0; index < wanted.size(); ++index) {
            if (error)
                results[wanted[index].record].error = error;
            else
                changes[wanted[index].record][wanted[index].save] = &fromFile[index];
        }
    }
    for (std::size_t record = 0; record < records.size(); ++record) {
        if (!results[record].error)
            results[record].fields = DatabaseState::fieldsFrom(changes[record]);
    }
    return results;
}

std::vector<DatabaseFolder::RecordResult>
DatabaseFolder::deliverable(const std::vector<std::pair<CKRecordID, const DatabaseState::Record*>>& records, bool whole,
                            Foundation::ErrorPtr& readError) const
{
    std::vector<const DatabaseState::Record*> readable;
    for (const auto& [id, record] : records) {
        if (!record->unreadable)
            readable.push_back(record);
    }
    auto fields = fieldsOf(readable);
    std::vector<RecordResult> results;
    results.reserve(records.size());
    std::size_t next = 0;
    for (const auto& [id, record] : records) {
        if (record->unreadable) {
            results.push_back(RecordResult::failure(record->unreadable));
            continue;
        }
        auto& read = fields[next++];
        auto result = [&] {
            if (read.error) {
                if (!readError)
                    readError = read.error;
                return RecordResult::failure(read.error);
            }
            for (const auto& [key, value] : read.fields) {
                if (whole && !AssetFolder::hasFiles(value))
                    return RecordResult::failure(CKError(CKError::Code::assetNotAvailable, "The asset of field \"" + key + "\" of record \""
                                                                                               + id.recordName().utf8() + "\" is not available"));
            }
            return RecordResult::success(CKRecord::fromServer(record->type, id, std::move(read.fields),
                                                              {record->changeTag, record->creationDate, record->modificationDate}));
        };
        results.push_back(result());
    }
    return results;
}

std::shared_ptr<CKRecord> DatabaseFolder::serverRecord(const CKRecordZoneID& zoneID, const std::string& name) const
{
    auto record = m_state.record(zoneID, name);
    if (!record || record->unreadable)
        return nullptr;
    Foundation::ErrorPtr readError;
    auto result = deliverable({{CKRecordID(name, zoneID), record}}, false, readError).front();
    return result.isSuccess() ? *result.successValue() : nullptr;
}

std::vector<std::pair<CKRecordID, Foundation::Result<std::shared_ptr<CKRecord>>>> DatabaseFolder::changedRecords(const ChangeRound& round)
{
    std::vector<std::pair<CKRecordID, const DatabaseState::Record*>> wanted;
    wanted.reserve(round.changed.size());
    for (const auto& [id, record] : round.changed)
        wanted.emplace_back(id, record.get());
    Foundation::ErrorPtr readError;
    auto results = deliverable(wanted, true, readError);
    if (readError) {
        // A batch went or changed since the round was made (compacted away, replaced by a sync tool): the
        // records are read again from the folder as it is now, when they are still as the round found
        // them. Otherwise the round is not delivered at all, so that its token is not taken.
        std::lock_guard lock(m_mutex);
        refresh(false);
        std::vector<std::shared_ptr<const DatabaseState::Record>> current;
        current.reserve(round.changed.size());
        for (std::size_t index = 0; index < round.changed.size(); ++index) {
            const auto& [id, record] = round.changed[index];
            auto now = m_state.sharedRecord(id.zoneID(), id.recordName().utf8());
            if (!now || now->changeTag != record->changeTag)
                readError->raise();
            wanted[index].second = now.get();
            current.push_back(std::move(now));
        }
        Foundation::ErrorPtr again;
        results = deliverable(wanted, true, again);
        if (again)
            again->raise();
    }
    std::vector<std::pair<CKRecordID, RecordResult>> records;
    records.reserve(results.size());
    for (std::size_t index = 0; index < results.size(); ++index)
        records.emplace_back(round.changed[index].first, std::move(results[index]));
    return records;
}

} // namespace CloudKit
