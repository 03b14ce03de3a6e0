#pragma once

#include "Platform/CoreData/Value.hpp"

#include <memory>
#include <string>
#include <unordered_set>
#include <variant>
#include <vector>

namespace CoreData {

// A set of values one column is tested against (a long `in` list), handed to SQL by pointer.
using SQLValueSet = std::unordered_set<Value>;
using SQLBinding = std::variant<Value, std::shared_ptr<const SQLValueSet>>;

// A piece of SQL with the values its parameters are bound to, in order.
struct SQLFragment {
    std::string text;
    std::vector<SQLBinding> bindings;
};

} // namespace CoreData
