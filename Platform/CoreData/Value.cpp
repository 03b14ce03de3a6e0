#include "Platform/CoreData/Value.hpp"

#include "Platform/Foundation/Enumeration.hpp"

#include <cstdio>
#include <functional>

namespace CoreData {

const char* name(NSAttributeType type)
{
    switch (type) {
    case NSAttributeType::string: return "string";
    case NSAttributeType::integer64: return "integer64";
    case NSAttributeType::double_: return "double";
    case NSAttributeType::boolean: return "boolean";
    case NSAttributeType::date: return "date";
    case NSAttributeType::binaryData: return "binaryData";
    case NSAttributeType::uuid: return "uuid";
    }
    return "unknown";
}

std::optional<NSAttributeType> Value::attributeType() const
{
    using Type = std::optional<NSAttributeType>;
    return std::visit(Foundation::Overloaded {
                          [](const bool&) -> Type { return NSAttributeType::boolean; },
                          [](const std::int64_t&) -> Type { return NSAttributeType::integer64; },
                          [](const double&) -> Type { return NSAttributeType::double_; },
                          [](const Foundation::String&) -> Type { return NSAttributeType::string; },
                          [](const Foundation::Date&) -> Type { return NSAttributeType::date; },
                          [](const Foundation::Data&) -> Type { return NSAttributeType::binaryData; },
                          [](const Foundation::UUID&) -> Type { return NSAttributeType::uuid; },
                          // Nothing, and the ID of a related object.
                          [](const auto&) -> Type { return std::nullopt; },
                      },
                      m_storage);
}

namespace {

std::string quoted(const std::string& text)
{
    std::string result = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\')
            result += '\\';
        result += c;
    }
    return result + "\"";
}

std::string number(double value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.17g", value);
    return buffer;
}

} // namespace

std::string Value::description() const
{
    struct Describe {
        std::string operator()(std::monostate) const { return "nil"; }
        std::string operator()(bool value) const { return value ? "YES" : "NO"; }
        std::string operator()(std::int64_t value) const { return std::to_string(value); }
        std::string operator()(double value) const { return number(value); }
        std::string operator()(const Foundation::String& value) const { return quoted(value.utf8()); }
        std::string operator()(Foundation::Date value) const
        {
            return "CAST(" + number(value.timeIntervalSinceReferenceDate()) + ", \"NSDate\")";
        }
        std::string operator()(const Foundation::Data& value) const { return "<" + value.description() + ">"; }
        std::string operator()(const Foundation::UUID& value) const { return value.uuidString().utf8(); }
        std::string operator()(const NSManagedObjectID& value) const { return value.description(); }
    };
    return std::visit(Describe {}, m_storage);
}

std::size_t Value::hash() const
{
    struct Hash {
        std::size_t operator()(std::monostate) const { return 0; }
        std::size_t operator()(bool value) const { return std::hash<bool>()(value); }
        std::size_t operator()(std::int64_t value) const { return std::hash<std::int64_t>()(value); }
        std::size_t operator()(double value) const { return std::hash<double>()(value); }
        std::size_t operator()(const Foundation::String& value) const { return value.hash(); }
        std::size_t operator()(Foundation::Date value) const { return std::hash<double>()(value.timeIntervalSinceReferenceDate()); }
        std::size_t operator()(const Foundation::Data& value) const { return value.hash(); }
        std::size_t operator()(const Foundation::UUID& value) const { return value.hash(); }
        std::size_t operator()(const NSManagedObjectID& value) const { return value.hash(); }
    };
    return std::visit(Hash {}, m_storage) * 8 + m_storage.index();
}

} // namespace CoreData
