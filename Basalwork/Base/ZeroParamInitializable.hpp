#pragma once

#include <concepts>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace Basalwork {

// How a type is made empty without arguments. A type conforms by specialising this with
// `static T make()`. For a reference type, T is the shared pointer that holds it and make() answers a new
// object, never a null pointer: that is why this is not plain default construction.
template <class T>
struct ZeroParamInitialization;

template <class T>
concept ZeroParamInitializable = requires {
    { ZeroParamInitialization<T>::make() } -> std::same_as<T>;
};

template <ZeroParamInitializable T>
T makeZeroParam()
{
    return ZeroParamInitialization<T>::make();
}

// The standard collections start empty.
template <class T, class Allocator>
struct ZeroParamInitialization<std::vector<T, Allocator>> {
    static std::vector<T, Allocator> make() { return {}; }
};
template <class T, class Hash, class Equal, class Allocator>
struct ZeroParamInitialization<std::unordered_set<T, Hash, Equal, Allocator>> {
    static std::unordered_set<T, Hash, Equal, Allocator> make() { return {}; }
};
template <class Key, class T, class Hash, class Equal, class Allocator>
struct ZeroParamInitialization<std::unordered_map<Key, T, Hash, Equal, Allocator>> {
    static std::unordered_map<Key, T, Hash, Equal, Allocator> make() { return {}; }
};

} // namespace Basalwork
