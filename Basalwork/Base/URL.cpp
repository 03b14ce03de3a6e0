#include "Basalwork/Base/URL.hpp"

#include "Platform/Foundation/CharacterSet.hpp"

namespace Basalwork {
namespace {

// The piece when it is present: not nil and not blank.
const Foundation::String* present(const std::optional<Foundation::String>& piece)
{
    if (!piece || piece->trimmingCharacters(Foundation::CharacterSet::whitespacesAndNewlines()).isEmpty())
        return nullptr;
    return &*piece;
}

} // namespace

void appendPathComponent(Foundation::URL& url, const std::optional<Foundation::String>& pathComponent, bool isDirectory)
{
    if (auto* component = present(pathComponent))
        url.appendPathComponent(*component, isDirectory);
}

Foundation::URL appendingPathComponent(const Foundation::URL& url, const std::optional<Foundation::String>& pathComponent,
                                       bool isDirectory)
{
    auto result = url;
    appendPathComponent(result, pathComponent, isDirectory);
    return result;
}

void appendDirectory(Foundation::URL& url, const std::optional<Foundation::String>& directory)
{
    appendPathComponent(url, directory, true);
}

Foundation::URL appendingDirectory(const Foundation::URL& url, const std::optional<Foundation::String>& directory)
{
    return appendingPathComponent(url, directory, true);
}

void appendPathExtension(Foundation::URL& url, const std::optional<Foundation::String>& pathExtension)
{
    if (auto* extension = present(pathExtension))
        url.appendPathExtension(*extension);
}

Foundation::URL appendingPathExtension(const Foundation::URL& url, const std::optional<Foundation::String>& pathExtension)
{
    auto result = url;
    appendPathExtension(result, pathExtension);
    return result;
}

void appendFilename(Foundation::URL& url, const std::optional<Foundation::String>& filename,
                    const std::optional<Foundation::String>& withExtension)
{
    appendPathComponent(url, filename, false);
    appendPathExtension(url, withExtension);
}

Foundation::URL appendingFilename(const Foundation::URL& url, const std::optional<Foundation::String>& filename,
                                  const std::optional<Foundation::String>& withExtension)
{
    auto result = url;
    appendFilename(result, filename, withExtension);
    return result;
}

} // namespace Basalwork
