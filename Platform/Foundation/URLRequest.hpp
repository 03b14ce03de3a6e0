#pragma once

#include "Platform/Foundation/URL.hpp"

#include <string>

namespace Foundation {

// What a URL session is asked to load.
class URLRequest {
public:
    enum class CachePolicy;

    explicit URLRequest(URL url);
    URLRequest(URL url, CachePolicy cachePolicy, double timeoutInterval);

    const URL& url() const { return m_url; }
    void setURL(URL url) { m_url = std::move(url); }
    CachePolicy cachePolicy() const { return m_cachePolicy; }
    void setCachePolicy(CachePolicy cachePolicy) { m_cachePolicy = cachePolicy; }
    // Seconds without an answer after which the load fails with NSURLErrorTimedOut.
    double timeoutInterval() const { return m_timeoutInterval; }
    void setTimeoutInterval(double seconds) { m_timeoutInterval = seconds; }

    // The URL's absolute string, as the platform prints a request.
    std::string description() const;

    friend bool operator==(const URLRequest&, const URLRequest&) = default;

private:
    URL m_url;
    CachePolicy m_cachePolicy;
    double m_timeoutInterval;
};

} // namespace Foundation

#include "Platform/Foundation/URLRequest.CachePolicy.hpp"
