#include "Platform/AuthenticationServices/ASCredentialIdentityStore.hpp"

#include "Platform/Foundation/Codable.hpp"
#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/FileIO.hpp"
#include "Platform/Foundation/FileManager.hpp"
#include "Platform/Foundation/JSONDecoder.hpp"
#include "Platform/Foundation/JSONEncoder.hpp"
#include "Platform/Foundation/JSONWriter.hpp"
#include "Platform/Foundation/NSError.hpp"

#include <filesystem>
#include <utility>

namespace AuthenticationServices {

namespace {

using Foundation::String;

struct StoredIdentity {
    ASPasswordCredentialIdentity identity;

    void encode(Foundation::Encoder& encoder) const
    {
        auto container = encoder.container();
        {
            auto service = container.nestedContainer("serviceIdentifier");
            service.encode(identity.serviceIdentifier.identifier(), "identifier");
            service.encode(String(identity.serviceIdentifier.type() == ASCredentialServiceIdentifierType::URL ? "URL" : "domain"), "type");
        }
        container.encode(identity.user, "user");
        container.encodeIfPresent(identity.recordIdentifier, "recordIdentifier");
    }
    static StoredIdentity decode(Foundation::Decoder& decoder)
    {
        auto container = decoder.container();
        auto service = container.nestedContainer("serviceIdentifier");
        auto type = service.decode<String>("type") == String("URL") ? ASCredentialServiceIdentifierType::URL : ASCredentialServiceIdentifierType::domain;
        return {{ASCredentialServiceIdentifier(service.decode<String>("identifier"), type), container.decode<String>("user"),
                 container.decodeIfPresent<String>("recordIdentifier")}};
    }
};

struct StoredState {
    bool isEnabled = false;
    void encode(Foundation::Encoder& encoder) const
    {
        auto container = encoder.container();
        container.encode(isEnabled, "isEnabled");
    }
    static StoredState decode(Foundation::Decoder& decoder)
    {
        auto container = decoder.container();
        return {container.decodeIfPresent<bool>("isEnabled").value_or(false)};
    }
};

std::string path(const Foundation::URL& folder, const char* name)
{
    return folder.appendingPathComponent(String(name), false).path().utf8();
}

void write(const Foundation::URL& folder, const char* name, const Foundation::Data& data)
{
    Foundation::FileIO::makeDirectories(folder.path().utf8());
    Foundation::FileIO::writeFile(path(folder, name), data, true);
}

Foundation::URL folder(const String& applicationGroupIdentifier)
{
    auto container = Foundation::FileManager::defaultManager()->containerURL(applicationGroupIdentifier);
    if (!container)
        throw Foundation::NSError(Foundation::NSCocoaErrorDomain, 4,
                                  {{Foundation::NSDebugDescriptionErrorKey, "The application group \"" + applicationGroupIdentifier.utf8() + "\" has no container."}});
    return container->appendingPathComponent(String("Library/Application Support/AutoFill"), true);
}

} // namespace

ASCredentialIdentityStore::ASCredentialIdentityStore(const String& applicationGroupIdentifier)
    : m_folderURL(folder(applicationGroupIdentifier))
{
}

ASCredentialIdentityStore::State ASCredentialIdentityStore::state() const
{
    State state;
    auto file = path(m_folderURL, "State.json");
    std::error_code error;
    if (!std::filesystem::exists(file, error))
        return state;
    Foundation::catchError([&] { state.isEnabled = Foundation::make<Foundation::JSONDecoder>()->decode<StoredState>(Foundation::FileIO::readFile(file)).isEnabled; });
    return state;
}

void ASCredentialIdentityStore::setEnabled(bool isEnabled) const
{
    write(m_folderURL, "State.json", Foundation::make<Foundation::JSONEncoder>()->encode(StoredState {isEnabled}));
}

void ASCredentialIdentityStore::replaceCredentialIdentities(const std::vector<ASPasswordCredentialIdentity>& identities) const
{
    // A large vault names hundreds of thousands of sites: the list is written straight into the file a
    // part at a time, in the layout the encoder gives StoredIdentity, never whole in memory.
    Foundation::FileIO::makeDirectories(m_folderURL.path().utf8());
    Foundation::FileIO::AtomicWriter file(path(m_folderURL, "CredentialIdentities.json"));
    constexpr std::size_t partSize = 64 * 1024;
    std::string text = "[";
    text.reserve(partSize + 1024);
    bool first = true;
    for (const auto& identity : identities) {
        if (!std::exchange(first, false))
            text += ',';
        text += R"({"serviceIdentifier":{"identifier":)";
        Foundation::JSONWriter::appendString(text, identity.serviceIdentifier.identifier().utf8());
        text += R"(,"type":)";
        text += identity.serviceIdentifier.type() == ASCredentialServiceIdentifierType::URL ? R"("URL")" : R"("domain")";
        text += R"(},"user":)";
        Foundation::JSONWriter::appendString(text, identity.user.utf8());
        if (identity.recordIdentifier) {
            text += R"(,"recordIdentifier":)";
            Foundation::JSONWriter::appendString(text, identity.recordIdentifier->utf8());
        }
        text += '}';
        if (text.size() >= partSize) {
            file.write(text.data(), text.size());
            text.clear();
        }
    }
    text += ']';
    file.write(text.data(), text.size());
    file.commit();
}

std::vector<ASPasswordCredentialIdentity> ASCredentialIdentityStore::credentialIdentities() const
{
    auto file = path(m_folderURL, "CredentialIdentities.json");
    std::error_code error;
    if (!std::filesystem::exists(file, error))
        return {};
    std::vector<ASPasswordCredentialIdentity> identities;
    for (auto& stored : Foundation::make<Foundation::JSONDecoder>()->decode<std::vector<StoredIdentity>>(Foundation::FileIO::readFile(file)))
        identities.push_back(std::move(stored.identity));
    return identities;
}

} // namespace AuthenticationServices
