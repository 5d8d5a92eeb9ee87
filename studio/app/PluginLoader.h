#pragma once

#include <QCoreApplication>
#include <QString>

#include <memory>
#include <set>
#include <string>
#include <typeinfo>
#include <vector>

class AbstractSettingsPage;
class HostPageRegistry;
class QLibrary;

namespace orvane {
class StudioApplication;
}

// Loads plug-in libraries (*.plg) the way the studio does: reads the
// descriptor, checks it, calls the module factory with the host's flag
// registry, registers the module under its name and initialises it. A
// plug-in that fails any step is refused with a reason and its module is
// unregistered; the others go on.
//
// Libraries are never unloaded: a module handle, a page or a flag key of a
// plug-in may point into its code until the process ends.
class PluginLoader
{
    Q_DECLARE_TR_FUNCTIONS(PluginLoader)

public:
    static constexpr const char *kArchitecture = "3.1.2.1";
    static constexpr const char *kDescriptorSymbol = "VD_GetPluginInfo";

    struct Loaded
    {
        QString file;
        std::string name;
        const std::type_info *interfaceType;
    };
    struct Refused
    {
        QString file;
        QString reason; // one line
    };

    // `pages` (optional) is the settings dialog's registry: pages that a
    // refused plug-in added during its init are remembered as stray.
    explicit PluginLoader(orvane::StudioApplication &app, HostPageRegistry *pages = nullptr);
    ~PluginLoader();
    PluginLoader(const PluginLoader &) = delete;
    PluginLoader &operator=(const PluginLoader &) = delete;

    // Loads every *.plg of `folder`, in file-name order; why the folder
    // could not be read, or "".
    QString loadFolder(const QString &folder);
    // Loads one plug-in; false when it was refused. A file that
    // PluginFile::layoutProblem finds fault with (cut short, damaged, not
    // the host's format) is refused before the system's loader sees it.
    bool loadFile(const QString &path);

    const std::vector<Loaded> &loaded() const;
    const std::vector<Refused> &refused() const;
    // True for a page that a refused plug-in left in the registry.
    bool isStray(const AbstractSettingsPage *page) const;

    // Calls uninit on every loaded module (newest first) and unregisters
    // them, so their handles are released while their code is still mapped.
    void releaseModules();

private:
    bool refuse(const QString &path, const QString &reason);
    QString load(const QString &path, QLibrary &library);

    orvane::StudioApplication &m_app;
    HostPageRegistry *m_pages;
    std::vector<Loaded> m_loaded;
    std::vector<Refused> m_refused;
    std::set<const AbstractSettingsPage *> m_stray;
    std::vector<std::unique_ptr<QLibrary>> m_libraries;
};
