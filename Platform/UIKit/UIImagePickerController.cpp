#include "Platform/UIKit/UIImagePickerController.hpp"

#include <map>
#include <mutex>

namespace UIKit {
namespace {

using Sources = std::map<UIImagePickerController::SourceType, std::vector<Foundation::String>>;

Sources defaultSources()
{
    std::vector<Foundation::String> library {"public.image", "public.movie"};
    return {
        {UIImagePickerController::SourceType::photoLibrary, library},
        {UIImagePickerController::SourceType::savedPhotosAlbum, library},
    };
}

struct SourceRegistry {
    std::mutex mutex;
    Sources sources = defaultSources();
};

SourceRegistry& registry()
{
    static auto* shared = new SourceRegistry;
    return *shared;
}

} // namespace

UIImagePickerController::UIImagePickerController()
    : m_sourceType(SourceType::photoLibrary)
{
}

bool UIImagePickerController::isSourceTypeAvailable(SourceType sourceType)
{
    std::lock_guard lock(registry().mutex);
    return registry().sources.contains(sourceType);
}

std::optional<std::vector<Foundation::String>> UIImagePickerController::availableMediaTypes(SourceType forSourceType)
{
    std::lock_guard lock(registry().mutex);
    auto found = registry().sources.find(forSourceType);
    if (found == registry().sources.end())
        return std::nullopt;
    return found->second;
}

void UIImagePickerController::setSourceTypeAvailable(SourceType sourceType, bool available,
                                                     std::vector<Foundation::String> mediaTypes)
{
    std::lock_guard lock(registry().mutex);
    if (available)
        registry().sources.insert_or_assign(sourceType, std::move(mediaTypes));
    else
        registry().sources.erase(sourceType);
}

void UIImagePickerController::resetSourceTypes()
{
    std::lock_guard lock(registry().mutex);
    registry().sources = defaultSources();
}

} // namespace UIKit
