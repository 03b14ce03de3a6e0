#pragma once

#include "Platform/Foundation/Error.hpp"

#include <cstdint>

namespace UIKit {

class MFMailComposeViewController;

// Told when the person is done with a mail composer.
class MFMailComposeViewControllerDelegate {
public:
    enum class Result : std::int64_t { cancelled = 0, saved = 1, sent = 2, failed = 3 };

    virtual ~MFMailComposeViewControllerDelegate() = default;
    virtual void mailComposeController(MFMailComposeViewController& controller, Result didFinishWith, const Foundation::ErrorPtr& error) = 0;
};

} // namespace UIKit
