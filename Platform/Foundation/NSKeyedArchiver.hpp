#pragma once

#include "Platform/Foundation/NSCoder.hpp"


namespace Foundation {

class JSONStreamWriter;

// Writes a graph of NSCoding objects into a self-describing archive: JSON naming each object's
// registered class under "$class", beside the values it encoded. The format is ours alone.
class NSKeyedArchiver : public NSCoder {
public:
    // archivedData(withRootObject:requiringSecureCoding:). An object whose class is not registered
    // fails with NSError NSCocoaErrorDomain 4866 (NSCoderInvalidValueError); the object's own errors
    // pass through.
    static Data archivedData(const std::shared_ptr<NSObject>& rootObject, bool requiringSecureCoding);

    void encodeBool(bool value, std::string_view key) override;
    void encodeInteger(std::int64_t value, std::string_view key) override;
    void encodeDouble(double value, std::string_view key) override;
    void encodeString(const String& value, std::string_view key) override;
    void encodeData(const Data& value, std::string_view key) override;
    void encodeDate(const Date& value, std::string_view key) override;
    void encodeObject(const std::shared_ptr<NSObject>& object, std::string_view key) override;

    // The archive's spelling of a key: a leading "$" is doubled, so that keys never meet the archive's own.
    static std::string archivedKey(std::string_view key);

protected:
    friend Construct;
    // Writes the members of one object of the archive.
    explicit NSKeyedArchiver(JSONStreamWriter& writer)
        : m_writer(&writer)
    {
    }

private:
    static void writeObject(JSONStreamWriter& writer, const std::shared_ptr<NSObject>& object);

    JSONStreamWriter* m_writer;
};

} // namespace Foundation
