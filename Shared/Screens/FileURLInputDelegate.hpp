#pragma once

#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/URL.hpp"

namespace Shared {

class FileURLInput;

// What a person does with a file input: drops or chooses a file (or folder), clears it, asks for the
// picker; and what went wrong when a drop could not be taken.
class FileURLInputDelegate {
public:
    virtual ~FileURLInputDelegate() = default;
    virtual void didSelect(const Foundation::URL& fileURL, FileURLInput& fileURLInput) = 0;
    virtual void didSelectClear(FileURLInput& fileURLInput) = 0;
    virtual void didFailToSelectFileURL(const Foundation::ErrorPtr& error, FileURLInput& fileURLInput) = 0;
    virtual void didRequestFileURLPicker(FileURLInput& fileURLInput) = 0;
};

} // namespace Shared
