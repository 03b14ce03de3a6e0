#include "Basalwork/Base/StoreKeyError.hpp"

#include "Platform/Foundation/CharacterSet.hpp"
#include "Platform/Foundation/Describe.hpp"

#include <algorithm>

namespace Basalwork {
namespace {

void refuseSeparatorsAndNUL(const Foundation::String& piece)
{
    if (piece.view().find('/') != std::string_view::npos)
        throw StoreKeyError::invalidKey(piece, "contains a path separator");
    if (piece.view().find('\0') != std::string_view::npos)
        throw StoreKeyError::invalidKey(piece, "contains a NUL character");
}

} // namespace

void StoreKeyError::validateKey(const Foundation::String& key)
{
    if (key.trimmingCharacters(Foundation::CharacterSet::whitespacesAndNewlines()).isEmpty())
        throw invalidKey(key, "is blank");
    refuseSeparatorsAndNUL(key);
    if (key.view() == "." || key.view() == "..")
        throw invalidKey(key, "names a directory");
}

void StoreKeyError::validateExtension(const std::optional<Foundation::String>& fileExtension)
{
    if (fileExtension)
        refuseSeparatorsAndNUL(*fileExtension);
}

void StoreKeyError::validateSubdirectory(const std::optional<Foundation::String>& subdirectory)
{
    if (!subdirectory || subdirectory->trimmingCharacters(Foundation::CharacterSet::whitespacesAndNewlines()).isEmpty())
        return;
    const auto path = subdirectory->view();
    if (path.find('\0') != std::string_view::npos)
        throw invalidSubdirectory(*subdirectory, "contains a NUL character");
    if (path.front() == '/')
        throw invalidSubdirectory(*subdirectory, "is an absolute path");
    for (std::size_t start = 0; start <= path.size();) {
        auto end = std::min(path.find('/', start), path.size());
        auto component = path.substr(start, end - start);
        if (component == "." || component == "..")
            throw invalidSubdirectory(*subdirectory, "names a directory outside its own");
        start = end + 1;
    }
}

std::string StoreKeyError::description() const
{
    if (const auto* invalid = as<InvalidSubdirectory>())
        return "invalidSubdirectory(subdirectory: " + Foundation::debugQuoted(invalid->subdirectory.view())
            + ", reason: " + Foundation::debugQuoted(invalid->reason.view()) + ")";
    const auto& invalid = std::get<InvalidKey>(m_case);
    return "invalidKey(key: " + Foundation::debugQuoted(invalid.key.view()) + ", reason: " + Foundation::debugQuoted(invalid.reason.view()) + ")";
}

} // namespace Basalwork
