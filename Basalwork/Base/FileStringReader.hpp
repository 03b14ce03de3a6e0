#pragma once

#include "Basalwork/Base/FileDataReader.hpp"

#include "Platform/Foundation/AnyIterator.hpp"
#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/Progress.hpp"
#include "Platform/Foundation/String.Encoding.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/Foundation/URL.hpp"

#include <cstdint>
#include <iterator>
#include <memory>
#include <optional>
#include <vector>

namespace Basalwork {

// A FileDataReader whose records come out as text in one encoding.
//
// Made with `Foundation::make<FileStringReader>(...)`, which throws GeneralError.failedWithMessage when a
// delimiter has no form in the encoding, and otherwise what FileDataReader's construction throws.
class FileStringReader : public Foundation::NSObject {
public:
    // The next record, or nothing once the file is used up. A record that is not valid in the encoding
    // throws GeneralError (failedToDecodeUTF8StringFromData for UTF-8, else failedWithMessage): taken for
    // the end of the file, it would cut the text short without a word. The record is used up either way.
    virtual std::optional<Foundation::String> nextString();
    virtual const std::shared_ptr<Foundation::Progress>& progress() const { return m_fileDataReader->progress(); }

    // Each holds the reader, so it can outlive the caller's reference.
    Foundation::AnyIterator<Foundation::String> makeIterator();
    auto begin() { return makeIterator().begin(); }
    std::default_sentinel_t end() { return {}; }

protected:
    friend Foundation::Construct;
    FileStringReader(const Foundation::URL& fileURL, const std::vector<Foundation::String>& delimiters,
                     bool includeDelimetersInString, const Foundation::String::Encoding& encoding,
                     std::int64_t chunkSize, std::shared_ptr<Foundation::Progress> progress);

private:
    std::shared_ptr<FileDataReader> m_fileDataReader;
    Foundation::String::Encoding m_encoding;
};

} // namespace Basalwork
