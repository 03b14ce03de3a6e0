#pragma once

namespace Foundation {

// The resource values a URL can be asked for.
enum class URLResourceKey {
    fileSizeKey,
};

} // namespace Foundation
