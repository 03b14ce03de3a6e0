#include "Basalwork/Base/Bundle.hpp"

namespace Basalwork {
namespace {

std::optional<Foundation::String> mainBundleString(const char* key)
{
    auto value = Foundation::Bundle::main()->object(key);
    return value ? value->as<Foundation::String>() : std::nullopt;
}

} // namespace

std::optional<Foundation::String> version(const Foundation::Bundle&)
{
    return mainBundleString("CFBundleShortVersionString");
}

std::optional<Foundation::String> build(const Foundation::Bundle&)
{
    return mainBundleString("CFBundleVersion");
}

std::optional<SemanticVersion> semanticVersion(const Foundation::Bundle& bundle)
{
    return SemanticVersion::parseOptional(version(bundle));
}

std::optional<Foundation::String> versionAndBuildCompact(const Foundation::Bundle& bundle)
{
    auto v = version(bundle);
    auto b = build(bundle);
    if (!v || !b)
        return std::nullopt;
    return "v" + *v + " (" + *b + ")";
}

std::optional<Foundation::String> versionAndBuildFull(const Foundation::Bundle& bundle)
{
    auto v = version(bundle);
    auto b = build(bundle);
    if (!v || !b)
        return std::nullopt;
    return "Version " + *v + " (build " + *b + ")";
}

} // namespace Basalwork
