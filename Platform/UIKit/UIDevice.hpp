#pragma once

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/String.hpp"

#include <memory>
#include <mutex>

namespace UIKit {

// The device the program runs on. A Mac reports itself by its model name; tests change it.
class UIDevice : public Foundation::NSObject {
public:
    static const std::shared_ptr<UIDevice>& current();

    Foundation::String name() const;
    Foundation::String localizedModel() const;
    void setLocalizedModel(Foundation::String model);

protected:
    friend Foundation::Construct;
    UIDevice() = default;

private:
    mutable std::mutex m_mutex;
    Foundation::String m_localizedModel = "Mac";
};

} // namespace UIKit
