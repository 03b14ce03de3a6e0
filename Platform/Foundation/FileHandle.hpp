#pragma once

#include "Platform/Foundation/Data.hpp"
#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/URL.hpp"

#include <cstdint>
#include <memory>

namespace Foundation {

// An open file on the real file system. Failures are NSError in NSCocoaErrorDomain with the platform's
// codes (see CocoaError).
class FileHandle : public NSObject {
public:
    // init(forReadingFrom:). A directory cannot be read, so it is refused here rather than at the first
    // read.
    static std::shared_ptr<FileHandle> forReadingFrom(const URL& url);

    ~FileHandle() override;

    // Up to `length` bytes from the current position; fewer only at the end of the file, none there.
    // A failed read throws, where the platform would raise an exception: a short answer would look
    // like the end of the file.
    Data readData(std::int64_t ofLength);
    // Up to `length` bytes at `offset` into `buffer`, leaving the current position alone; fewer only at the
    // end of the file. Failures throw as for readData.
    std::size_t read(std::uint8_t* buffer, std::size_t length, std::uint64_t offset);
    // Further calls do nothing; reading a closed handle gives nothing.
    void closeFile();

protected:
    friend Construct;
    FileHandle(int descriptor, std::string path);

private:
    int m_descriptor;
    std::string m_path;
};

} // namespace Foundation
