#pragma once

#include "Platform/Foundation/Error.hpp"

#include <map>
#include <string>

namespace Foundation {

inline constexpr const char* NSCocoaErrorDomain = "NSCocoaErrorDomain";
inline constexpr const char* NSPOSIXErrorDomain = "NSPOSIXErrorDomain";
inline constexpr const char* NSURLErrorDomain = "NSURLErrorDomain";
inline constexpr const char* NSLocalizedDescriptionKey = "NSLocalizedDescription";
inline constexpr const char* NSFilePathErrorKey = "NSFilePath";
inline constexpr const char* NSDebugDescriptionErrorKey = "NSDebugDescription";

// A platform error object: a domain, a code and a dictionary of texts, plus an optional underlying error.
class NSError : public ErrorOf<NSError> {
public:
    NSError(std::string domain, std::int64_t code, std::map<std::string, std::string> userInfo = {},
            ErrorPtr underlyingError = nullptr);

    std::string domain() const override { return m_domain; }
    std::int64_t code() const override { return m_code; }
    std::string description() const override;
    std::string localizedDescription() const override;

    const std::map<std::string, std::string>& userInfo() const { return m_userInfo; }
    const ErrorPtr& underlyingError() const { return m_underlyingError; }

private:
    std::string m_domain;
    std::int64_t m_code;
    std::map<std::string, std::string> m_userInfo;
    ErrorPtr m_underlyingError;
};

} // namespace Foundation
