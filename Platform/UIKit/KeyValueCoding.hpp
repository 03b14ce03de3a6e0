#pragma once

#include "Platform/Foundation/String.hpp"

#include <any>
#include <unordered_map>

namespace UIKit {

// setValue(_:forKey:) and value(forKey:) for the few views our code configures by key: the values are
// recorded, nothing reads them but the code that set them.
class KeyValueCoding {
public:
    // An empty value removes the key.
    void setValue(std::any value, const Foundation::String& forKey);
    // Empty for a key never set.
    std::any value(const Foundation::String& forKey) const;

protected:
    KeyValueCoding() = default;
    ~KeyValueCoding() = default;
    KeyValueCoding(const KeyValueCoding&) = default;
    KeyValueCoding& operator=(const KeyValueCoding&) = default;

private:
    std::unordered_map<Foundation::String, std::any> m_values;
};

} // namespace UIKit
