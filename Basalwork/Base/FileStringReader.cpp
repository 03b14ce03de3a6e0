#include "Basalwork/Base/FileStringReader.hpp"

#include "Basalwork/Base/GeneralError.hpp"
#include "Basalwork/Base/String.hpp"

namespace Basalwork {
namespace {

std::vector<Foundation::Data> encoded(const std::vector<Foundation::String>& delimiters,
                                      const Foundation::String::Encoding& encoding)
{
    std::vector<Foundation::Data> result;
    result.reserve(delimiters.size());
    for (const auto& delimiter : delimiters)
        result.push_back(data(delimiter, encoding));
    return result;
}

} // namespace

FileStringReader::FileStringReader(const Foundation::URL& fileURL, const std::vector<Foundation::String>& delimiters,
                                   bool includeDelimetersInString, const Foundation::String::Encoding& encoding,
                                   std::int64_t chunkSize, std::shared_ptr<Foundation::Progress> progress)
    : m_fileDataReader(Foundation::make<FileDataReader>(fileURL, encoded(delimiters, encoding), includeDelimetersInString,
                                                        chunkSize, std::move(progress)))
    , m_encoding(encoding)
{
}

std::optional<Foundation::String> FileStringReader::nextString()
{
    auto record = m_fileDataReader->nextData();
    if (!record)
        return std::nullopt;
    if (auto text = Foundation::String::fromData(*record, m_encoding))
        return text;
    if (m_encoding == Foundation::String::Encoding::utf8())
        throw GeneralError::failedToDecodeUTF8StringFromData(std::move(*record));
    throw GeneralError::failedWithMessage("Failed to decode data using encoding: " + Foundation::String(m_encoding.description()));
}

Foundation::AnyIterator<Foundation::String> FileStringReader::makeIterator()
{
    return Foundation::AnyIterator<Foundation::String>([self = sharedSelf(this)] { return self->nextString(); });
}

} // namespace Basalwork
