#pragma once

#include "Basalwork/Base/NSManagedObjectContext.hpp"

#include "Platform/Foundation/Enumeration.hpp"

#include <memory>
#include <variant>
#include <vector>

namespace Basalwork {

// What `fetch(first:)` found: one object, several (in fetch order), or none.
template <class T>
class NSManagedObjectContext::FetchFirstResult : public Foundation::Enumeration<NSManagedObjectContext::FetchFirstResult<T>> {
public:
    struct OneResult {
        std::shared_ptr<T> object;
    };
    struct MultipleResults {
        std::vector<std::shared_ptr<T>> objects;
    };
    struct NoResults { };
    using Case = std::variant<OneResult, MultipleResults, NoResults>;

    static FetchFirstResult oneResult(std::shared_ptr<T> object) { return FetchFirstResult(OneResult {std::move(object)}); }
    static FetchFirstResult multipleResults(std::vector<std::shared_ptr<T>> objects)
    {
        return FetchFirstResult(MultipleResults {std::move(objects)});
    }
    static FetchFirstResult noResults() { return FetchFirstResult(NoResults {}); }

    const Case& value() const { return m_case; }

    // The one object, the first of several, or nothing.
    std::shared_ptr<T> firstResult() const
    {
        if (const auto* one = this->template as<OneResult>())
            return one->object;
        if (const auto* multiple = this->template as<MultipleResults>())
            return multiple->objects.front();
        return nullptr;
    }

private:
    explicit FetchFirstResult(Case value)
        : m_case(std::move(value))
    {
    }
    Case m_case;
};

} // namespace Basalwork
