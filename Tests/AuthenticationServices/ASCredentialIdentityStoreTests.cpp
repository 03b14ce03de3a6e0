#include "Platform/AuthenticationServices/ASCredentialIdentityStore.hpp"

#include "Platform/Foundation/Codable.hpp"
#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/FileIO.hpp"
#include "Platform/Foundation/FileManager.hpp"
#include "Platform/Foundation/JSONEncoder.hpp"
#include "Tests/Support/Files.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

using namespace AuthenticationServices;

constexpr const char* group = "group.test.identities";

class ASCredentialIdentityStoreTest : public testing::Test {
protected:
    void SetUp() override
    {
        Foundation::FileManager::registerApplicationGroup(group);
        // Each test starts from a service that never wrote anything.
        std::filesystem::remove_all(ASCredentialIdentityStore(group).folderURL().path().utf8());
    }
};

TEST_F(ASCredentialIdentityStoreTest, KeepsTheListAndTheSwitch)
{
    ASCredentialIdentityStore store(group);
    EXPECT_TRUE(store.credentialIdentities().empty());
    EXPECT_FALSE(store.state().isEnabled);

    std::vector<ASPasswordCredentialIdentity> identities {
        {ASCredentialServiceIdentifier("forum.example", ASCredentialServiceIdentifierType::domain), "alice", Foundation::String("A1")},
        {ASCredentialServiceIdentifier("https://bank.example/login", ASCredentialServiceIdentifierType::URL), "", std::nullopt},
    };
    store.replaceCredentialIdentities(identities);
    EXPECT_EQ(ASCredentialIdentityStore(group).credentialIdentities(), identities);
    store.replaceCredentialIdentities({});
    EXPECT_TRUE(store.credentialIdentities().empty());

    store.setEnabled(true);
    EXPECT_TRUE(ASCredentialIdentityStore(group).state().isEnabled);
    store.setEnabled(false);
    EXPECT_FALSE(store.state().isEnabled);
}

namespace {

// The list's layout as the encoder writes it, which readers of the file have always met.
struct EncodedIdentity {
    ASPasswordCredentialIdentity identity;
    void encode(Foundation::Encoder& encoder) const
    {
        auto container = encoder.container();
        {
            auto service = container.nestedContainer("serviceIdentifier");
            service.encode(identity.serviceIdentifier.identifier(), "identifier");
            service.encode(Foundation::String(identity.serviceIdentifier.type() == ASCredentialServiceIdentifierType::URL ? "URL" : "domain"), "type");
        }
        container.encode(identity.user, "user");
        container.encodeIfPresent(identity.recordIdentifier, "recordIdentifier");
    }
};

} // namespace

TEST_F(ASCredentialIdentityStoreTest, TheListIsWrittenInTheEncodersLayout)
{
    ASCredentialIdentityStore store(group);
    auto file = store.folderURL().appendingPathComponent(Foundation::String("CredentialIdentities.json"), false).path().utf8();
    std::vector<ASPasswordCredentialIdentity> identities {
        {ASCredentialServiceIdentifier("forum.example", ASCredentialServiceIdentifierType::domain), "al\"ice\\", Foundation::String("A/1")},
        {ASCredentialServiceIdentifier("https://b\u00e4nk.example/log in?x=1&y=\t", ASCredentialServiceIdentifierType::URL), "", std::nullopt},
        {ASCredentialServiceIdentifier("\U0001F468.example", ASCredentialServiceIdentifierType::domain), "\x01\x1f", Foundation::String("")},
    };
    // A list of a large vault goes to the file in parts: the same layout across every part's end.
    std::vector<ASPasswordCredentialIdentity> large;
    for (int i = 0; i < 3000; ++i)
        large.push_back({ASCredentialServiceIdentifier(Foundation::String("site" + std::to_string(i) + ".example"), ASCredentialServiceIdentifierType::domain),
                         Foundation::String("user\"" + std::to_string(i)), Foundation::String("item-" + std::to_string(i))});
    for (const auto& list : {identities, std::vector<ASPasswordCredentialIdentity> {}, large}) {
        store.replaceCredentialIdentities(list);
        std::vector<EncodedIdentity> encoded;
        for (const auto& identity : list)
            encoded.push_back({identity});
        EXPECT_EQ(Foundation::FileIO::readFile(file), Foundation::make<Foundation::JSONEncoder>()->encode(encoded));
        EXPECT_EQ(store.credentialIdentities(), list);
    }
}

TEST_F(ASCredentialIdentityStoreTest, DamageIsNeverTakenForAList)
{
    ASCredentialIdentityStore store(group);
    store.setEnabled(true);
    TestSupport::writeText(store.folderURL().path().utf8() + "/State.json", "{\"isEnabled\": tru");
    EXPECT_FALSE(store.state().isEnabled);
    TestSupport::writeText(store.folderURL().path().utf8() + "/CredentialIdentities.json", "[{\"user\": 1}]");
    EXPECT_THROW(store.credentialIdentities(), Foundation::Error);
    EXPECT_THROW(ASCredentialIdentityStore("group.not.ours"), Foundation::Error);
}

} // namespace
