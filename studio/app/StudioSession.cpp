#include "StudioSession.h"

#include "studio/orvane/StudioApplication.h"
#include "studio/peers/FileSettingsStore.h"
#include "studio/peers/HostPeers.h"
#include "studio/peers/LockBudget.h"

#include <QDir>

StudioSession::StudioSession(orvane::StudioApplication &app, const QString &configDir,
                             const std::vector<std::string> &kinds)
    : m_app(app)
    , m_device(std::make_shared<HostDevice>())
{
    const QDir dir(configDir);
    const auto lockBudget = std::make_shared<LockBudget>(kWindowLockWait);
    for (const std::string &module : StudioOptions::storeModules()) {
        const QString file = dir.filePath(QString::fromStdString(module) + QStringLiteral(".conf"));
        m_stores.emplace_back(module, std::make_shared<FileSettingsStore>(file));
        m_stores.back().second->setLockBudget(lockBudget);
    }
    m_peers = std::make_unique<HostPeers>(m_stores.at(0).second, m_stores.at(1).second,
                                          m_stores.at(2).second);
    HostDeviceRegistry &devices = m_peers->studio->hostCore().hostDevices();
    devices.setKindNames(kinds);
    devices.setCurrentDevice(m_device);
    m_peers->registerAll(m_app);
    m_loader = std::make_unique<PluginLoader>(m_app, &m_peers->uisManager->pages());
}

StudioSession::~StudioSession() { shutdown(); }

QStringList StudioSession::storeErrors() const
{
    QStringList errors;
    for (const auto &store : m_stores) {
        if (!store.second->loadError().isEmpty())
            errors << store.second->loadError();
    }
    return errors;
}

QStringList StudioSession::writeErrors() const
{
    QStringList errors;
    for (const auto &store : m_stores) {
        if (!store.second->writeError().isEmpty())
            errors << store.second->writeError();
    }
    return errors;
}

FileSettingsStore *StudioSession::store(const std::string &module) const
{
    for (const auto &store : m_stores) {
        if (store.first == module)
            return store.second.get();
    }
    return nullptr;
}

// NOLINTNEXTLINE(readability-make-member-function-const): it changes a store the session owns
bool StudioSession::write(const StudioOptions::Assignment &assignment, QString *error)
{
    FileSettingsStore *target = store(assignment.module);
    if (!target) {
        *error = tr("no store for module “%1”").arg(QString::fromStdString(assignment.module));
        return false;
    }
    if (!target->setValue(assignment.key, assignment.value)) {
        *error = target->writeError();
        return false;
    }
    return true;
}

std::vector<std::pair<std::string, const std::map<std::string, std::string> *>>
StudioSession::stores() const
{
    std::vector<std::pair<std::string, const std::map<std::string, std::string> *>> all;
    for (const auto &store : m_stores)
        all.emplace_back(store.first, store.second->storedEntries());
    return all;
}

HostDevice &StudioSession::device() const { return *m_device; }

PluginLoader &StudioSession::loader() { return *m_loader; }

std::vector<std::shared_ptr<AbstractSettingsPage>> StudioSession::pages() const
{
    std::vector<std::shared_ptr<AbstractSettingsPage>> pages;
    if (m_shutDown)
        return pages;
    for (const HostPageRegistry::Entry &entry : m_peers->uisManager->pages().pages()) {
        if (!m_loader->isStray(entry.page.get()))
            pages.push_back(entry.page);
    }
    return pages;
}

void StudioSession::shutdown()
{
    if (m_shutDown)
        return;
    m_shutDown = true;
    // Pages first: their code and their widgets belong to the plug-ins.
    m_peers->uisManager->pages().clear();
    m_loader->releaseModules();
    for (const char *name : {HostPeers::kMirelWrSupport, HostPeers::kDevHwup,
                             HostPeers::kVendrelStudio, HostPeers::kUisManager})
        m_app.removeModule(name);
    m_peers.reset();
}
