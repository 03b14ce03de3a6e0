#pragma once

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/URL.hpp"

#include <optional>
#include <string>

namespace CloudKit {

// A file that travels with a record. Saving the record copies the file into the container, so the
// caller may remove its own file once the save has finished; a fetched record's asset points at the
// container's copy, which callers read (or copy) and never change.
class CKAsset : public Foundation::NSObject {
public:
    const std::optional<Foundation::URL>& fileURL() const { return m_fileURL; }

    std::string description() const override;

protected:
    friend Foundation::Construct;
    explicit CKAsset(Foundation::URL fileURL)
        : m_fileURL(std::move(fileURL))
    {
    }

private:
    std::optional<Foundation::URL> m_fileURL;
};

} // namespace CloudKit
