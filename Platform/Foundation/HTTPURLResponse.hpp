#pragma once

#include "Platform/Foundation/String.hpp"
#include "Platform/Foundation/URLResponse.hpp"

#include <cstdint>
#include <map>

namespace Foundation {

class HTTPURLResponse : public URLResponse {
public:
    std::int64_t statusCode() const { return m_statusCode; }
    const std::map<String, String>& allHeaderFields() const { return m_headerFields; }

protected:
    friend Construct;
    HTTPURLResponse(URL url, std::int64_t statusCode, std::map<String, String> headerFields = {})
        : URLResponse(std::move(url))
        , m_statusCode(statusCode)
        , m_headerFields(std::move(headerFields))
    {
    }

private:
    std::int64_t m_statusCode;
    std::map<String, String> m_headerFields;
};

} // namespace Foundation
