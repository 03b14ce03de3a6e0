#pragma once

#include <cstdint>

namespace CloudKit {

// Spelled `CKDatabase::Scope` in code; defined on its own so that notifications can name one.
enum class CKDatabaseScope : std::int64_t { public_ = 1, private_ = 2, shared = 3 };

} // namespace CloudKit
