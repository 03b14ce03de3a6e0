#pragma once

#include "Platform/CloudKit/Locked.hpp"
#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/Operation.hpp"
#include "Platform/Foundation/QualityOfService.hpp"
#include "Platform/Foundation/String.hpp"

#include <functional>
#include <memory>

namespace CloudKit {

// An operation of the service. Its blocks run on the thread that runs the operation, one after the
// other, never on the main queue; a cancelled operation ends with operationCancelled.
class CKOperation : public Foundation::Operation {
public:
    class Configuration;
    using ID = Foundation::String;

    const ID& operationID() const { return m_operationID; }

    std::shared_ptr<Configuration> configuration() const { return m_configuration.get(); }
    // Nothing restores the default configuration.
    void setConfiguration(std::shared_ptr<Configuration> configuration);

    // Called once a long-lived operation has been kept, so that it completes even if this process
    // ends first.
    void setLongLivedOperationWasPersistedBlock(std::function<void()> block) { m_longLivedOperationWasPersistedBlock.set(std::move(block)); }
    std::function<void()> longLivedOperationWasPersistedBlock() const { return m_longLivedOperationWasPersistedBlock.get(); }

    void start() override;
    void main() override;

protected:
    CKOperation();
    // Runs the work and calls the blocks; what it throws ends the operation with that error.
    virtual void perform() = 0;
    // Hands an error that ended the operation to its result block.
    virtual void finish(const Foundation::ErrorPtr& error) = 0;
    void setOperationID(ID operationID) { m_operationID = std::move(operationID); }

private:
    ID m_operationID;
    Locked<std::shared_ptr<Configuration>> m_configuration;
    Locked<std::function<void()>> m_longLivedOperationWasPersistedBlock;
};

// CKOperation.Configuration: shared, so that setting a value on an operation's configuration sets it
// for the operation.
class CKOperation::Configuration : public Foundation::NSObject {
public:
    bool allowsCellularAccess() const { return m_allowsCellularAccess; }
    void setAllowsCellularAccess(bool allows) { m_allowsCellularAccess = allows; }
    // A long-lived operation is kept in the container until it has run, and runs to its end even when
    // the process that added it ends first.
    bool isLongLived() const { return m_isLongLived; }
    void setIsLongLived(bool isLongLived) { m_isLongLived = isLongLived; }
    Foundation::QualityOfService qualityOfService() const { return m_qualityOfService; }
    void setQualityOfService(Foundation::QualityOfService qos) { m_qualityOfService = qos; }
    double timeoutIntervalForRequest() const { return m_timeoutIntervalForRequest; }
    void setTimeoutIntervalForRequest(double seconds) { m_timeoutIntervalForRequest = seconds; }
    double timeoutIntervalForResource() const { return m_timeoutIntervalForResource; }
    void setTimeoutIntervalForResource(double seconds) { m_timeoutIntervalForResource = seconds; }

protected:
    friend Foundation::Construct;
    Configuration() = default;

private:
    bool m_allowsCellularAccess = true;
    bool m_isLongLived = false;
    Foundation::QualityOfService m_qualityOfService = Foundation::QualityOfService::default_;
    double m_timeoutIntervalForRequest = 60;
    double m_timeoutIntervalForResource = 7 * 24 * 3600;
};

} // namespace CloudKit
