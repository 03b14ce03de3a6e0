#pragma once

#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/String.hpp"

namespace Sorrelgate {

class AddEntryC;

// What the add-item screen tells the credential provider.
class AddEntryCDelegate {
public:
    virtual ~AddEntryCDelegate() = default;
    // The new item was saved: its password goes to the screen's sites.
    virtual void didSave(const Foundation::String& entryID, AddEntryC& addEntryC) = 0;
    // The screen is to close, nothing saved.
    virtual void didRequestClose(AddEntryC& addEntryC) = 0;
    virtual void cancelRequest(const Foundation::Error& error) = 0;
};

} // namespace Sorrelgate
