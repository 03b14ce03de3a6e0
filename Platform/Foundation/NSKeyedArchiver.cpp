#include "Platform/Foundation/NSKeyedArchiver.hpp"

#include "Platform/Foundation/JSONStreamWriter.hpp"
#include "Platform/Foundation/NSCoding.hpp"
#include "Platform/Foundation/NSError.hpp"

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

void NSKeyedArchiver::writeObject(JSONStreamWriter& writer, const std::shared_ptr<NSObject>& object)
{
    if (!object) {
        writer.null();
        return;
    }
    const NSObject& instance = *object;
    const auto* coding = dynamic_cast<const NSCoding*>(&instance);
    auto className = codingClassName(typeid(instance));
    if (!coding || !className) {
        throw NSError(NSCocoaErrorDomain, 4866,
                      {{NSDebugDescriptionErrorKey, "Class '" + instance.className() + "' is not registered for keyed archiving."}});
    }
    writer.beginObject().key("$class").string(*className);
    coding->encode(*make<NSKeyedArchiver>(writer));
    writer.endObject();
}

Data NSKeyedArchiver::archivedData(const std::shared_ptr<NSObject>& rootObject, bool)
{
    JSONStreamWriter writer;
    writer.beginObject().key("$archiver").string("NSKeyedArchiver").key("$version").integer(100000);
    writer.key("$top").beginObject().key("root");
    writeObject(writer, rootObject);
    writer.endObject().endObject();
    return Data::fromString(writer.take());
}

void NSKeyedArchiver::encodeBool(bool value, std::string_view key)
{
    m_writer->key(archivedKey(key)).boolean(value);
}

void NSKeyedArchiver::encodeInteger(std::int64_t value, std::string_view key)
{
    m_writer->key(archivedKey(key)).integer(value);
}

void NSKeyedArchiver::encodeDouble(double value, std::string_view key)
{
    m_writer->key(archivedKey(key));
    // Non-finite numbers have no JSON form of their own.
    if (std::isnan(value))
        m_writer->beginObject().key("$double").string("nan").endObject();
    else if (std::isinf(value))
        m_writer->beginObject().key("$double").string(value < 0 ? "-inf" : "inf").endObject();
    else
        m_writer->real(value);
}

void NSKeyedArchiver::encodeString(const String& value, std::string_view key)
{
    m_writer->key(archivedKey(key)).string(value.utf8());
}

void NSKeyedArchiver::encodeData(const Data& value, std::string_view key)
{
    m_writer->key(archivedKey(key)).beginObject().key("$data").string(value.base64EncodedString()).endObject();
}

void NSKeyedArchiver::encodeDate(const Date& value, std::string_view key)
{
    m_writer->key(archivedKey(key)).beginObject().key("$date").real(value.timeIntervalSinceReferenceDate()).endObject();
}

void NSKeyedArchiver::encodeObject(const std::shared_ptr<NSObject>& object, std::string_view key)
{
    if (!object)
        return;
    m_writer->key(archivedKey(key));
    writeObject(*m_writer, object);
}

} // namespace Foundation
