#include "Platform/Foundation/NSKeyedArchiver.hpp"

#include "Platform/Foundation/NSCoding.hpp"
#include "Platform/Foundation/NSError.hpp"

#include <nlohmann/json.hpp>

#include <cmath>
#include <typeinfo>

namespace Foundation {

std::string NSKeyedArchiver::archivedKey(std::string_view key)
{
    std::string archived;
    if (!key.empty() && key.front() == '$')
        archived += '$';
    archived += key;
    return archived;
}

nlohmann::ordered_json NSKeyedArchiver::archivedObject(const std::shared_ptr<NSObject>& object)
{
    if (!object)
        return nullptr;
    const NSObject& instance = *object;
    const auto* coding = dynamic_cast<const NSCoding*>(&instance);
    auto className = codingClassName(typeid(instance));
    if (!coding || !className) {
        throw NSError(NSCocoaErrorDomain, 4866,
                      {{NSDebugDescriptionErrorKey, "Class '" + instance.className() + "' is not registered for keyed archiving."}});
    }
    nlohmann::ordered_json archived = nlohmann::ordered_json::object();
    archived["$class"] = *className;
    coding->encode(*make<NSKeyedArchiver>(archived));
    return archived;
}

Data NSKeyedArchiver::archivedData(const std::shared_ptr<NSObject>& rootObject, bool)
{
    nlohmann::ordered_json archive = {
        {"$archiver", "NSKeyedArchiver"},
        {"$version", 100000},
        {"$top", {{"root", archivedObject(rootObject)}}},
    };
    return Data::fromString(archive.dump());
}

void NSKeyedArchiver::encodeBool(bool value, std::string_view key)
{
    (*m_object)[archivedKey(key)] = value;
}

void NSKeyedArchiver::encodeInteger(std::int64_t value, std::string_view key)
{
    (*m_object)[archivedKey(key)] = value;
}

void NSKeyedArchiver::encodeDouble(double value, std::string_view key)
{
    // Non-finite numbers have no JSON form of their own.
    if (std::isnan(value))
        (*m_object)[archivedKey(key)] = {{"$double", "nan"}};
    else if (std::isinf(value))
        (*m_object)[archivedKey(key)] = {{"$double", value < 0 ? "-inf" : "inf"}};
    else
        (*m_object)[archivedKey(key)] = value;
}

void NSKeyedArchiver::encodeString(const String& value, std::string_view key)
{
    (*m_object)[archivedKey(key)] = value.utf8();
}

void NSKeyedArchiver::encodeData(const Data& value, std::string_view key)
{
    (*m_object)[archivedKey(key)] = {{"$data", value.base64EncodedString()}};
}

void NSKeyedArchiver::encodeDate(const Date& value, std::string_view key)
{
    (*m_object)[archivedKey(key)] = {{"$date", value.timeIntervalSinceReferenceDate()}};
}

void NSKeyedArchiver::encodeObject(const std::shared_ptr<NSObject>& object, std::string_view key)
{
    if (object)
        (*m_object)[archivedKey(key)] = archivedObject(object);
}

} // namespace Foundation
