#pragma once

#include "Shared/Stores/RecordStore.hpp"

#include "Shared/Stores/AttachmentDataSource.hpp"

#include "Platform/Foundation/URL.hpp"

#include <map>
#include <set>
#include <string>

namespace Shared {

// A scratch pad for new and changed items. Every change stays here, checked against the item's limits
// (EntryError), until `save()`; every change posts `editingContextDidUpdate` (object: the context). A
// save writes only the fields this context changed, onto the newest copy in the store, so what the store
// or another process changed meanwhile (a favourite, a last use) stays. Files imported into attachment
// fields are encrypted into the attachment data store at once; a context dropped unsaved removes them
// again. Used on the main thread; every operation names its item and throws
// RecordStoreError.entryNotFound for one the context does not hold and the store does not have.
class RecordStore::EditingContext : public Foundation::NSObject, public AttachmentDataSource {
public:
    using AttachmentResult = Foundation::Result<Attachment>;

    static const Foundation::Notification::Name& editingContextDidUpdate();

    // --- Items --------------------------------------------------------------------------------------

    // A new item of the category (a login when none) in the vault; answers its identifier.
    Foundation::String insert(const Foundation::String& entryID, const Foundation::String& vaultID, std::optional<Entry::Category> category,
                              bool isSafeForInspection);
    // A new item from a shared item link (`shareItems`); throws GeneralError for a link that is not one.
    Foundation::String insert(const Foundation::String& entryID, const Foundation::String& vaultID, const Foundation::URL& shareURL,
                              bool isSafeForInspection);
    // Takes the item in for editing (each operation below also does so on first use).
    void prepareForEditing(const Foundation::String& entryID);
    // The item as edited here; nothing when neither the context nor the store has it.
    std::optional<Entry> entry(const Foundation::String& entryID) const;
    bool hasChanges() const;
    bool hasChanges(const Foundation::String& entryID) const;

    // --- Changes ------------------------------------------------------------------------------------

    void setText(const Foundation::String& text, Entry::SystemField::ID fieldID, const Foundation::String& entryID);
    void setText(const Foundation::String& text, Entry::Field::ID fieldID, const Foundation::String& entryID);
    void setFieldTitle(const std::optional<Foundation::String>& title, Entry::Field::ID fieldID, const Foundation::String& entryID);
    void setSectionTitle(const std::optional<Foundation::String>& title, std::int64_t section, const Foundation::String& entryID);
    void setCategory(Entry::Category category, const Foundation::String& entryID);
    void setSubtitleSource(const std::optional<Entry::SubtitleSource>& source, const Foundation::String& entryID);
    void setFavorite(bool isFavorite, const Foundation::String& entryID);
    void setSafeForInspection(bool isSafeForInspection, const Foundation::String& entryID);
    void setShowsEmptyLoginFields(bool showsEmptyLoginFields, const Foundation::String& entryID);
    void stampServiceIdentifiers(const std::vector<Entry::ServiceIdentifier>& serviceIdentifiers, const Foundation::String& entryID);

    // Sections and fields; each answers the new one's place.
    std::int64_t insertSectionAbove(std::int64_t index, Entry::Section::Template sectionTemplate, const Foundation::String& entryID);
    std::int64_t insertSectionBelow(std::int64_t index, Entry::Section::Template sectionTemplate, const Foundation::String& entryID);
    Entry::Field::ID insertFieldAbove(Entry::Field::ID fieldID, Entry::Field::Category category, const Foundation::String& entryID);
    Entry::Field::ID insertFieldBelow(Entry::Field::ID fieldID, Entry::Field::Category category, const Foundation::String& entryID);
    Entry::Field::ID appendField(std::int64_t section, Entry::Field::Category category, const Foundation::String& entryID);
    void changeFieldCategory(Entry::Field::ID fieldID, Entry::Field::Category category, const Foundation::String& entryID);
    void deleteSection(std::int64_t index, const Foundation::String& entryID);
    void deleteField(Entry::Field::ID fieldID, const Foundation::String& entryID);
    // `to` is the place the field or section has afterwards.
    void moveField(Entry::Field::ID from, Entry::Field::ID to, const Foundation::String& entryID);
    void moveSection(std::int64_t from, std::int64_t to, const Foundation::String& entryID);

    // A previous value becomes the current one again; the current one goes into the history.
    void restorePreviousPassword(const Foundation::String& previousValueID, const Foundation::String& entryID);
    void restorePreviousTOTPSecretKey(const Foundation::String& previousValueID, const Foundation::String& entryID);
    void restorePreviousFieldValue(Entry::Field::ID fieldID, const Foundation::String& previousValueID, const Foundation::String& entryID);

    // --- Attachments --------------------------------------------------------------------------------

    std::optional<Attachment> attachment(const Foundation::String& entryID, Entry::Field::ID fieldID) const;
    // Encrypts the file off the main thread and puts the attachment into the field (an attachment field
    // from then on); the outcome arrives on the handler's queue. Cancelling the progress cancels it.
    void importFile(const Foundation::URL& fileURL, Entry::Field::ID fieldID, const Foundation::String& entryID,
                    const std::shared_ptr<Foundation::Progress>& progress, Basalwork::ResultHandler<AttachmentResult> resultHandler);
    // Empties an attachment field; its file goes when the context is saved.
    void clearAttachment(Entry::Field::ID fieldID, const Foundation::String& entryID);
    bool containsData(const Foundation::String& attachmentID) const override;
    void decryptToTemporaryURL(const Foundation::String& attachmentID, const std::shared_ptr<Foundation::Progress>& progress,
                               Basalwork::ResultHandler<DecryptionResult> resultHandler) override;
    std::shared_ptr<Foundation::NSItemProvider> itemProvider(const Foundation::String& attachmentID) override;

    // --- Saving -------------------------------------------------------------------------------------

    // Writes every changed item (see above) and posts the store's `recordStoreDidUpdateRecords`.
    void save();
    // Ends the editing: saves first when asked, otherwise drops every change.
    void endEditing(bool saving);

    ~EditingContext() override;

protected:
    friend Foundation::Construct;
    explicit EditingContext(std::shared_ptr<RecordStore> recordStore);

private:
    friend class RecordStore;
    struct Edit {
        // Nothing for an item made here.
        std::optional<Entry> original;
        Entry entry;
        Foundation::String vaultID;
    };

    Edit& edit(const Foundation::String& entryID);
    const Edit* findEdit(const Foundation::String& entryID) const;
    // Runs `change` on the item, then announces it; a change that throws leaves the item as it was.
    template <class Change>
    auto change(const Foundation::String& entryID, Change&& change);
    void didChange();
    // Takes in an item made elsewhere (a duplicate) with the files imported for it.
    void adopt(Entry entry, const Foundation::String& vaultID, const std::vector<Attachment>& imports);
    void discardImports(const std::vector<Foundation::String>& attachmentIDs);
    void forgetTypedFields(const Foundation::String& entryID);

    std::shared_ptr<RecordStore> m_recordStore;
    std::map<std::string, Edit> m_edits;
    // Imported here and not saved yet.
    std::map<std::string, Attachment> m_imports;
    // The texts changed since the last save ("<item>/<system field>", "<item>/field/<section>.<index>").
    std::set<std::string> m_typedFields;
};

} // namespace Shared
