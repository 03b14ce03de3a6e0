#pragma once

#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/FatalError.hpp"

#include <type_traits>
#include <utility>
#include <variant>

namespace Foundation {

// A success value or an error. The error is held polymorphically and shared, so copies are cheap and
// keep the concrete error type.
template <class T>
class Result {
public:
    static Result success(T value) { return Result(std::in_place_index<0>, std::move(value)); }
    static Result failure(ErrorPtr error)
    {
        precondition(error != nullptr, "Result::failure needs an error");
        return Result(std::in_place_index<1>, std::move(error));
    }
    template <class E>
        requires std::is_base_of_v<Error, E>
    static Result failure(const E& error)
    {
        return failure(error.clone());
    }
    // Runs `body` and captures what it returns or throws.
    template <class Body>
    static Result catching(Body&& body)
    {
        try {
            return success(body());
        } catch (...) {
            return failure(currentError());
        }
    }

    bool isSuccess() const { return m_storage.index() == 0; }
    bool isFailure() const { return m_storage.index() == 1; }
    const T* successValue() const { return std::get_if<0>(&m_storage); }
    ErrorPtr failureError() const { return isFailure() ? std::get<1>(m_storage) : nullptr; }
    // The value, or the error thrown.
    const T& get() const
    {
        if (isFailure())
            std::get<1>(m_storage)->raise();
        return std::get<0>(m_storage);
    }

private:
    template <std::size_t I, class V>
    Result(std::in_place_index_t<I> index, V&& value)
        : m_storage(index, std::forward<V>(value))
    {
    }
    std::variant<T, ErrorPtr> m_storage;
};

template <>
class Result<void> {
public:
    static Result success() { return Result(nullptr); }
    static Result failure(ErrorPtr error)
    {
        precondition(error != nullptr, "Result::failure needs an error");
        return Result(std::move(error));
    }
    template <class E>
        requires std::is_base_of_v<Error, E>
    static Result failure(const E& error)
    {
        return failure(error.clone());
    }
    template <class Body>
    static Result catching(Body&& body)
    {
        ErrorPtr error = catchError(std::forward<Body>(body));
        return error ? failure(std::move(error)) : success();
    }

    bool isSuccess() const { return m_error == nullptr; }
    bool isFailure() const { return m_error != nullptr; }
    ErrorPtr failureError() const { return m_error; }
    void get() const
    {
        if (m_error)
            m_error->raise();
    }

private:
    explicit Result(ErrorPtr error)
        : m_error(std::move(error))
    {
    }
    ErrorPtr m_error;
};

} // namespace Foundation
