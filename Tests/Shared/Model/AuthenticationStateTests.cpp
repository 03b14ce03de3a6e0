#include "Shared/Model/AuthenticationState.hpp"
#include "Shared/Model/PasswordEntryReEntryState.hpp"

#include <gtest/gtest.h>

using namespace Shared;
using State = AuthenticationState;

TEST(AuthenticationStateTests, TheCasesTheLockScreensIndexStandWhereTheyExpect)
{
    EXPECT_EQ(State(State::Locked {Biometry::none, true, true, std::nullopt}).index(), 9);
    EXPECT_EQ(State(State::NoMasterPassword {}).index(), 14);
    EXPECT_EQ(State(State::ChangeMasterPasswordRequested {}).index(), 22);
    EXPECT_EQ(State(State::ChoosingBackupFile {}).index(), 28);
    EXPECT_EQ(State(State::PasswordAuthenticationFailed {EntryAttemptState::failed(1)}).index(), 31);
    EXPECT_TRUE(State(State::Authenticated {}).isAuthenticated());
    EXPECT_EQ(State(State::Authenticated {}).index(), 32);
    EXPECT_TRUE(State(State::BackupPasswordEntry {Foundation::URL::fileURLWithPath("/a.backup")}).isIncludedInRestoreFromBackupFlow());
    EXPECT_FALSE(State(State::ResettingAccount {}).isIncludedInRestoreFromBackupFlow());
    EXPECT_EQ(State(State::Locked {Biometry::touchID, false, false, EntryAttemptState::failed(2)}).entryAttemptState(), EntryAttemptState::failed(2));
}

TEST(AuthenticationStateTests, ANewPasswordIsAcceptedOnlyLongEnoughAndTypedTwice)
{
    EXPECT_TRUE(PasswordEntryReEntryState(std::nullopt, std::nullopt).as<PasswordEntryReEntryState::TooShort>());
    EXPECT_TRUE(PasswordEntryReEntryState(Foundation::String("  1234567  "), Foundation::String("  1234567  ")).as<PasswordEntryReEntryState::TooShort>());
    EXPECT_TRUE(PasswordEntryReEntryState(Foundation::String("12345678"), Foundation::String("12345679")).as<PasswordEntryReEntryState::Mismatch>());
    EXPECT_EQ(PasswordEntryReEntryState(Foundation::String("12345678"), Foundation::String("12345678")).acceptedPassword(), Foundation::String("12345678"));
    EXPECT_EQ(PasswordEntryReEntryState(Foundation::String("12345678"), Foundation::String("12345678")).value().index(), 2u);
}
