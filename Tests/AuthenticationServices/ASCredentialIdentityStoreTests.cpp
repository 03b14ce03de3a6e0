#include "Platform/AuthenticationServices/ASCredentialIdentityStore.hpp"

#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/FileManager.hpp"
#include "Tests/Support/Files.hpp"

#include <gtest/gtest.h>

#include <filesystem>

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
