#pragma once

#include <cstdint>
#include <exception>
#include <memory>
#include <string>

namespace Foundation {

class Error;
using ErrorPtr = std::shared_ptr<const Error>;

// Base of every thrown error. Each error answers the domain and code of the platform error object that
// stands for it; types of our own follow the default bridging (the domain is the module-qualified type
// name, an enumeration's code is its case's position with payload cases counted first).
class Error : public std::exception {
public:
    ~Error() override = default;

    virtual std::string domain() const = 0;
    virtual std::int64_t code() const = 0;
    // The error's default textual form, as string interpolation would print it.
    virtual std::string description() const = 0;
    // A user-facing text; defaults to the platform's generic wording.
    virtual std::string localizedDescription() const;

    virtual ErrorPtr clone() const = 0;
    [[noreturn]] virtual void raise() const = 0;

    // Valid until the next call on the same thread.
    const char* what() const noexcept override;
};

// Implements clone() and raise() for a concrete error type.
template <class Derived, class Base = Error>
class ErrorOf : public Base {
public:
    using Base::Base;
    ErrorPtr clone() const override { return std::make_shared<Derived>(static_cast<const Derived&>(*this)); }
    [[noreturn]] void raise() const override { throw static_cast<const Derived&>(*this); }
};

// Inside a catch block: the exception in flight as an error. Exceptions that are not `Error`s are
// wrapped in an NSError of domain "Foundation.CxxException".
ErrorPtr currentError();
ErrorPtr errorFrom(std::exception_ptr exception);

// Runs `body`; a thrown error is returned instead of propagated.
template <class Body>
ErrorPtr catchError(Body&& body)
{
    try {
        body();
        return nullptr;
    } catch (...) {
        return currentError();
    }
}

} // namespace Foundation
