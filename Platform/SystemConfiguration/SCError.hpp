#pragma once

#include <cstdint>

namespace SystemConfiguration {

inline constexpr std::int32_t kSCStatusOK = 0;
inline constexpr std::int32_t kSCStatusFailed = 1001;
inline constexpr std::int32_t kSCStatusInvalidArgument = 1002;

// The status of the last call on this thread that failed.
std::int32_t SCError();

namespace detail {
void setSCError(std::int32_t status);
} // namespace detail

} // namespace SystemConfiguration
