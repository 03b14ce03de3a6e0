#include "Basalwork/Base/UserDefaults.hpp"

#include "Platform/Foundation/Logger.hpp"

namespace Basalwork {
namespace {

// The default log: no subsystem, no category.
const Foundation::Logger& defaultLog()
{
    static const Foundation::Logger logger("", "");
    return logger;
}

} // namespace

namespace detail {

void logCodableValueFailure(const Foundation::String& key, const Foundation::Error& error)
{
    defaultLog().error("UserDefaults.codableValue for key \"%{public}@\" failed with error: %@", key, error.description());
}

void logSetCodableFailure(const Foundation::String& key, const Foundation::Error& error)
{
    defaultLog().error("UserDefaults.set(codable:) for key: %{public}@ failed with error: %@", key, error.description());
}

} // namespace detail

std::optional<Foundation::Date> date(const Foundation::UserDefaults& userDefaults, const Foundation::String& forKey)
{
    auto object = userDefaults.object(forKey);
    return object ? object->as<Foundation::Date>() : std::nullopt;
}

void clearAllValues(Foundation::UserDefaults& userDefaults, const Foundation::String& forBundleIdentifier)
{
    userDefaults.removePersistentDomain(forBundleIdentifier);
}

} // namespace Basalwork
