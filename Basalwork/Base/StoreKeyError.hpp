#pragma once

#include "Platform/Foundation/Enumeration.hpp"
#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/String.hpp"

#include <optional>
#include <variant>

namespace Basalwork {

// Raised by the keyed stores, before any file operation, for a key, identifier or file name that
// cannot name a file inside the store's own directory: one that is blank (it would name the directory
// itself), contains "/" (a file in another folder, or outside the store with ".."), contains NUL, or is
// "." or "..". A file extension is refused for "/" or NUL; a blank one is simply left off. A location's
// subdirectory may hold several components ("Library/Caches"), but none that is "." or "..", no NUL and
// no leading "/": it always names a folder inside the location's base directory. A blank one is no
// subdirectory at all.
class StoreKeyError : public Foundation::ErrorOf<StoreKeyError>, public Foundation::Enumeration<StoreKeyError> {
public:
    struct InvalidKey {
        Foundation::String key;
        Foundation::String reason;
    };
    struct InvalidSubdirectory {
        Foundation::String subdirectory;
        Foundation::String reason;
    };
    using Case = std::variant<InvalidKey, InvalidSubdirectory>;

    static StoreKeyError invalidKey(Foundation::String key, Foundation::String reason)
    {
        return StoreKeyError(InvalidKey {std::move(key), std::move(reason)});
    }
    static StoreKeyError invalidSubdirectory(Foundation::String subdirectory, Foundation::String reason)
    {
        return StoreKeyError(InvalidSubdirectory {std::move(subdirectory), std::move(reason)});
    }

    // Throw for a key, an extension or a subdirectory that could lead outside the store's folder.
    static void validateKey(const Foundation::String& key);
    static void validateExtension(const std::optional<Foundation::String>& fileExtension);
    static void validateSubdirectory(const std::optional<Foundation::String>& subdirectory);

    const Case& value() const { return m_case; }

    std::string domain() const override { return "Basalwork.StoreKeyError"; }
    std::int64_t code() const override { return index(); }
    std::string description() const override;

private:
    explicit StoreKeyError(Case value)
        : m_case(std::move(value))
    {
    }
    Case m_case;
};

} // namespace Basalwork
