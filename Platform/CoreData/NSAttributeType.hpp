#pragma once

namespace CoreData {

// What an attribute holds. Each type has one C++ type: `Foundation::String`, `std::int64_t`, `double`,
// `bool`, `Foundation::Date`, `Foundation::Data` and `Foundation::UUID`.
enum class NSAttributeType { string, integer64, double_, boolean, date, binaryData, uuid };

// "string", "integer64", ...: for messages.
const char* name(NSAttributeType type);

} // namespace CoreData
