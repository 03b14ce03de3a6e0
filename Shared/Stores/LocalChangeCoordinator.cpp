#include "Shared/Stores/LocalChangeCoordinator.hpp"

#include "Shared/Model/Global.hpp"
#include "Shared/Stores/AuthenticationStore.hpp"
#include "Shared/Stores/FolderWatcher.hpp"

#include "Basalwork/Base/File.Location.hpp"

#include "Platform/Foundation/FileIO.hpp"
#include "Platform/Foundation/FileManager.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"

#include <charconv>
#include <filesystem>

namespace Shared {

const Foundation::Notification::Name& LocalChangeCoordinator::localChangeCoordinatorDidMonitorChange()
{
    static const auto& name = *new Foundation::Notification::Name("localChangeCoordinatorDidMonitorChange");
    return name;
}

LocalChangeCoordinator::LocalChangeCoordinator(std::shared_ptr<Foundation::NotificationCenter> notificationCenter,
                                               std::shared_ptr<AuthenticationStore> authenticationStore, std::shared_ptr<RecordStore>,
                                               AppExecutionContext appExecutionContext)
    : m_notificationCenter(std::move(notificationCenter))
    , m_authenticationStore(authenticationStore)
    , m_appExecutionContext(std::move(appExecutionContext))
    , m_markerURL(Basalwork::File::Location::appGroup(Global::App::appGroupIdentifier(), Foundation::String("Library/Application Support/LocalChangeCoordinator"))
                      .url(*Foundation::FileManager::defaultManager())
                      .appendingPathComponent("pendingLocalChange", false))
{
}

LocalChangeCoordinator::~LocalChangeCoordinator()
{
    for (const auto& observer : m_observers)
        m_notificationCenter->removeObserver(observer);
}

void LocalChangeCoordinator::initialize()
{
    NSObject::initialize();
    // The extension only registers changes; the program watches for them.
    if (m_appExecutionContext.isExtension())
        return;
    std::weak_ptr<LocalChangeCoordinator> weak = sharedSelf(this);
    auto check = [weak](const Foundation::Notification&) {
        if (auto self = weak.lock())
            self->checkForLocalChanges();
    };
    m_observers.push_back(m_notificationCenter->addObserver(AuthenticationStore::authenticationStoreDidUpdateAuthenticationState(),
                                                            m_authenticationStore.lock(), nullptr, check));
    m_observers.push_back(m_notificationCenter->addObserver(Foundation::Notification::Name("UIApplicationDidBecomeActiveNotification"), nullptr,
                                                            nullptr, check));
    m_markerWatcher = std::make_unique<FolderWatcher>(m_markerURL.deletingLastPathComponent().path().utf8(), [weak] {
        if (auto self = weak.lock())
            self->checkForLocalChanges();
    });
}

std::optional<Foundation::Date> LocalChangeCoordinator::pendingChangeDate() const
{
    try {
        auto path = m_markerURL.path().utf8();
        if (!std::filesystem::exists(path))
            return std::nullopt;
        auto text = Foundation::FileIO::readFile(path);
        double seconds = 0;
        auto [end, error] = std::from_chars(text.view().data(), text.view().data() + text.view().size(), seconds);
        if (error != std::errc())
            return Foundation::Date();
        return Foundation::Date(seconds);
    } catch (const Foundation::Error&) {
        return std::nullopt;
    }
}

bool LocalChangeCoordinator::hasPendingLocalChanges() const
{
    return pendingChangeDate().has_value();
}

void LocalChangeCoordinator::registerLocalChange()
{
    auto now = std::to_string(Foundation::Date::now().timeIntervalSinceReferenceDate());
    Foundation::FileIO::writeFile(m_markerURL.path().utf8(), Foundation::Data::fromString(now), true);
}

void LocalChangeCoordinator::checkForLocalChanges()
{
    auto authenticationStore = m_authenticationStore.lock();
    if (!authenticationStore || !authenticationStore->authenticationState().isAuthenticated())
        return;
    auto date = pendingChangeDate();
    if (!date || date == m_announcedChangeDate)
        return;
    m_announcedChangeDate = date;
    m_notificationCenter->post(localChangeCoordinatorDidMonitorChange(), sharedSelf(this));
}

void LocalChangeCoordinator::localChangesDidSynchronize()
{
    // A change registered after the one announced waits for the next sync.
    auto date = pendingChangeDate();
    if (date && m_announcedChangeDate && *date != *m_announcedChangeDate)
        return;
    std::error_code ignored;
    std::filesystem::remove(m_markerURL.path().utf8(), ignored);
    m_announcedChangeDate.reset();
}

} // namespace Shared
