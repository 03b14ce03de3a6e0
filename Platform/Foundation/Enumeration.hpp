#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <utility>
#include <variant>

namespace Foundation {

namespace EnumerationDetail {

template <class C, class Variant>
struct CaseIndex;

template <class C, class... Cases>
struct CaseIndex<C, std::variant<Cases...>> {
    static constexpr std::size_t matches = (std::size_t {std::is_same_v<C, Cases>} + ...);
    static_assert(matches == 1, "not a case of this enumeration, or a case listed twice");
    static constexpr std::int64_t value = [] {
        std::int64_t index = 0;
        ((std::is_same_v<C, Cases> ? false : (++index, true)) && ...);
        return index;
    }();
};

} // namespace EnumerationDetail

// An enumeration with payloads: a class over `std::variant` with one struct per case, in declared order.
// The class keeps its cases as `Case` and answers them from `value()`; this base reads them by name, so
// no caller counts positions:
//
//     class SyncStatus : public Foundation::Enumeration<SyncStatus> { ... using Case = std::variant<...>; ... };
//     if (const auto* failed = status.as<SyncStatus::Failed>()) ...
//     switch (status.index()) { case SyncStatus::indexOf<SyncStatus::Failed>: ... }
//
// A case's position is part of what the enumeration means (an error's code, a stored number), so cases are
// only ever appended.
template <class Derived>
class Enumeration {
public:
    template <class C>
    bool is() const
    {
        return std::holds_alternative<C>(cases());
    }
    // The case's payload, or null for another case.
    template <class C>
    const C* as() const
    {
        return std::get_if<C>(&cases());
    }
    // The position of the current case in declared order.
    std::int64_t index() const { return static_cast<std::int64_t>(cases().index()); }
    // Calls `visitor` with the current case's payload.
    template <class Visitor>
    decltype(auto) visit(Visitor&& visitor) const
    {
        return std::visit(std::forward<Visitor>(visitor), cases());
    }

    // The position of case `C`, known at compile time (for `switch` labels and tables by case).
    template <class C>
    static constexpr std::int64_t indexOf = EnumerationDetail::CaseIndex<C, typename Derived::Case>::value;

    // Holds nothing, so that an enumeration's own defaulted equality compares its cases alone.
    friend bool operator==(const Enumeration&, const Enumeration&) = default;

private:
    const auto& cases() const { return static_cast<const Derived&>(*this).value(); }
};

// Lambdas joined into one visitor: `enumeration.visit(Overloaded {[](const A&) {...}, [](const auto&) {...}})`.
template <class... Functions>
struct Overloaded : Functions... {
    using Functions::operator()...;
};
template <class... Functions>
Overloaded(Functions...) -> Overloaded<Functions...>;

} // namespace Foundation
