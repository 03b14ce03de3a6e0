#pragma once

#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/SystemConfiguration/SCNetworkReachability.hpp"

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace Basalwork {

// Whether the network (or one host) can be reached and over which kind of link. Once the notifier runs,
// every change of the service's flags calls `whenReachable` or `whenUnreachable` and posts
// `reachabilityChanged`, on the notification queue (or, without one, on the object's own serial queue).
//
// Reading `connection()` before any flags are known reads them on the serial queue and waits, so it must
// not be read from a closure running on that queue before then.
class Reachability : public Foundation::NSObject {
public:
    enum class Connection;
    enum class NetworkStatus;
    using Closure = std::function<void(Reachability&)>;

    ~Reachability() override;

    Closure whenReachable() const;
    void setWhenReachable(Closure closure);
    Closure whenUnreachable() const;
    void setWhenUnreachable(Closure closure);
    bool reachableOnWWAN() const { return true; }
    bool allowsCellularConnection() const;
    void setAllowsCellularConnection(bool allows);
    std::shared_ptr<Foundation::NotificationCenter> notificationCenter() const;
    void setNotificationCenter(std::shared_ptr<Foundation::NotificationCenter> center);

    // Starting twice starts once. Failures throw ReachabilityError and leave monitoring off.
    void startNotifier();
    void stopNotifier();

    Connection connection() const;
    Connection currentReachabilityStatus() const { return connection(); }
    std::string currentReachabilityString() const;
    bool isReachable() const;
    bool isReachableViaWiFi() const;
    bool isReachableViaWWAN() const;

    // "unavailable flags" before any read; else one character per flag ("-R -------" for plain Wi-Fi).
    std::string description() const override;

protected:
    friend Foundation::Construct;
    explicit Reachability(std::shared_ptr<SystemConfiguration::SCNetworkReachability> reachabilityRef,
                          Foundation::DispatchQoS::QoSClass queueQoS = Foundation::DispatchQoS::QoSClass::default_,
                          std::shared_ptr<Foundation::DispatchQueue> targetQueue = nullptr,
                          std::shared_ptr<Foundation::DispatchQueue> notificationQueue = Foundation::DispatchQueue::main());
    // Throws ReachabilityError.failedToCreateWithHostname when the service refuses the name.
    explicit Reachability(const Foundation::String& hostname,
                          Foundation::DispatchQoS::QoSClass queueQoS = Foundation::DispatchQoS::QoSClass::default_,
                          std::shared_ptr<Foundation::DispatchQueue> targetQueue = nullptr,
                          std::shared_ptr<Foundation::DispatchQueue> notificationQueue = Foundation::DispatchQueue::main());
    // The network as a whole (the zero address). Throws ReachabilityError.failedToCreateWithAddress.
    explicit Reachability(Foundation::DispatchQoS::QoSClass queueQoS = Foundation::DispatchQoS::QoSClass::default_,
                          std::shared_ptr<Foundation::DispatchQueue> targetQueue = nullptr,
                          std::shared_ptr<Foundation::DispatchQueue> notificationQueue = Foundation::DispatchQueue::main());

private:
    // On the serial queue: reads the flags and announces a change. When they cannot be read, stops
    // monitoring and answers the service's status, for the caller to raise on its own thread.
    std::optional<std::int32_t> readFlags() const;
    // Reads on the serial queue and waits.
    std::optional<std::int32_t> readFlagsAndWait() const;
    // On the serial queue.
    void flagsDidArrive(SystemConfiguration::SCNetworkReachabilityFlags flags) const;
    void notifyReachabilityChanged() const;
    void stopMonitoring() const;

    const std::shared_ptr<SystemConfiguration::SCNetworkReachability> m_reachabilityRef;
    const std::shared_ptr<Foundation::DispatchQueue> m_reachabilitySerialQueue;
    const std::shared_ptr<Foundation::DispatchQueue> m_notificationQueue;
    mutable std::mutex m_mutex;
    Closure m_whenReachable;
    Closure m_whenUnreachable;
    bool m_allowsCellularConnection = true;
    std::shared_ptr<Foundation::NotificationCenter> m_notificationCenter;
    // Written by reads, which a getter may make.
    mutable bool m_notifierRunning = false;
    mutable std::optional<SystemConfiguration::SCNetworkReachabilityFlags> m_flags;
};

} // namespace Basalwork

#include "Basalwork/Base/Reachability.Connection.hpp"
#include "Basalwork/Base/Reachability.NetworkStatus.hpp"
