#include "Shared/Model/PublicSuffixList.hpp"

#include <libpsl.h>
#include <string>

namespace Shared {

bool PublicSuffixList::isPublicSuffix(std::string_view host)
{
    // Loaded once and never freed: lookups may still run on workers while the process exits.
    static const psl_ctx_t* list = [] {
        const psl_ctx_t* latest = psl_latest(nullptr);
        return latest ? latest : psl_builtin();
    }();
    if (!list)
        return false;
    std::string name(host);
    return psl_is_public_suffix(list, name.c_str()) != 0;
}

} // namespace Shared
