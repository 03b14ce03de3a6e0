#pragma once

#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/String.hpp"

namespace Sorrelgate {

class EntriesC;

// What the extension's list tells the credential provider.
class EntriesCDelegate {
public:
    virtual ~EntriesCDelegate() = default;
    // An item was chosen: its password goes to the list's sites.
    virtual void didChoose(const Foundation::String& entryID, EntriesC& entriesC) = 0;
    // A new item for the list's sites was asked for.
    virtual void didRequestNewEntry(EntriesC& entriesC) = 0;
    virtual void cancelRequest(const Foundation::Error& error) = 0;
};

} // namespace Sorrelgate
