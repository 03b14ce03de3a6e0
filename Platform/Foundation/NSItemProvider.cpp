#include "Platform/Foundation/NSItemProvider.hpp"

#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/NSError.hpp"
#include "Platform/Foundation/Progress.hpp"

#include <algorithm>
#include <filesystem>

namespace Foundation {

namespace {

// NSItemProviderErrorDomain's code for a kind the provider cannot give.
constexpr std::int64_t unavailableCoercionErrorCode = -1000;

} // namespace

void NSItemProvider::LoadedFile::remove() const
{
    if (remover) {
        remover(url);
        return;
    }
    std::error_code ignored;
    std::filesystem::remove(url.path().utf8(), ignored);
}

NSItemProvider::~NSItemProvider()
{
    for (const auto& file : m_loadedFiles)
        file.remove();
}

void NSItemProvider::registerFileRepresentation(const String& typeIdentifier, FileLoadHandler loadHandler, FileRemover remover)
{
    m_representations.push_back({typeIdentifier, std::move(loadHandler), std::move(remover)});
}

std::vector<String> NSItemProvider::registeredTypeIdentifiers() const
{
    std::vector<String> identifiers;
    for (const auto& representation : m_representations)
        identifiers.push_back(representation.typeIdentifier);
    return identifiers;
}

bool NSItemProvider::hasItemConformingToTypeIdentifier(const String& typeIdentifier) const
{
    return std::ranges::any_of(m_representations, [&](const Representation& representation) { return representation.typeIdentifier == typeIdentifier; });
}

std::shared_ptr<Progress> NSItemProvider::loadFileRepresentation(const String& typeIdentifier, FileCompletion completionHandler)
{
    auto found = std::ranges::find_if(m_representations, [&](const Representation& representation) { return representation.typeIdentifier == typeIdentifier; });
    if (found == m_representations.end()) {
        ErrorPtr error = std::make_shared<NSError>("NSItemProviderErrorDomain", unavailableCoercionErrorCode);
        DispatchQueue::main()->async([completionHandler, error] { completionHandler(std::nullopt, error); });
        return make<Progress>(1);
    }
    // A load does not keep the provider: a file that arrives after it went has no owner and goes at once.
    std::weak_ptr<NSItemProvider> weak = sharedSelf(this);
    auto remover = found->remover;
    auto progress = found->loadHandler([weak, remover, completionHandler](const std::optional<URL>& url, const ErrorPtr& error) {
        DispatchQueue::main()->async([weak, remover, completionHandler, url, error] {
            auto self = weak.lock();
            if (url && self)
                self->m_loadedFiles.push_back({*url, remover});
            else if (url)
                LoadedFile {*url, remover}.remove();
            completionHandler(self ? url : std::nullopt, self ? error : std::make_shared<NSError>("NSItemProviderErrorDomain", unavailableCoercionErrorCode));
        });
    });
    return progress ? progress : make<Progress>(1);
}

} // namespace Foundation
