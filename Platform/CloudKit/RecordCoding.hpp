#pragma once

#include "Platform/CloudKit/CKRecordValue.hpp"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace Foundation {
class JSONStreamWriter;
class JSONView;
} // namespace Foundation

namespace CloudKit {

class CKAsset;

// The JSON form of field values, shared by change batches, long-lived operations and coded records.
// Each value is an object with one member naming its kind: {"string": "..."}, {"int64": 1},
// {"double": 0.5} (or "nan", "inf", "-inf"), {"date": seconds since 2001}, {"data": base64},
// {"asset": reference}, {"list": [values]}. What an asset's reference is belongs to the caller.
namespace RecordCoding {

using AssetWriter = std::function<std::string(const CKAsset&)>;
// Answers null for a reference it cannot place.
using AssetReader = std::function<std::shared_ptr<CKAsset>(const std::string&)>;

void encode(Foundation::JSONStreamWriter& writer, const CKRecordValue& value, const AssetWriter& assetWriter);
// Nothing for a value of a kind this version does not know, a malformed one or a list inside a list.
std::optional<CKRecordValue> decode(const Foundation::JSONView& value, const AssetReader& assetReader);
// Whether decode would read it, without making the value.
bool isReadable(const Foundation::JSONView& value, const AssetReader& assetReader);

// Record types and field keys: a letter first, then letters, digits and underscores, at most 255.
bool isValidName(const std::string& name);

} // namespace RecordCoding

} // namespace CloudKit
