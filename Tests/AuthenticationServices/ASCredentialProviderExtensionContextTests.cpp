#include "Platform/AuthenticationServices/ASCredentialProviderExtensionContext.hpp"
#include "Platform/AuthenticationServices/ASExtensionError.hpp"

#include "Platform/Foundation/NSError.hpp"
#include "Tests/Support/MainLoop.hpp"

#include <gtest/gtest.h>

namespace {

using AuthenticationServices::ASCredentialProviderExtensionContext;
using Context = ASCredentialProviderExtensionContext;

TEST(ASCredentialProviderExtensionContextTest, ARequestEndsOnceAndTheServiceHearsOfItLater)
{
    auto context = Foundation::make<Context>();
    std::vector<Context::Outcome> heard;
    context->setOutcomeHandler([&](const Context::Outcome& outcome) { heard.push_back(outcome); });
    int completions = 0;
    context->completeRequest({"alice", "secret"}, [&](bool expired) {
        EXPECT_FALSE(expired);
        ++completions;
    });
    EXPECT_TRUE(heard.empty());
    EXPECT_EQ(completions, 0);

    // A double click, or a click and Return together: nothing more leaves.
    context->completeRequest({"bob", "other"}, [&](bool) { ++completions; });
    context->completeOneTimeCodeRequest({"123456"}, nullptr);
    context->cancelRequest(Foundation::NSError(AuthenticationServices::ASExtensionErrorDomain, 1));
    context->completeExtensionConfigurationRequest();
    TestSupport::runMainLoopUntilIdle();

    ASSERT_EQ(heard.size(), 1U);
    EXPECT_EQ(heard.front(), Context::Outcome(Context::CompletedWithPassword {{"alice", "secret"}}));
    EXPECT_EQ(*context->outcome(), heard.front());
    EXPECT_EQ(completions, 1);
    EXPECT_EQ(context->ignoredCallCount(), 4);
}

TEST(ASCredentialProviderExtensionContextTest, ACancellationKeepsOnlyTheDomainAndCode)
{
    auto context = Foundation::make<Context>();
    context->cancelRequest(Foundation::NSError("Shared.RecordStoreError", 8, {{Foundation::NSLocalizedDescriptionKey, "private text"}}));
    EXPECT_EQ(*context->outcome(), Context::Outcome(Context::Cancelled {"Shared.RecordStoreError", 8}));
}

} // namespace
