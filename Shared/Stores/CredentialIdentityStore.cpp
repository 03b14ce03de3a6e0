#include "Shared/Stores/CredentialIdentityStore.hpp"

#include "Basalwork/Base/File.Location.hpp"
#include "Basalwork/Base/JSONCoder.hpp"

#include "Platform/Foundation/Codable.hpp"
#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/FileIO.hpp"

#include <filesystem>

namespace Shared {

namespace {

struct ServiceIdentifier {
    Foundation::String identifier;
    Foundation::String type;
    void encode(Foundation::Encoder& encoder) const
    {
        auto container = encoder.container();
        container.encode(identifier, "identifier");
        container.encode(type, "type");
    }
    static ServiceIdentifier decode(Foundation::Decoder& decoder)
    {
        auto container = decoder.container();
        return {container.decode<Foundation::String>("identifier"), container.decode<Foundation::String>("type")};
    }
};

struct StoredIdentity {
    ServiceIdentifier serviceIdentifier;
    Foundation::String user;
    Foundation::String recordIdentifier;
    void encode(Foundation::Encoder& encoder) const
    {
        auto container = encoder.container();
        container.encode(serviceIdentifier, "serviceIdentifier");
        container.encode(user, "user");
        container.encode(recordIdentifier, "recordIdentifier");
    }
    static StoredIdentity decode(Foundation::Decoder& decoder)
    {
        auto container = decoder.container();
        return {container.decode<ServiceIdentifier>("serviceIdentifier"), container.decode<Foundation::String>("user"),
                container.decode<Foundation::String>("recordIdentifier")};
    }
};

struct State {
    bool isEnabled = false;
    static State decode(Foundation::Decoder& decoder)
    {
        auto container = decoder.container();
        return {container.decodeIfPresent<bool>("isEnabled").value_or(false)};
    }
};

} // namespace

CredentialIdentityStore::CredentialIdentityStore(const Foundation::String& applicationGroupIdentifier)
    : m_folderURL(Basalwork::File::Location::appGroup(applicationGroupIdentifier, Foundation::String("Library/Application Support/AutoFill"))
                      .url(*Foundation::FileManager::defaultManager()))
{
}

bool CredentialIdentityStore::isEnabled() const
{
    auto path = m_folderURL.appendingPathComponent("State.json", false).path().utf8();
    if (!std::filesystem::exists(path))
        return false;
    bool enabled = false;
    // A state the stand-in left damaged counts as switched off.
    Foundation::catchError([&] { enabled = Basalwork::JSONCoder::shared()->decode<State>(Foundation::FileIO::readFile(path)).isEnabled; });
    return enabled;
}

void CredentialIdentityStore::replaceCredentialIdentities(const std::vector<Identity>& identities) const
{
    std::vector<StoredIdentity> stored;
    stored.reserve(identities.size());
    for (const auto& identity : identities)
        stored.push_back({{identity.serviceIdentifier, "domain"}, identity.user, identity.recordIdentifier});
    Foundation::FileIO::writeFile(m_folderURL.appendingPathComponent("CredentialIdentities.json", false).path().utf8(),
                                  Basalwork::JSONCoder::shared()->encode(stored), true);
}

std::vector<CredentialIdentityStore::Identity> CredentialIdentityStore::credentialIdentities() const
{
    auto path = m_folderURL.appendingPathComponent("CredentialIdentities.json", false).path().utf8();
    if (!std::filesystem::exists(path))
        return {};
    std::vector<Identity> identities;
    for (const auto& stored : Basalwork::JSONCoder::shared()->decode<std::vector<StoredIdentity>>(Foundation::FileIO::readFile(path)))
        identities.push_back({stored.serviceIdentifier.identifier, stored.user, stored.recordIdentifier});
    return identities;
}

} // namespace Shared
