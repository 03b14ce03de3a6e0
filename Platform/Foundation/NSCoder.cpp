#include "Platform/Foundation/NSCoder.hpp"

#include "Platform/Foundation/FatalError.hpp"

namespace Foundation {
namespace {

[[noreturn]] void unavailable(const char* operation)
{
    fatalError(std::string(operation) + " is not available in this coder");
}

} // namespace

void NSCoder::encodeBool(bool, std::string_view) { unavailable("encodeBool"); }
void NSCoder::encodeInteger(std::int64_t, std::string_view) { unavailable("encodeInteger"); }
void NSCoder::encodeDouble(double, std::string_view) { unavailable("encodeDouble"); }
void NSCoder::encodeString(const String&, std::string_view) { unavailable("encodeString"); }
void NSCoder::encodeData(const Data&, std::string_view) { unavailable("encodeData"); }
void NSCoder::encodeDate(const Date&, std::string_view) { unavailable("encodeDate"); }
void NSCoder::encodeObject(const std::shared_ptr<NSObject>&, std::string_view) { unavailable("encodeObject"); }
bool NSCoder::containsValue(std::string_view) const { unavailable("containsValue"); }
bool NSCoder::decodeBool(std::string_view) const { unavailable("decodeBool"); }
std::int64_t NSCoder::decodeInteger(std::string_view) const { unavailable("decodeInteger"); }
double NSCoder::decodeDouble(std::string_view) const { unavailable("decodeDouble"); }
std::optional<String> NSCoder::decodeString(std::string_view) const { unavailable("decodeString"); }
std::optional<Data> NSCoder::decodeData(std::string_view) const { unavailable("decodeData"); }
std::optional<Date> NSCoder::decodeDate(std::string_view) const { unavailable("decodeDate"); }
std::shared_ptr<NSObject> NSCoder::decodeObject(std::string_view) const { unavailable("decodeObject"); }

} // namespace Foundation
