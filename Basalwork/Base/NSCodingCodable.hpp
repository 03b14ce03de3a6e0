#pragma once

#include "Basalwork/Base/GeneralError.hpp"
#include "Basalwork/Base/TopLevelFragmentEncodable.hpp"

#include "Platform/Foundation/Codable.hpp"
#include "Platform/Foundation/NSCoding.hpp"
#include "Platform/Foundation/NSKeyedArchiver.hpp"
#include "Platform/Foundation/NSKeyedUnarchiver.hpp"

#include <concepts>
#include <memory>
#include <typeinfo>

namespace Basalwork {

// Carries a keyed-archivable object inside Codable values, as the Base64 text of its archive.
// Decoding an archive of another class fails with GeneralError.failedToUnarchive naming `T`.
template <class T>
    requires std::derived_from<T, Foundation::NSObject> && std::derived_from<T, Foundation::NSCoding>
struct NSCodingCodable {
    std::shared_ptr<T> value;

    void encode(Foundation::Encoder& encoder) const
    {
        auto container = encoder.singleValueContainer();
        container.encode(Foundation::NSKeyedArchiver::archivedData(value, false));
    }

    static NSCodingCodable decode(Foundation::Decoder& decoder)
    {
        auto data = decoder.singleValueContainer().decode<Foundation::Data>();
        auto object = Foundation::NSKeyedUnarchiver::unarchivedObject<T>(data);
        if (!object)
            throw GeneralError::failedToUnarchive(Foundation::demangledTypeName(typeid(T).name()), std::move(data));
        return {std::move(object)};
    }
};

template <class T>
struct IsTopLevelFragmentEncodable<NSCodingCodable<T>> : std::true_type { };

} // namespace Basalwork
