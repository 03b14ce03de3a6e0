#pragma once

#include "Platform/Foundation/Codable.hpp"

#include <optional>
#include <string>
#include <type_traits>

namespace Basalwork {

// The marker of values that JSONCoder wraps under "value" when fragments are allowed: the simple
// values that JSON could otherwise only write bare. A type joins by specialising the trait.
template <class T>
struct IsTopLevelFragmentEncodable : std::bool_constant<Foundation::CodingInteger<T>> { };

template <> struct IsTopLevelFragmentEncodable<bool> : std::true_type { };
template <> struct IsTopLevelFragmentEncodable<float> : std::true_type { };
template <> struct IsTopLevelFragmentEncodable<double> : std::true_type { };
template <> struct IsTopLevelFragmentEncodable<Foundation::String> : std::true_type { };
// Byte strings are the same text on the wire, so they are stored the same way.
template <> struct IsTopLevelFragmentEncodable<std::string> : std::true_type { };
template <> struct IsTopLevelFragmentEncodable<Foundation::Data> : std::true_type { };
template <> struct IsTopLevelFragmentEncodable<Foundation::Date> : std::true_type { };
template <class T>
struct IsTopLevelFragmentEncodable<std::optional<T>> : IsTopLevelFragmentEncodable<T> { };

template <class T>
concept TopLevelFragmentEncodable = IsTopLevelFragmentEncodable<std::remove_cvref_t<T>>::value;

} // namespace Basalwork
