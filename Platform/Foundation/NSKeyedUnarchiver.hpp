#pragma once

#include "Platform/Foundation/NSCoder.hpp"

#include <cstdint>

namespace Foundation {

class JSONDocument;
class JSONView;

// Reads the archives NSKeyedArchiver writes, making each object through its registered class.
class NSKeyedUnarchiver : public NSCoder {
public:
    // unarchivedObject(ofClass:from:): null when the archive's root is null or of another class (or
    // of a class not registered in this process). Data that is no archive throws NSError
    // NSCocoaErrorDomain 4864 (NSCoderReadCorruptError); the objects' own errors pass through.
    template <class T>
    static std::shared_ptr<T> unarchivedObject(const Data& data)
    {
        return std::dynamic_pointer_cast<T>(unarchivedRootObject(data));
    }

    using NSCoder::decodeObject;
    bool containsValue(std::string_view key) const override;
    bool decodeBool(std::string_view key) const override;
    std::int64_t decodeInteger(std::string_view key) const override;
    double decodeDouble(std::string_view key) const override;
    std::optional<String> decodeString(std::string_view key) const override;
    std::optional<Data> decodeData(std::string_view key) const override;
    std::optional<Date> decodeDate(std::string_view key) const override;
    std::shared_ptr<NSObject> decodeObject(std::string_view key) const override;

protected:
    friend Construct;
    // Reads the object at `object` in the document, which outlives the unarchiver.
    NSKeyedUnarchiver(const JSONDocument& document, std::uint32_t object, int depth)
        : m_document(&document)
        , m_object(object)
        , m_depth(depth)
    {
    }

private:
    static std::shared_ptr<NSObject> unarchivedRootObject(const Data& data);
    static std::shared_ptr<NSObject> unarchived(const JSONView& value, int depth);
    std::optional<JSONView> value(std::string_view key) const;

    const JSONDocument* m_document;
    std::uint32_t m_object;
    int m_depth;
};

} // namespace Foundation
