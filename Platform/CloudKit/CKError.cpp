#include "Platform/CloudKit/CKError.hpp"

namespace CloudKit {

CKError::CKError(Code code, const std::string& localizedDescription)
    : ErrorOf(CKErrorDomain, static_cast<std::int64_t>(code), {{Foundation::NSLocalizedDescriptionKey, localizedDescription}})
{
}

Foundation::ErrorPtr CKError::partialError(const ItemID& itemID) const
{
    for (const auto& [id, error] : m_partialErrors) {
        if (id.index() == itemID.index()) {
            bool same = std::visit(
                [&](const auto& value) {
                    using Value = std::decay_t<decltype(value)>;
                    if constexpr (std::is_same_v<Value, Foundation::String>)
                        return value.utf8() == std::get<Value>(itemID).utf8();
                    else
                        return value == std::get<Value>(itemID);
                },
                id);
            if (same)
                return error;
        }
    }
    return nullptr;
}

CKError CKError::partialFailure(PartialErrors errors)
{
    CKError error(Code::partialFailure, "Some items of the request failed");
    error.m_partialErrors = std::move(errors);
    return error;
}

CKError CKError::serverRecordChanged(std::shared_ptr<CKRecord> serverRecord, std::shared_ptr<CKRecord> clientRecord)
{
    CKError error(Code::serverRecordChanged, "The record changed on the server since it was fetched");
    error.m_serverRecord = std::move(serverRecord);
    error.m_clientRecord = std::move(clientRecord);
    return error;
}

CKError& CKError::setRetryAfterSeconds(std::optional<double> seconds)
{
    m_retryAfterSeconds = seconds;
    return *this;
}

std::string CKError::description() const
{
    std::string text = NSError::description();
    for (const auto& [id, error] : m_partialErrors) {
        std::string item = std::visit(
            [](const auto& value) {
                if constexpr (std::is_same_v<std::decay_t<decltype(value)>, Foundation::String>)
                    return value.utf8();
                else
                    return value.description();
            },
            id);
        text += "\n  " + item + ": " + error->description();
    }
    return text;
}

std::optional<CKError::Code> ckErrorCode(const Foundation::Error& error)
{
    if (error.domain() != CKErrorDomain)
        return std::nullopt;
    return static_cast<CKError::Code>(error.code());
}

} // namespace CloudKit
