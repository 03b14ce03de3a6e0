#pragma once

#include "Shared/Model/ErrorEnumeration.hpp"

#include "Platform/Foundation/String.hpp"

namespace Shared {

// Failures of the authentication store. None carries a password or a key.
struct AuthenticationStoreErrorCases {
    struct UnsupportedRecordsVersion {
        std::int64_t version;
    };
    struct DamagedAuthenticationRecords {
        Foundation::String reason;
    };
    struct UnexpectedState {
        Foundation::String operation;
        std::int64_t stateIndex;
    };
    struct NoMasterPassword { };
    struct MasterPasswordAlreadyCreated { };
    struct MasterPasswordTooShort { };
    struct MasterPasswordsDoNotMatch { };
    struct BiometryNotAvailable { };
    struct VaultLocked { };
    // What analytics records when the records could not be read (the state's error is shown beside it).
    struct FailedToReadAuthenticationRecords { };
    // What analytics records when the records could not be written.
    struct FailedToWriteAuthenticationRecords { };
};

class AuthenticationStoreError
    : public ErrorEnumeration<AuthenticationStoreError, AuthenticationStoreErrorCases::UnsupportedRecordsVersion,
                              AuthenticationStoreErrorCases::DamagedAuthenticationRecords, AuthenticationStoreErrorCases::UnexpectedState,
                              AuthenticationStoreErrorCases::NoMasterPassword, AuthenticationStoreErrorCases::MasterPasswordAlreadyCreated,
                              AuthenticationStoreErrorCases::MasterPasswordTooShort,
                              AuthenticationStoreErrorCases::MasterPasswordsDoNotMatch,
                              AuthenticationStoreErrorCases::BiometryNotAvailable, AuthenticationStoreErrorCases::VaultLocked,
                              AuthenticationStoreErrorCases::FailedToReadAuthenticationRecords,
                              AuthenticationStoreErrorCases::FailedToWriteAuthenticationRecords>,
      public AuthenticationStoreErrorCases {
public:
    static AuthenticationStoreError unsupportedRecordsVersion(std::int64_t version)
    {
        return AuthenticationStoreError(UnsupportedRecordsVersion {version});
    }
    static AuthenticationStoreError damagedAuthenticationRecords(Foundation::String reason)
    {
        return AuthenticationStoreError(DamagedAuthenticationRecords {std::move(reason)});
    }
    static AuthenticationStoreError unexpectedState(Foundation::String operation, std::int64_t stateIndex)
    {
        return AuthenticationStoreError(UnexpectedState {std::move(operation), stateIndex});
    }
    static AuthenticationStoreError noMasterPassword() { return AuthenticationStoreError(NoMasterPassword {}); }
    static AuthenticationStoreError masterPasswordAlreadyCreated() { return AuthenticationStoreError(MasterPasswordAlreadyCreated {}); }
    static AuthenticationStoreError masterPasswordTooShort() { return AuthenticationStoreError(MasterPasswordTooShort {}); }
    static AuthenticationStoreError masterPasswordsDoNotMatch() { return AuthenticationStoreError(MasterPasswordsDoNotMatch {}); }
    static AuthenticationStoreError biometryNotAvailable() { return AuthenticationStoreError(BiometryNotAvailable {}); }
    static AuthenticationStoreError vaultLocked() { return AuthenticationStoreError(VaultLocked {}); }
    static AuthenticationStoreError failedToReadAuthenticationRecords() { return AuthenticationStoreError(FailedToReadAuthenticationRecords {}); }
    static AuthenticationStoreError failedToWriteAuthenticationRecords() { return AuthenticationStoreError(FailedToWriteAuthenticationRecords {}); }

    std::string domain() const override { return "Shared.AuthenticationStoreError"; }
    std::string description() const override;

private:
    using ErrorEnumeration::ErrorEnumeration;
};

} // namespace Shared
