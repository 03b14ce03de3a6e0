#include "Platform/SystemConfiguration/NetworkMonitor.hpp"

#include "Platform/SystemConfiguration/SCError.hpp"
#include "Platform/SystemConfiguration/SCNetworkReachability.hpp"

#include <algorithm>
#include <array>
#include <cerrno>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <ifaddrs.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace SystemConfiguration {
namespace {

struct State {
    std::mutex mutex;
    std::vector<std::weak_ptr<SCNetworkReachability>> scheduled;
    std::optional<SCNetworkReachabilityFlags> simulatedFlags;
    std::optional<std::int32_t> simulatedFailure;
    bool watching = false;
};

State& state()
{
    static auto* instance = new State;
    return *instance;
}

bool isRoutable(const sockaddr* address)
{
    if (!address)
        return false;
    if (address->sa_family == AF_INET)
        return true;
    if (address->sa_family == AF_INET6) {
        const auto& ipv6 = reinterpret_cast<const sockaddr_in6*>(address)->sin6_addr;
        return !IN6_IS_ADDR_LINKLOCAL(&ipv6) && !IN6_IS_ADDR_LOOPBACK(&ipv6);
    }
    return false;
}

// Mobile-broadband devices say so in their kernel device type.
bool isMobileBroadband(const std::string& interface)
{
    std::ifstream uevent("/sys/class/net/" + interface + "/uevent");
    std::string line;
    while (std::getline(uevent, line)) {
        if (line == "DEVTYPE=wwan")
            return true;
    }
    return false;
}

NetworkMonitor::Reading readInterfaces()
{
    ifaddrs* interfaces = nullptr;
    if (getifaddrs(&interfaces) != 0)
        return {std::nullopt, kSCStatusFailed};
    std::vector<std::string> usable;
    for (const ifaddrs* interface = interfaces; interface; interface = interface->ifa_next) {
        const unsigned flags = interface->ifa_flags;
        if ((flags & IFF_UP) && (flags & IFF_RUNNING) && !(flags & IFF_LOOPBACK) && isRoutable(interface->ifa_addr))
            usable.emplace_back(interface->ifa_name);
    }
    freeifaddrs(interfaces);
    if (usable.empty())
        return {SCNetworkReachabilityFlags {}, kSCStatusOK};
    auto flags = SCNetworkReachabilityFlags::reachable();
    if (std::all_of(usable.begin(), usable.end(), isMobileBroadband))
        flags = flags | SCNetworkReachabilityFlags::isWWAN();
    return {flags, kSCStatusOK};
}

} // namespace

NetworkMonitor::Reading NetworkMonitor::read()
{
    {
        auto& s = state();
        std::lock_guard lock(s.mutex);
        if (s.simulatedFailure)
            return {std::nullopt, *s.simulatedFailure};
        if (s.simulatedFlags)
            return {s.simulatedFlags, kSCStatusOK};
    }
    return readInterfaces();
}

void NetworkMonitor::schedule(const std::shared_ptr<SCNetworkReachability>& target)
{
    auto& s = state();
    bool startWatcher = false;
    {
        std::lock_guard lock(s.mutex);
        std::erase_if(s.scheduled, [&](const auto& weak) {
            auto other = weak.lock();
            return !other || other == target;
        });
        s.scheduled.push_back(target);
        startWatcher = !s.watching;
        s.watching = true;
    }
    if (startWatcher)
        startWatching();
}

void NetworkMonitor::unschedule(const SCNetworkReachability* target)
{
    auto& s = state();
    std::lock_guard lock(s.mutex);
    std::erase_if(s.scheduled, [&](const auto& weak) {
        auto other = weak.lock();
        return !other || other.get() == target;
    });
}

void NetworkMonitor::simulateFlags(std::optional<SCNetworkReachabilityFlags> flags)
{
    {
        auto& s = state();
        std::lock_guard lock(s.mutex);
        s.simulatedFlags = flags;
    }
    deliverToScheduledTargets();
}

void NetworkMonitor::simulateFailure(std::optional<std::int32_t> status)
{
    auto& s = state();
    std::lock_guard lock(s.mutex);
    s.simulatedFailure = status;
}

void NetworkMonitor::deliverToScheduledTargets()
{
    auto reading = read();
    if (!reading.flags)
        return;
    std::vector<std::shared_ptr<SCNetworkReachability>> targets;
    {
        auto& s = state();
        std::lock_guard lock(s.mutex);
        for (const auto& weak : s.scheduled) {
            if (auto target = weak.lock())
                targets.push_back(std::move(target));
        }
    }
    for (const auto& target : targets)
        target->deliverIfChanged(*reading.flags);
}

void NetworkMonitor::startWatching()
{
    int socketDescriptor = socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_ROUTE);
    if (socketDescriptor < 0)
        return; // no live updates; flags are still read on request
    sockaddr_nl address {};
    address.nl_family = AF_NETLINK;
    address.nl_groups = RTMGRP_LINK | RTMGRP_IPV4_IFADDR | RTMGRP_IPV6_IFADDR;
    if (bind(socketDescriptor, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        close(socketDescriptor);
        return;
    }
    // Lives as long as the process: targets come and go, the watcher stays.
    std::thread([socketDescriptor] {
        std::array<char, 8192> buffer;
        for (;;) {
            ssize_t received = recv(socketDescriptor, buffer.data(), buffer.size(), 0);
            if (received < 0 && errno != EINTR && errno != ENOBUFS)
                break;
            // Any link or address message may change the answer; reading again is cheap.
            deliverToScheduledTargets();
        }
        close(socketDescriptor);
    }).detach();
}

} // namespace SystemConfiguration
