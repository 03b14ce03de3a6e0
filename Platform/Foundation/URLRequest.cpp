#include "Platform/Foundation/URLRequest.hpp"

namespace Foundation {

URLRequest::URLRequest(URL url)
    : URLRequest(std::move(url), CachePolicy::useProtocolCachePolicy, 60.0)
{
}

URLRequest::URLRequest(URL url, CachePolicy cachePolicy, double timeoutInterval)
    : m_url(std::move(url))
    , m_cachePolicy(cachePolicy)
    , m_timeoutInterval(timeoutInterval)
{
}

std::string URLRequest::description() const
{
    return m_url.absoluteString().utf8();
}

} // namespace Foundation
