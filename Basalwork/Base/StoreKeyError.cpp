#include "Basalwork/Base/StoreKeyError.hpp"

#include "Platform/Foundation/CharacterSet.hpp"
#include "Platform/Foundation/Describe.hpp"

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

std::string StoreKeyError::description() const
{
    const auto& invalid = std::get<InvalidKey>(m_case);
    return "invalidKey(key: " + Foundation::debugQuoted(invalid.key.view()) + ", reason: " + Foundation::debugQuoted(invalid.reason.view()) + ")";
}

} // namespace Basalwork
