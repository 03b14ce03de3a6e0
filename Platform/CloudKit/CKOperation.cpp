#include "Platform/CloudKit/CKOperation.hpp"

#include "Platform/CloudKit/CKError.hpp"
#include "Platform/Foundation/UUID.hpp"

namespace CloudKit {

CKOperation::CKOperation()
    : m_operationID(Foundation::UUID().uuidString())
    , m_configuration(Foundation::make<Configuration>())
{
}

void CKOperation::setConfiguration(std::shared_ptr<Configuration> configuration)
{
    m_configuration.set(configuration ? std::move(configuration) : Foundation::make<Configuration>());
}

void CKOperation::start()
{
    // The base class finishes a cancelled operation without running it; its result block still hears.
    if (isCancelled())
        finish(CKError(CKError::Code::operationCancelled, "The operation was cancelled").clone());
    Operation::start();
}

void CKOperation::main()
{
    try {
        perform();
    } catch (...) {
        finish(Foundation::currentError());
    }
}

} // namespace CloudKit
