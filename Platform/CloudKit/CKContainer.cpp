#include "Platform/CloudKit/CKContainer.hpp"

#include "Platform/CloudKit/CKDatabase.hpp"
#include "Platform/CloudKit/CKError.hpp"
#include "Platform/CloudKit/CKModifyRecordsOperation.hpp"
#include "Platform/CloudKit/DatabaseFolder.hpp"
#include "Platform/CloudKit/LongLivedJournal.hpp"
#include "Platform/CloudKit/ServiceState.hpp"
#include "Platform/Foundation/Bundle.hpp"
#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/ProcessInfo.hpp"

namespace CloudKit {

CKContainer::CKContainer(Foundation::String containerIdentifier)
    : m_containerIdentifier(std::move(containerIdentifier))
    , m_privateCloudDatabase(Foundation::make<CKDatabase>(m_containerIdentifier, CKDatabase::Scope::private_))
{
}

std::shared_ptr<CKContainer> CKContainer::default_()
{
    auto bundle = Foundation::Bundle::main();
    if (bundle) {
        auto identifiers = bundle->object("com.apple.developer.icloud-container-identifiers");
        auto list = identifiers ? identifiers->array() : nullptr;
        if (list && !list->empty()) {
            if (auto first = list->front().as<Foundation::String>())
                return withIdentifier(*first);
        }
        if (auto identifier = bundle->bundleIdentifier())
            return withIdentifier("iCloud." + identifier->utf8());
    }
    return withIdentifier("iCloud." + Foundation::ProcessInfo::processInfo()->processName().utf8());
}

std::shared_ptr<CKContainer> CKContainer::withIdentifier(const Foundation::String& containerIdentifier)
{
    return Foundation::make<CKContainer>(containerIdentifier);
}

void CKContainer::accountStatus(std::function<void(CKAccountStatus, Foundation::ErrorPtr)> completionHandler) const
{
    Foundation::DispatchQueue::global()->async([database = m_privateCloudDatabase, completionHandler] {
        if (!ServiceState::shared().account())
            return completionHandler(CKAccountStatus::noAccount, nullptr);
        try {
            database->folder();
            completionHandler(CKAccountStatus::available, nullptr);
        } catch (const CKError& error) {
            completionHandler(CKAccountStatus::couldNotDetermine, error.clone());
        }
    });
}

void CKContainer::fetchUserRecordID(std::function<void(std::optional<CKRecordID>, Foundation::ErrorPtr)> completionHandler) const
{
    Foundation::DispatchQueue::global()->async([database = m_privateCloudDatabase, completionHandler] {
        try {
            auto folder = database->folder();
            completionHandler(CKRecordID(folder->account()), nullptr);
        } catch (const CKError& error) {
            completionHandler(std::nullopt, error.clone());
        }
    });
}

void CKContainer::fetchAllLongLivedOperationIDs(
    std::function<void(std::optional<std::vector<Foundation::String>>, Foundation::ErrorPtr)> completionHandler) const
{
    Foundation::DispatchQueue::global()->async([database = m_privateCloudDatabase, completionHandler] {
        try {
            completionHandler(LongLivedJournal::operationIDs(*database->folder()), nullptr);
        } catch (const CKError& error) {
            completionHandler(std::nullopt, error.clone());
        }
    });
}

void CKContainer::fetchLongLivedOperation(const Foundation::String& operationID,
                                          std::function<void(std::shared_ptr<CKOperation>, Foundation::ErrorPtr)> completionHandler) const
{
    Foundation::DispatchQueue::global()->async([database = m_privateCloudDatabase, operationID, completionHandler] {
        try {
            auto operation = LongLivedJournal::load(*database->folder(), operationID.utf8());
            if (!operation)
                return completionHandler(nullptr, CKError(CKError::Code::unknownItem, "No long-lived operation " + operationID.utf8()).clone());
            completionHandler(operation, nullptr);
        } catch (const CKError& error) {
            completionHandler(nullptr, error.clone());
        }
    });
}

std::string CKContainer::description() const
{
    return "<CKContainer: " + m_containerIdentifier.utf8() + ">";
}

} // namespace CloudKit
