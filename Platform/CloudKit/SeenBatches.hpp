#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace Foundation {
class JSONStreamWriter;
class JSONView;
} // namespace Foundation

namespace CloudKit {

// The batch files a change token has seen. Each device writes its sequence numbers in order, so the
// set is kept as ranges per device and stays small however many batches there are; a file whose name
// is not a batch's (kept by tokens of earlier versions) is kept by name.
class SeenBatches {
public:
    bool contains(const std::string& fileName) const;
    // For a batch's or snapshot's name already parsed.
    bool contains(const std::string& device, std::int64_t sequence) const;
    void insert(const std::string& fileName);
    void insert(const SeenBatches& other);
    // Whether every batch `other` holds is held here too.
    bool includes(const SeenBatches& other) const;
    bool isEmpty() const { return m_ranges.empty() && m_others.empty(); }

    void encode(Foundation::JSONStreamWriter& writer) const;
    static std::optional<SeenBatches> decode(const Foundation::JSONView& json);

private:
    // Sorted, disjoint and not adjacent: [first, last] inclusive.
    std::map<std::string, std::vector<std::pair<std::int64_t, std::int64_t>>> m_ranges;
    std::set<std::string> m_others;
};

} // namespace CloudKit
