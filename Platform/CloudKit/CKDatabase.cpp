#include "Platform/CloudKit/CKDatabase.hpp"

#include "Platform/CloudKit/CKError.hpp"
#include "Platform/CloudKit/CKModifyRecordsOperation.hpp"
#include "Platform/CloudKit/DatabaseFolder.hpp"
#include "Platform/CloudKit/LongLivedJournal.hpp"
#include "Platform/CloudKit/ServiceState.hpp"
#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/Logger.hpp"
#include "Platform/Foundation/OperationQueue.hpp"

namespace CloudKit {
namespace {

const Foundation::Logger& log()
{
    static const Foundation::Logger logger("CloudKit", "CKDatabase");
    return logger;
}

} // namespace

CKDatabase::CKDatabase(Foundation::String containerIdentifier, Scope scope)
    : m_containerIdentifier(std::move(containerIdentifier))
    , m_scope(scope)
    , m_queue(Foundation::make<Foundation::OperationQueue>())
{
    m_queue->setName("CloudKit " + m_containerIdentifier.utf8());
}

std::shared_ptr<DatabaseFolder> CKDatabase::folder() const
{
    auto account = ServiceState::shared().account();
    if (!account)
        throw CKError(CKError::Code::notAuthenticated, "No account is signed in");
    if (!ServiceState::isValidIdentifier(*account))
        throw CKError(CKError::Code::notAuthenticated, "The account \"" + *account + "\" cannot be used");
    if (!ServiceState::isValidIdentifier(m_containerIdentifier.utf8()))
        throw CKError(CKError::Code::badContainer, "\"" + m_containerIdentifier.utf8() + "\" is not a valid container");
    return DatabaseFolder::open(m_containerIdentifier.utf8(), *account);
}

void CKDatabase::add(const std::shared_ptr<CKDatabaseOperation>& operation)
{
    operation->setDatabase(sharedSelf(this));
    auto modify = std::dynamic_pointer_cast<CKModifyRecordsOperation>(operation);
    if (modify && modify->configuration()->isLongLived()) {
        try {
            LongLivedJournal::write(*folder(), *modify);
            if (auto block = modify->longLivedOperationWasPersistedBlock())
                Foundation::DispatchQueue::global()->async(block);
        } catch (...) {
            // It still runs now; only surviving the end of this process is lost.
            log().error("Could not keep the long-lived operation %{public}@: %{public}@", modify->operationID(),
                        Foundation::currentError()->description());
        }
    }
    m_queue->addOperation(operation);
}

} // namespace CloudKit
