#include "Shared/Screens/AuthenticationV.State.hpp"

#include <gtest/gtest.h>

using Foundation::String;
using State = Shared::AuthenticationVState;

TEST(AuthenticationVState, CasesKeepThePositionsTheLockScreensPickThemBy)
{
    EXPECT_EQ(State(State::CreateMasterPassword {}).index(), 1);
    EXPECT_EQ(State(State::ResetAccountConfirmation {}).index(), 9);
    EXPECT_EQ(State(State::EvaluatingBiometry {}).index(), 15);
    EXPECT_EQ(State(State::Locked {}).index(), 16);
    EXPECT_EQ(State(State::AutoFillActivationConfirmation {}).index(), 17);
    EXPECT_EQ(State(State::EncounteredError {}).index(), 18);
    EXPECT_EQ(State(State::WaitingForInitialFetch {}).index(), 20);
    EXPECT_EQ(State(State::OpenMainApp {}).index(), 28);
    EXPECT_EQ(State(State::Authenticated {}).index(), 30);
}

TEST(AuthenticationVState, TypedTextsGoOnlyIntoCasesWithTheirField)
{
    State create = State::CreateMasterPassword {};
    auto typed = create.withEntryText(String("correct horse")).withReEntryText(String("correct horse"));
    EXPECT_EQ(typed.entryReEntryState().acceptedPassword(), String("correct horse"));
    EXPECT_FALSE(create.withEntryText(String("short")).withReEntryText(String("short")).entryReEntryState().acceptedPassword());
    EXPECT_FALSE(typed.withReEntryText(String("correct horsE")).entryReEntryState().acceptedPassword());

    State reset = State::ResetAccountConfirmation {};
    EXPECT_TRUE(reset.hasEntryField());
    EXPECT_FALSE(reset.hasReEntryField());
    EXPECT_EQ(reset.withReEntryText(String("x")), reset);

    State loading = State::Loading {};
    EXPECT_FALSE(loading.hasEntryField());
    EXPECT_EQ(loading.withEntryText(String("x")), loading);
    // A case without fields never counts as an accepted new password.
    EXPECT_FALSE(loading.entryReEntryState().acceptedPassword());
}

TEST(AuthenticationVState, OnlyTheExactConfirmationTextConfirmsAReset)
{
    EXPECT_TRUE(State::matchesResetAccountConfirmationText(String("RESET")));
    EXPECT_TRUE(State::matchesResetAccountConfirmationText(String("  RESET\n")));
    for (const char* wrong : {"", "reset", "RESET!", "RE SET", "RESETRESET", "R\u200bESET"})
        EXPECT_FALSE(State::matchesResetAccountConfirmationText(String(wrong))) << wrong;
}
