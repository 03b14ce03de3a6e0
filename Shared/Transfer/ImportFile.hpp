#pragma once

#include "Platform/Foundation/URL.hpp"

#include <cstdint>

namespace Shared {

// The file a person chose to import, opened as a hostile one: only a regular file is read (a FIFO or a
// device would block or never end), and every way it can fail has a sentence (ImporterError).
class ImportFile {
public:
    // Throws ImporterError.invalidFile unless the file is a regular file that can be read.
    static void check(const Foundation::URL& fileURL);
    // An open descriptor that closes itself.
    class Descriptor {
    public:
        explicit Descriptor(int descriptor) : m_descriptor(descriptor) { }
        Descriptor(const Descriptor&) = delete;
        Descriptor& operator=(const Descriptor&) = delete;
        ~Descriptor();
        int get() const { return m_descriptor; }

    private:
        int m_descriptor;
    };

    // That file opened for reading; never blocks in opening.
    static Descriptor open(const Foundation::URL& fileURL, std::uint64_t* size = nullptr);
};

} // namespace Shared
