#pragma once

#include "Platform/CoreData/NSManagedObjectContext.hpp"

#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

namespace Basalwork {

// Types added to the managed object context.
struct NSManagedObjectContext {
    template <class T>
    class FetchFirstResult;
};

// Runs the block on the context's queue, the caller waiting, and returns its value or throws its error.
template <class Block>
std::invoke_result_t<Block> performSynchronously(CoreData::NSManagedObjectContext& context, Block&& block)
{
    using Value = std::invoke_result_t<Block>;
    std::exception_ptr error;
    if constexpr (std::is_void_v<Value>) {
        context.performAndWait([&] {
            try {
                block();
            } catch (...) {
                error = std::current_exception();
            }
        });
        if (error)
            std::rethrow_exception(error);
    } else {
        std::optional<Value> value;
        context.performAndWait([&] {
            try {
                value.emplace(block());
            } catch (...) {
                error = std::current_exception();
            }
        });
        if (error)
            std::rethrow_exception(error);
        return std::move(*value);
    }
}

// Hands the block to the context's queue and returns at once.
void performAsynchronously(CoreData::NSManagedObjectContext& context, std::function<void()> block);

// fetch(first:): nothing, the one object, or all of them in fetch order. On the caller's thread, which
// must be the context's queue (inside `performSynchronously`, for instance).
template <class T>
NSManagedObjectContext::FetchFirstResult<T> fetch(CoreData::NSManagedObjectContext& context, const CoreData::NSFetchRequest<T>& first);

// Whether the request matches some, no, or at most one object, counted by the context.
bool hasAny(CoreData::NSManagedObjectContext& context, const CoreData::NSFetchRequest<CoreData::NSManagedObject>& matching);
bool hasNone(CoreData::NSManagedObjectContext& context, const CoreData::NSFetchRequest<CoreData::NSManagedObject>& matching);
bool hasNoMoreThanOne(CoreData::NSManagedObjectContext& context, const CoreData::NSFetchRequest<CoreData::NSManagedObject>& matching);

// delete(_:): deletes in the store, without fetching them, every object the request matches.
void delete_(CoreData::NSManagedObjectContext& context, const CoreData::NSFetchRequest<CoreData::NSManagedObject>& request);

} // namespace Basalwork

#include "Basalwork/Base/NSManagedObjectContext.FetchFirstResult.hpp"

namespace Basalwork {

template <class T>
NSManagedObjectContext::FetchFirstResult<T> fetch(CoreData::NSManagedObjectContext& context, const CoreData::NSFetchRequest<T>& first)
{
    auto objects = context.fetch(first);
    if (objects.empty())
        return NSManagedObjectContext::FetchFirstResult<T>::noResults();
    if (objects.size() == 1)
        return NSManagedObjectContext::FetchFirstResult<T>::oneResult(std::move(objects.front()));
    return NSManagedObjectContext::FetchFirstResult<T>::multipleResults(std::move(objects));
}

} // namespace Basalwork
