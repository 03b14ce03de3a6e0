#pragma once

#include "Platform/Foundation/NSObject.hpp"

#include <concepts>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <typeinfo>

namespace Foundation {

class NSCoder;

// Adopted by reference types that can be put in a keyed archive. An adopting class `T` also provides
//     static std::shared_ptr<T> withCoder(Foundation::NSCoder& coder);   // init?(coder:)
// which answers null when the archive lacks what it needs, and is registered once, before its objects
// are archived or unarchived, with `registerCodingClass<T>("T")`: archives name classes by that name.
class NSCoding {
public:
    virtual ~NSCoding() = default;
    // encode(with:)
    virtual void encode(NSCoder& coder) const = 0;
};

template <class T>
concept NSCodingClass = std::derived_from<T, NSObject> && std::derived_from<T, NSCoding> && requires(NSCoder& coder) {
    { T::withCoder(coder) } -> std::convertible_to<std::shared_ptr<T>>;
};

using NSCodingFactory = std::function<std::shared_ptr<NSObject>(NSCoder&)>;

// Registering a name again replaces its class.
void registerCodingClass(const std::string& className, const std::type_info& type, NSCodingFactory factory);

template <NSCodingClass T>
void registerCodingClass(const std::string& className)
{
    registerCodingClass(className, typeid(T), [](NSCoder& coder) -> std::shared_ptr<NSObject> { return T::withCoder(coder); });
}

// The registered name of a dynamic type, and the factory of a name.
std::optional<std::string> codingClassName(const std::type_info& type);
NSCodingFactory codingClassFactory(const std::string& className);

} // namespace Foundation
