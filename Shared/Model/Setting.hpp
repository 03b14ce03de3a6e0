#pragma once

#include "Platform/Foundation/RawRepresentable.hpp"
#include "Platform/Foundation/String.hpp"

#include <concepts>
#include <optional>
#include <vector>

namespace Shared {

// One option of a setting: its value, its stored raw value, its title and an optional subtitle.
template <class T>
struct SettingCase {
    T value;
    const char* rawValue;
    const char* title;
    const char* subtitle = nullptr;
};

// The Setting protocol: a choice among a fixed, ordered list of options, each with a title. A type
// conforms by specialising Setting<T> with `static constexpr SettingCase<T> cases[]`, in declared order.
template <class T>
struct Setting { };

template <class T>
concept SettingType = std::equality_comparable<T> && requires { Setting<T>::cases; };

template <SettingType T>
std::vector<T> allOptions()
{
    std::vector<T> options;
    for (const auto& option : Setting<T>::cases)
        options.push_back(option.value);
    return options;
}

template <SettingType T>
Foundation::String titleText(const T& value)
{
    for (const auto& option : Setting<T>::cases) {
        if (option.value == value)
            return option.title;
    }
    return {};
}

template <SettingType T>
std::optional<Foundation::String> subtitleText(const T& value)
{
    for (const auto& option : Setting<T>::cases) {
        if (option.value == value && option.subtitle)
            return Foundation::String(option.subtitle);
    }
    return std::nullopt;
}

// A case's position in declared order.
template <SettingType T>
std::int64_t caseIndex(const T& value)
{
    std::int64_t index = 0;
    for (const auto& option : Setting<T>::cases) {
        if (option.value == value)
            return index;
        ++index;
    }
    return -1;
}

} // namespace Shared

// Settings are stored by the raw value of their table (a setting with other raw values specialises
// RawRepresentation itself, which takes precedence).
template <Shared::SettingType T>
struct Foundation::RawRepresentation<T> {
    using RawValue = Foundation::String;
    static RawValue rawValue(const T& value)
    {
        for (const auto& option : Shared::Setting<T>::cases) {
            if (option.value == value)
                return option.rawValue;
        }
        return {};
    }
    static std::optional<T> make(const RawValue& raw)
    {
        for (const auto& option : Shared::Setting<T>::cases) {
            if (raw == option.rawValue)
                return option.value;
        }
        return std::nullopt;
    }
};
