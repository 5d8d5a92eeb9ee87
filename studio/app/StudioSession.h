#pragma once

#include "PluginLoader.h"
#include "StudioOptions.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

class AbstractSettingsPage;
class FileSettingsStore;
class HostDevice;
class HostPeers;
class SettingsStore;

namespace orvane {
class StudioApplication;
}

// One run of the studio host: the stores in the config folder, the peer
// modules over them, the current device and the loaded plug-ins, torn down
// in the order the plug-ins' code needs.
class StudioSession
{
    Q_DECLARE_TR_FUNCTIONS(StudioSession)

public:
    // In the window (an event loop running) the saves of one Apply or
    // Restore Defaults wait at most this long in all for locks that other
    // processes hold, then report which store is busy; batch runs wait as
    // long as a save may take, so that concurrent studios still merge.
    static constexpr std::chrono::milliseconds kWindowLockWait{1000};

    // Opens the stores under `configDir` (one file per module) and
    // registers the peer modules with `kinds` and a current device.
    StudioSession(orvane::StudioApplication &app, const QString &configDir,
                  const std::vector<std::string> &kinds);
    ~StudioSession();
    StudioSession(const StudioSession &) = delete;
    StudioSession &operator=(const StudioSession &) = delete;

    // Why stores could not be read, one line each (their files were kept).
    QStringList storeErrors() const;

    // Why the latest write of a store failed, one line each; empty when
    // every store saved its last change.
    QStringList writeErrors() const;

    // The store of "vendrel-studio", "dev_hwup" or "mirel_wr_support";
    // null for any other name.
    FileSettingsStore *store(const std::string &module) const;
    // Writes one value; false with `error` set when the file was not saved.
    // NOLINTNEXTLINE(readability-make-member-function-const): it changes a store the session owns
    bool write(const StudioOptions::Assignment &assignment, QString *error);
    // What the stores' files hold, in dump order, for StoreDump: values
    // that could not be saved are not shown as stored.
    std::vector<std::pair<std::string, const std::map<std::string, std::string> *>> stores() const;

    HostDevice &device() const;
    PluginLoader &loader();

    // The pages to show: ordered by group, then registration; without the
    // pages of refused plug-ins.
    std::vector<std::shared_ptr<AbstractSettingsPage>> pages() const;

    // Drops the pages, uninitialises and releases the plug-in modules, then
    // the peers. Called by the destructor if not before.
    void shutdown();

private:
    orvane::StudioApplication &m_app;
    std::vector<std::pair<std::string, std::shared_ptr<FileSettingsStore>>> m_stores;
    std::unique_ptr<HostPeers> m_peers;
    std::shared_ptr<HostDevice> m_device;
    std::unique_ptr<PluginLoader> m_loader;
    bool m_shutDown = false;
};
