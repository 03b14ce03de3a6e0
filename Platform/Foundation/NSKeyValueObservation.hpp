#pragma once

#include "Platform/Foundation/NSObject.hpp"

#include <functional>
#include <utility>

namespace Foundation {

// A running observation of one property. It reports until it is invalidated or released; the observed
// object holds it only weakly, so whoever keeps the token decides how long it lives.
class NSKeyValueObservation : public NSObject {
public:
    void invalidate() { m_report = nullptr; }
    bool isValid() const { return static_cast<bool>(m_report); }
    // Called by the observed object with the property's new value.
    void report() const
    {
        if (m_report)
            m_report();
    }

protected:
    friend Construct;
    explicit NSKeyValueObservation(std::function<void()> report)
        : m_report(std::move(report))
    {
    }

private:
    std::function<void()> m_report;
};

} // namespace Foundation
