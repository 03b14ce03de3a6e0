#pragma once

#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/UIViewController.hpp"

#include <cstdint>
#include <optional>
#include <vector>

namespace UIKit {

// Lets the user take a photo or pick one from the library. Which sources this machine offers, and which
// kinds of media each gives, are settable so that tests can describe any machine.
class UIImagePickerController : public UIViewController {
public:
    enum class SourceType : std::int64_t;

    // The photo library and saved photos offer images and movies; there is no camera unless set.
    static bool isSourceTypeAvailable(SourceType sourceType);
    // Uniform type identifiers of what the source gives; nothing for a source that is not available.
    static std::optional<std::vector<Foundation::String>> availableMediaTypes(SourceType forSourceType);
    // Describes the machine: a source made available gives `mediaTypes`, an unavailable one nothing.
    static void setSourceTypeAvailable(SourceType sourceType, bool available,
                                       std::vector<Foundation::String> mediaTypes = {});
    // Back to the machine described above.
    static void resetSourceTypes();

    SourceType sourceType() const { return m_sourceType; }
    void setSourceType(SourceType sourceType) { m_sourceType = sourceType; }

protected:
    friend Foundation::Construct;
    UIImagePickerController();

private:
    SourceType m_sourceType;
};

} // namespace UIKit

#include "Platform/UIKit/UIImagePickerController.SourceType.hpp"
