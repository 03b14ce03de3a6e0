#pragma once

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/URL.hpp"

namespace Foundation {

// What a server answered, apart from the body.
class URLResponse : public NSObject {
public:
    const URL& url() const { return m_url; }

protected:
    friend Construct;
    explicit URLResponse(URL url)
        : m_url(std::move(url))
    {
    }

private:
    URL m_url;
};

} // namespace Foundation
