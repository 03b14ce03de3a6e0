#pragma once

#include "Platform/CloudKit/CKError.hpp"
#include "Platform/Foundation/Result.hpp"

#include <utility>
#include <vector>

namespace CloudKit::ItemResults {

// Hands each item's result to its block and notes the failures.
template <class ID, class ItemResult, class Block>
void report(const std::vector<std::pair<ID, ItemResult>>& results, const Block& block, CKError::PartialErrors& failures)
{
    for (const auto& [id, result] : results) {
        if (block)
            block(id, result);
        if (result.isFailure())
            failures.emplace_back(id, result.failureError());
    }
}

// What the operation's result block hears: success, or a partial failure naming the items that failed.
inline Foundation::Result<void> overall(CKError::PartialErrors failures)
{
    if (failures.empty())
        return Foundation::Result<void>::success();
    return Foundation::Result<void>::failure(CKError::partialFailure(std::move(failures)));
}

} // namespace CloudKit::ItemResults
