#pragma once

#include "Platform/Foundation/NSObject.hpp"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <typeinfo>

namespace Foundation {
class NSCoder;
}

namespace UIKit {

// Classes by name, as interface documents and the application's start-up name them: each name gives a
// way to make an object with `init()` and with `init(coder:)`, whichever the class has. UIKit's own view
// and controller classes that interface documents can name are known from the start; a program
// registers its classes before anything names them. Registering a name again replaces its class.
class ClassRegistry {
public:
    struct Class {
        std::string name;
        const std::type_info* type = nullptr;
        // init(); empty when the class has none that callers can reach.
        std::function<std::shared_ptr<Foundation::NSObject>()> make;
        // init(coder:); empty when the class has none.
        std::function<std::shared_ptr<Foundation::NSObject>(Foundation::NSCoder&)> makeWithCoder;
    };

    template <class T>
    static void registerClass(const std::string& name)
    {
        registerClass(describe<T>(name));
    }
    static void registerClass(Class entry);

    // NSClassFromString: nothing for a name never registered.
    static std::optional<Class> classNamed(const std::string& name);
    // NSStringFromClass: the name a type was registered under, if any.
    static std::optional<std::string> name(const std::type_info& type);

    // The entry for `T` under `name`, with the initialisers `T` offers.
    template <class T>
    static Class describe(const std::string& name)
    {
        Class entry {name, &typeid(T), nullptr, nullptr};
        if constexpr (Foundation::Construct::canCreate<T>)
            entry.make = [] { return std::shared_ptr<Foundation::NSObject>(Foundation::make<T>()); };
        if constexpr (Foundation::Construct::canCreate<T, Foundation::NSCoder&>)
            entry.makeWithCoder = [](Foundation::NSCoder& coder) {
                return std::shared_ptr<Foundation::NSObject>(Foundation::make<T>(coder));
            };
        return entry;
    }
};

} // namespace UIKit
