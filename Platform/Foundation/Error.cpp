#include "Platform/Foundation/Error.hpp"

#include "Platform/Foundation/NSError.hpp"

#include <string>

namespace Foundation {

std::string Error::localizedDescription() const
{
    return "The operation couldn\u2019t be completed. (" + domain() + " error " + std::to_string(code()) + ".)";
}

const char* Error::what() const noexcept
{
    thread_local std::string text;
    try {
        text = description();
    } catch (...) {
        text = "Foundation::Error";
    }
    return text.c_str();
}

ErrorPtr errorFrom(std::exception_ptr exception)
{
    if (!exception)
        return nullptr;
    try {
        std::rethrow_exception(exception);
    } catch (const Error& error) {
        return error.clone();
    } catch (const std::exception& other) {
        return std::make_shared<NSError>("Foundation.CxxException", 1,
                                         std::map<std::string, std::string> {{NSLocalizedDescriptionKey, other.what()}});
    } catch (...) {
        return std::make_shared<NSError>("Foundation.CxxException", 2);
    }
}

ErrorPtr currentError()
{
    return errorFrom(std::current_exception());
}

} // namespace Foundation
