#pragma once

#include "Platform/Foundation/Data.hpp"
#include "Platform/Foundation/Date.hpp"
#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/String.hpp"

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

namespace Foundation {

// What an NSCoding object writes itself to (in an archiver) or reads itself from (in an unarchiver),
// value by value under string keys. Calling a reading operation on an archiver, or the other way
// round, stops the program.
class NSCoder : public NSObject {
public:
    virtual void encodeBool(bool value, std::string_view key);
    virtual void encodeInteger(std::int64_t value, std::string_view key);
    virtual void encodeDouble(double value, std::string_view key);
    virtual void encodeString(const String& value, std::string_view key);
    virtual void encodeData(const Data& value, std::string_view key);
    virtual void encodeDate(const Date& value, std::string_view key);
    // An object of a registered NSCoding class, written in full; nothing is written for null.
    virtual void encodeObject(const std::shared_ptr<NSObject>& object, std::string_view key);

    // A missing key, or a value of another kind, reads as false, 0 or nothing.
    virtual bool containsValue(std::string_view key) const;
    virtual bool decodeBool(std::string_view key) const;
    virtual std::int64_t decodeInteger(std::string_view key) const;
    virtual double decodeDouble(std::string_view key) const;
    virtual std::optional<String> decodeString(std::string_view key) const;
    virtual std::optional<Data> decodeData(std::string_view key) const;
    virtual std::optional<Date> decodeDate(std::string_view key) const;
    // decodeObject(forKey:): the object, of whichever registered class the archive names.
    virtual std::shared_ptr<NSObject> decodeObject(std::string_view key) const;
    // decodeObject(of:forKey:): null as well when the object is of another class.
    template <class T>
    std::shared_ptr<T> decodeObject(std::string_view key) const
    {
        return std::dynamic_pointer_cast<T>(decodeObject(key));
    }

protected:
    NSCoder() = default;
};

} // namespace Foundation
