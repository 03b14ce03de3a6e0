#pragma once

#include "Platform/Foundation/Enumeration.hpp"
#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/String.hpp"

#include <variant>

namespace Basalwork {

// An image store's own failures; each carries the key. No texts of its own.
class ImageStoreError : public Foundation::ErrorOf<ImageStoreError>, public Foundation::Enumeration<ImageStoreError> {
public:
    struct FailedToAccessJPEGDataFromUIImageForKey {
        Foundation::String key;
    };
    struct FailedToAccessUIImageFromImageDataForKey {
        Foundation::String key;
    };
    // Cases in declared order.
    using Case = std::variant<FailedToAccessJPEGDataFromUIImageForKey, FailedToAccessUIImageFromImageDataForKey>;

    static ImageStoreError failedToAccessJPEGDataFromUIImageForKey(Foundation::String key)
    {
        return ImageStoreError(FailedToAccessJPEGDataFromUIImageForKey {std::move(key)});
    }
    static ImageStoreError failedToAccessUIImageFromImageDataForKey(Foundation::String key)
    {
        return ImageStoreError(FailedToAccessUIImageFromImageDataForKey {std::move(key)});
    }

    const Case& value() const { return m_case; }

    std::string domain() const override { return "Basalwork.ImageStoreError"; }
    std::int64_t code() const override { return index(); }
    std::string description() const override;

private:
    explicit ImageStoreError(Case value)
        : m_case(std::move(value))
    {
    }
    Case m_case;
};

} // namespace Basalwork
