#pragma once

#include "Shared/Stores/TagRecordSource.hpp"

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/String.hpp"

#include <memory>
#include <vector>

namespace Shared {

// The tags in use across the vault, for completing the tags field.
class TagStore : public Foundation::NSObject {
public:
    using RecordSource = TagRecordSource;

    // Sorted without regard to case, each once.
    std::vector<Foundation::String> tags() const;
    // The tags that begin with `prefix` (without regard to case), leaving out those already chosen.
    std::vector<Foundation::String> suggestions(const Foundation::String& prefix, const std::vector<Foundation::String>& excluding = {}) const;

protected:
    friend Foundation::Construct;
    explicit TagStore(std::shared_ptr<RecordSource> recordStore);

private:
    std::shared_ptr<RecordSource> m_recordStore;
};

} // namespace Shared
