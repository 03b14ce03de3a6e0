#pragma once

#include "Platform/Foundation/URLRequest.hpp"

namespace Foundation {

// Recorded only: nothing here caches responses.
enum class URLRequest::CachePolicy {
    useProtocolCachePolicy,
    reloadIgnoringLocalCacheData,
    returnCacheDataElseLoad,
    returnCacheDataDontLoad,
};

} // namespace Foundation
