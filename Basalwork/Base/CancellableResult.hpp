#pragma once

#include <variant>

namespace Basalwork {

// The outcome of a flow the user may cancel, kept apart from failure.
template <class Success, class Failure>
class CancellableResult {
public:
    struct UserDidCancel { };

    static CancellableResult failure(Failure error) { return CancellableResult(std::in_place_index<0>, std::move(error)); }
    static CancellableResult success(Success value) { return CancellableResult(std::in_place_index<1>, std::move(value)); }
    static CancellableResult userDidCancel() { return CancellableResult(std::in_place_index<2>, UserDidCancel {}); }

    const Failure* failureValue() const { return std::get_if<0>(&m_value); }
    const Success* successValue() const { return std::get_if<1>(&m_value); }
    bool isUserDidCancel() const { return m_value.index() == 2; }

private:
    template <std::size_t I, class V>
    CancellableResult(std::in_place_index_t<I> index, V&& value)
        : m_value(index, std::forward<V>(value))
    {
    }
    std::variant<Failure, Success, UserDidCancel> m_value;
};

} // namespace Basalwork
