#pragma once

#include <string>
#include <vector>

namespace TestSupport {

// The documented record cutting, literally: a chunk per call, then every delimiter of the list searched in
// all that was read and not handed out, the first of the list found winning. Records keep their delimiter
// when `keep`.
inline std::vector<std::string> referenceRecords(const std::string& contents, const std::vector<std::string>& delimiters,
                                                 bool keep, std::size_t chunkSize)
{
    std::vector<std::string> result;
    std::size_t start = 0; // what was read and not handed out is [start, read)
    std::size_t read = 0;
    while (true) {
        std::size_t chunk = std::min(chunkSize, contents.size() - read);
        read += chunk;
        std::string_view buffer = std::string_view(contents).substr(start, read - start);
        if (delimiters.empty() && !buffer.empty()) {
            result.emplace_back(buffer);
            start = read;
            continue;
        }
        bool cut = false;
        for (const auto& delimiter : delimiters) {
            auto at = delimiter.empty() ? std::string_view::npos : buffer.find(delimiter);
            if (at != std::string_view::npos) {
                result.emplace_back(buffer.substr(0, keep ? at + delimiter.size() : at));
                start += at + delimiter.size();
                cut = true;
                break;
            }
        }
        if (cut || chunk > 0)
            continue;
        if (buffer.empty())
            return result;
        result.emplace_back(buffer);
        start = read;
    }
}

} // namespace TestSupport
