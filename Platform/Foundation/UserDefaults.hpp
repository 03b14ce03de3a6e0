#pragma once

#include "Platform/Foundation/Data.hpp"
#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/Notification.hpp"
#include "Platform/Foundation/PropertyListValue.hpp"
#include "Platform/Foundation/String.hpp"

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace Foundation {

// The defaults database. A lookup searches the object's persistent domain, then the defaults it had
// registered. Every object over the same domain shares that domain's values, and each change is written
// at once to the domain's file, $XDG_CONFIG_HOME/Preferences/<domain>.json, atomically. A change is
// applied to what the file holds at that moment, so processes sharing a suite do not undo one another's
// changes. Safe to use from any thread.
class UserDefaults : public NSObject {
public:
    using Array = PropertyListValue::Array;
    using Dictionary = PropertyListValue::Dictionary;

    // "NSUserDefaultsDidChangeNotification": posted, with the object that made it, after every change to
    // a persistent domain, on the thread that made it.
    static const Notification::Name& didChangeNotification();

    // Over the program's own domain, named by FileManager::applicationIdentifier().
    static const std::shared_ptr<UserDefaults>& standard();
    // init(suiteName:): nothing for the program's own identifier, "NSGlobalDomain", or a name that cannot
    // name a file (blank, containing "/" or NUL, "." or ".."). No name gives the program's own domain.
    static std::shared_ptr<UserDefaults> withSuiteName(const std::optional<String>& suiteName);

    std::optional<PropertyListValue> object(const String& forKey) const;
    // A number reads as its text ("42", "1.5"; a boolean as "1" or "0").
    std::optional<String> string(const String& forKey) const;
    std::optional<Array> array(const String& forKey) const;
    std::optional<Dictionary> dictionary(const String& forKey) const;
    // Nothing unless every element is a string.
    std::optional<std::vector<String>> stringArray(const String& forKey) const;
    std::optional<Data> data(const String& forKey) const;
    // Numbers convert (a real towards zero); a string reads its leading integer; anything else is 0.
    std::int64_t integer(const String& forKey) const;
    // Numbers convert; a string reads its leading number; anything else is 0.
    double double_(const String& forKey) const;
    // A number is true when it is not 0; a string when it is "true" or "yes" in any case, or when its
    // leading integer is not 0; anything else is false.
    bool bool_(const String& forKey) const;

    // Nothing removes the key.
    void set(const std::optional<PropertyListValue>& value, const String& forKey);
    void removeObject(const String& forKey);
    // The registered defaults overlaid with the persistent domain.
    Dictionary dictionaryRepresentation() const;
    // Wipes every key of that domain, for every object over it, and removes its file.
    void removePersistentDomain(const String& forName);
    // Later registrations of a key replace earlier ones. Kept in memory only, for this object.
    void register_(const Dictionary& defaults);

protected:
    friend Construct;
    class Domain;
    explicit UserDefaults(std::shared_ptr<Domain> domain);

private:
    void postDidChange();

    std::shared_ptr<Domain> m_domain;
    mutable std::mutex m_registrationMutex;
    Dictionary m_registration;
};

} // namespace Foundation
