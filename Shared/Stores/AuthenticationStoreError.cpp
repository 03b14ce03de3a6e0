#include "Shared/Stores/AuthenticationStoreError.hpp"

#include "Platform/Foundation/Describe.hpp"

namespace Shared {

namespace {

struct Describer {
    std::string operator()(const AuthenticationStoreError::UnsupportedRecordsVersion& c) const
    {
        return "unsupportedRecordsVersion(" + std::to_string(c.version) + ")";
    }
    std::string operator()(const AuthenticationStoreError::DamagedAuthenticationRecords& c) const
    {
        return "damagedAuthenticationRecords(reason: " + Foundation::debugQuoted(c.reason.view()) + ")";
    }
    std::string operator()(const AuthenticationStoreError::UnexpectedState& c) const
    {
        return "unexpectedState(operation: " + Foundation::debugQuoted(c.operation.view()) + ", stateIndex: " + std::to_string(c.stateIndex) + ")";
    }
    std::string operator()(const AuthenticationStoreError::NoMasterPassword&) const { return "noMasterPassword"; }
    std::string operator()(const AuthenticationStoreError::MasterPasswordAlreadyCreated&) const { return "masterPasswordAlreadyCreated"; }
    std::string operator()(const AuthenticationStoreError::MasterPasswordTooShort&) const { return "masterPasswordTooShort"; }
    std::string operator()(const AuthenticationStoreError::MasterPasswordsDoNotMatch&) const { return "masterPasswordsDoNotMatch"; }
    std::string operator()(const AuthenticationStoreError::BiometryNotAvailable&) const { return "biometryNotAvailable"; }
    std::string operator()(const AuthenticationStoreError::VaultLocked&) const { return "vaultLocked"; }
    std::string operator()(const AuthenticationStoreError::FailedToReadAuthenticationRecords&) const { return "failedToReadAuthenticationRecords"; }
    std::string operator()(const AuthenticationStoreError::FailedToWriteAuthenticationRecords&) const { return "failedToWriteAuthenticationRecords"; }
};

} // namespace

std::string AuthenticationStoreError::description() const
{
    return std::visit(Describer {}, value());
}

} // namespace Shared
