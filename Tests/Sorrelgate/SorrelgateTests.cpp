#include "Tests/Sorrelgate/ExtensionFixture.hpp"

#include "Sorrelgate/ASCredentialServiceIdentifier.hpp"
#include "Sorrelgate/CredentialRequest.hpp"

#include "Basalwork/Base/GeneralError.hpp"

#include <filesystem>

namespace SorrelgateTests {
namespace {

using AuthenticationServices::ASCredentialRequest;
using AuthenticationServices::ASCredentialRequestType;
using AuthenticationServices::ASCredentialServiceIdentifier;
using Type = AuthenticationServices::ASCredentialServiceIdentifierType;

TEST(SorrelgateTest, ANewItemsSiteIsTheURLsHostOrTheWholeText)
{
    EXPECT_EQ(Sorrelgate::hostOrIdentifier({"https://login.example.com/path?x=1", Type::URL}), Foundation::String("login.example.com"));
    EXPECT_EQ(Sorrelgate::hostOrIdentifier({"example.com", Type::domain}), Foundation::String("example.com"));
    EXPECT_EQ(Sorrelgate::hostOrIdentifier({"https://a.example/", Type::domain}), Foundation::String("https://a.example/"));
    EXPECT_EQ(Sorrelgate::hostOrIdentifier({"mailto:someone", Type::URL}), Foundation::String("mailto:someone"));
    EXPECT_EQ(Sorrelgate::hostOrIdentifier({"not a url", Type::URL}), Foundation::String("not a url"));
}

TEST(SorrelgateTest, ACredentialRequestTakesItsIdentitysRecordAndSite)
{
    ASCredentialServiceIdentifier site("forum.example", Type::domain);
    EXPECT_EQ(Sorrelgate::CredentialRequest(ASCredentialRequest(ASCredentialRequestType::password, {site, "alice", Foundation::String("R1")})),
              Sorrelgate::CredentialRequest::password("R1", {site}));
    EXPECT_EQ(Sorrelgate::CredentialRequest(ASCredentialRequest(ASCredentialRequestType::oneTimeCode, {site, "alice", Foundation::String("R1")})),
              Sorrelgate::CredentialRequest::oneTimePassword("R1", {site}));
    try {
        Sorrelgate::CredentialRequest(ASCredentialRequest(ASCredentialRequestType::password, {site, "alice", std::nullopt}));
        ADD_FAILURE() << "an identity without a record made a request";
    } catch (const Foundation::Error& error) {
        EXPECT_EQ(error.domain(), "Sorrelgate.CredentialProviderVC.Errors");
        EXPECT_EQ(error.code(), 3);
    }
    EXPECT_THROW(Sorrelgate::CredentialRequest(ASCredentialRequest(ASCredentialRequestType::passkeyAssertion, {site, "", Foundation::String("R1")})),
                 Basalwork::GeneralError);
}

TEST_F(ExtensionTest, TheServicesAreBuiltOnceFromTheApplicationGroup)
{
    const auto& first = Sorrelgate::Dependencies::shared();
    const auto& second = Sorrelgate::Dependencies::shared();
    EXPECT_EQ(&first, &second);
    EXPECT_EQ(first.recordStore, second.recordStore);
    EXPECT_TRUE(first.appExecutionContext.isExtension());
    EXPECT_TRUE(first.localChangeCoordinator);
    auto container = Foundation::FileManager::defaultManager()->containerURL(Shared::Global::App::appGroupIdentifier());
    EXPECT_TRUE(std::filesystem::exists(container->path().utf8() + "/Library/Application Support/RecordStore/Production"));
    EXPECT_TRUE(std::filesystem::exists(container->path().utf8() + "/Library/Application Support/AttachmentStore"));
}

} // namespace
} // namespace SorrelgateTests
