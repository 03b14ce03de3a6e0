#include "Platform/SystemConfiguration/SCError.hpp"

namespace SystemConfiguration {
namespace {
thread_local std::int32_t t_lastError = kSCStatusOK;
} // namespace

std::int32_t SCError()
{
    return t_lastError;
}

namespace detail {
void setSCError(std::int32_t status)
{
    t_lastError = status;
}
} // namespace detail

} // namespace SystemConfiguration
