#pragma once

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/Selector.hpp"

#include <any>
#include <functional>
#include <memory>
#include <type_traits>
#include <typeinfo>
#include <vector>

namespace Foundation {

// The methods each class answers by selector, for messages sent by name: actions that travel the responder
// chain and messages to a plug-in's objects. A class registers its own methods, typically once from its
// source file; a lookup follows the receiver's class chain from its dynamic class up (the bases as the
// compiler records them), as the platform's runtime does, so a subclass answers what its superclasses
// registered and replaces what it registers again. Arguments and results travel as `std::any`; objects
// travel as `std::shared_ptr<NSObject>` and reach a parameter as its own type (null when they are of
// another type).
class MethodTable {
public:
    using Arguments = std::vector<std::any>;
    using Method = std::function<std::any(NSObject& receiver, const Arguments& arguments)>;
    using ClassMethod = std::function<std::any(const Arguments& arguments)>;

    template <class T, class R, class... A>
    static void add(Selector selector, R (T::*method)(A...))
    {
        add(typeid(T), selector, adapt<T, R, A...>(selector, method));
    }
    template <class T, class R, class... A>
    static void add(Selector selector, R (T::*method)(A...) const)
    {
        add(typeid(T), selector, adapt<T, R, A...>(selector, method));
    }
    static void add(const std::type_info& forClass, Selector selector, Method method);
    static void addClassMethod(const std::type_info& forClass, Selector selector, ClassMethod method);

    // The method the class, or the nearest of its superclasses, answers the selector with; none when no
    // class of the chain does.
    static std::shared_ptr<const Method> lookup(const std::type_info& forClass, Selector selector);
    static std::shared_ptr<const ClassMethod> lookupClassMethod(const std::type_info& forClass, Selector selector);

    // Sends the message. A receiver that does not answer it, or arguments that do not fit, stop the
    // program, as an unrecognised selector does on the platform.
    static std::any perform(NSObject& receiver, Selector selector, const Arguments& arguments = {});
    static std::any performClassMethod(const std::type_info& forClass, Selector selector, const Arguments& arguments = {});

    // An argument as the parameter type `P` takes it.
    template <class P>
    static std::decay_t<P> argument(const std::any& value, Selector selector)
    {
        using D = std::decay_t<P>;
        if constexpr (IsObjectPointer<D>::value) {
            if (!value.has_value())
                return nullptr;
            if (const auto* object = std::any_cast<std::shared_ptr<NSObject>>(&value))
                return std::dynamic_pointer_cast<typename D::element_type>(*object);
            if (const auto* exact = std::any_cast<D>(&value))
                return *exact;
            return nullptr;
        } else {
            if (const auto* exact = std::any_cast<D>(&value))
                return *exact;
            mismatch(selector, "an argument of another type");
        }
    }

    // A result as it travels: objects as `std::shared_ptr<NSObject>`.
    template <class R>
    static std::any result(R&& value)
    {
        using D = std::decay_t<R>;
        if constexpr (IsObjectPointer<D>::value)
            return std::shared_ptr<NSObject>(std::forward<R>(value));
        else
            return std::any(std::forward<R>(value));
    }

private:
    template <class D>
    struct IsObjectPointer : std::false_type {};
    template <class X>
    struct IsObjectPointer<std::shared_ptr<X>> : std::is_base_of<NSObject, X> {};

    [[noreturn]] static void mismatch(Selector selector, const char* problem);

    template <class T, class R, class... A, class F>
    static Method adapt(Selector selector, F method)
    {
        return [selector, method](NSObject& receiver, const Arguments& arguments) -> std::any {
            if (arguments.size() != sizeof...(A))
                mismatch(selector, "the wrong number of arguments");
            auto& self = dynamic_cast<T&>(receiver);
            return call<R, A...>(self, method, arguments, selector, std::index_sequence_for<A...> {});
        };
    }

    template <class R, class... A, class T, class F, std::size_t... I>
    static std::any call(T& self, F method, const Arguments& arguments, Selector selector, std::index_sequence<I...>)
    {
        if constexpr (std::is_void_v<R>) {
            (self.*method)(argument<A>(arguments[I], selector)...);
            return {};
        } else {
            return result((self.*method)(argument<A>(arguments[I], selector)...));
        }
    }
};

} // namespace Foundation
