#pragma once

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/URL.hpp"

namespace UIKit {

// A URL the system asks the application to open, with how it is to be opened.
class UIOpenURLContext : public Foundation::NSObject {
public:
    const Foundation::URL& url() const { return m_url; }
    // Whether the file is to be opened where it lies instead of as a copy.
    bool openInPlace() const { return m_openInPlace; }

protected:
    friend Foundation::Construct;
    explicit UIOpenURLContext(Foundation::URL url, bool openInPlace = false)
        : m_url(std::move(url))
        , m_openInPlace(openInPlace)
    {
    }

private:
    Foundation::URL m_url;
    bool m_openInPlace;
};

} // namespace UIKit
