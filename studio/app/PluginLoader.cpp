#include "PluginLoader.h"
#include "PluginFile.h"

#include "studio/orvane/StudioApplication.h"
#include "studio/peers/HostPageRegistry.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLibrary>

#include <exception>
#include <system_error>

namespace {

using DescriptorFunction = const char *(*)();
using FactoryFunction = orvane::ModuleRef *(*)(FlagRegistry *);

// Reasons come from dlerror() and from exceptions; keep each on one line.
QString oneLine(QString text)
{
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text.simplified();
}

QString describe(const std::exception_ptr &error)
{
    try {
        std::rethrow_exception(error);
    } catch (const std::system_error &e) {
        return QStringLiteral("%1 (%2 %3)")
                .arg(QString::fromStdString(e.code().message()),
                     QString::fromUtf8(e.code().category().name()))
                .arg(e.code().value());
    } catch (const std::exception &e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return PluginLoader::tr("an exception that is not a std::exception");
    }
}

std::set<const AbstractSettingsPage *> pagesOf(const HostPageRegistry *registry)
{
    std::set<const AbstractSettingsPage *> pages;
    if (registry) {
        for (const HostPageRegistry::Entry &entry : registry->pages())
            pages.insert(entry.page.get());
    }
    return pages;
}

} // namespace

PluginLoader::PluginLoader(orvane::StudioApplication &app, HostPageRegistry *pages)
    : m_app(app)
    , m_pages(pages)
{ }

// The QLibrary objects go, the libraries stay mapped (QLibrary's destructor
// does not unload).
PluginLoader::~PluginLoader() = default;

const std::vector<PluginLoader::Loaded> &PluginLoader::loaded() const { return m_loaded; }

const std::vector<PluginLoader::Refused> &PluginLoader::refused() const { return m_refused; }

bool PluginLoader::isStray(const AbstractSettingsPage *page) const
{
    return m_stray.count(page) > 0;
}

QString PluginLoader::loadFolder(const QString &folder)
{
    QString problem;
    const QDir dir(folder);
    for (const QString &file : PluginFile::pluginFiles(folder, &problem))
        loadFile(dir.filePath(file));
    return problem;
}

bool PluginLoader::refuse(const QString &path, const QString &reason)
{
    m_refused.push_back(Refused{path, oneLine(reason)});
    return false;
}

bool PluginLoader::loadFile(const QString &path)
{
    const QString problem = PluginFile::layoutProblem(path);
    if (!problem.isEmpty())
        return refuse(path, problem);
    auto library = std::make_unique<QLibrary>(QFileInfo(path).absoluteFilePath());
    // Resolve every symbol now: a missing one is a clear refusal here
    // rather than a crash on first use.
    library->setLoadHints(QLibrary::ResolveAllSymbolsHint);
    const QString reason = load(path, *library);
    m_libraries.push_back(std::move(library));
    if (!reason.isEmpty())
        return refuse(path, reason);
    return true;
}

// The steps of loading one plug-in; returns why it was refused, or "".
QString PluginLoader::load(const QString &path, QLibrary &library)
{
    if (!library.load())
        return tr("not a loadable library: %1").arg(library.errorString());

    const auto descriptorOf =
            reinterpret_cast<DescriptorFunction>(library.resolve(kDescriptorSymbol));
    if (!descriptorOf)
        return tr("no %1 entry point").arg(QLatin1String(kDescriptorSymbol));
    const char *text = descriptorOf();
    if (!text)
        return tr("%1 returned no descriptor").arg(QLatin1String(kDescriptorSymbol));

    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray(text), &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return tr("descriptor is not valid JSON (%1 at offset %2)")
                .arg(parseError.errorString())
                .arg(parseError.offset);
    if (!document.isObject())
        return tr("descriptor is not a JSON object");
    const QJsonObject descriptor = document.object();

    const QJsonValue architecture = descriptor.value(QStringLiteral("architecture"));
    if (architecture.toString() != QLatin1String(kArchitecture))
        return tr("descriptor architecture %1 does not match the host's %2")
                .arg(architecture.isString() ? QStringLiteral("\"%1\"").arg(architecture.toString())
                                             : tr("(missing or not a string)"),
                     QLatin1String(kArchitecture));
    const QString name = descriptor.value(QStringLiteral("name")).toString();
    if (name.isEmpty())
        return tr("descriptor has no name");
    if (m_app.hasModule(name.toStdString()))
        return tr("a module named \"%1\" is already registered").arg(name);
    const QString entry = descriptor.value(QStringLiteral("module_entry")).toString();
    if (entry.isEmpty())
        return tr("descriptor has no module_entry");
    const auto factory =
            reinterpret_cast<FactoryFunction>(library.resolve(entry.toUtf8().constData()));
    if (!factory)
        return tr("module_entry \"%1\" is not exported").arg(entry);

    std::unique_ptr<orvane::ModuleRef> handle;
    try {
        handle.reset(factory(&m_app.hostFlags()));
    } catch (...) {
        return tr("module factory %1 threw: %2").arg(entry, describe(std::current_exception()));
    }
    if (!handle)
        return tr("module factory %1 returned no module").arg(entry);
    if (!handle->module())
        return tr("module factory %1 returned an empty module handle").arg(entry);

    const std::string moduleName = name.toStdString();
    const std::type_info *type = &handle->interfaceType();
    std::shared_ptr<orvane::AbstractModule> module = handle->module();
    m_app.registerModule(moduleName, std::move(handle));

    const std::set<const AbstractSettingsPage *> before = pagesOf(m_pages);
    QString failure;
    try {
        if (!module->init(m_app))
            failure = tr("init of module \"%1\" answered false").arg(name);
    } catch (...) {
        failure =
                tr("init of module \"%1\" threw: %2").arg(name, describe(std::current_exception()));
    }
    if (!failure.isEmpty()) {
        for (const AbstractSettingsPage *page : pagesOf(m_pages)) {
            if (!before.count(page))
                m_stray.insert(page);
        }
        module.reset();
        m_app.removeModule(moduleName);
        return failure;
    }
    m_loaded.push_back(Loaded{path, moduleName, type});
    return QString();
}

void PluginLoader::releaseModules()
{
    while (!m_loaded.empty()) {
        const Loaded plugin = m_loaded.back();
        m_loaded.pop_back();
        std::error_code ec;
        orvane::AbstractModule *module =
                m_app.findModule(nullptr, plugin.name.c_str(), *plugin.interfaceType, ec);
        if (module) {
            try {
                module->uninit();
            } catch (...) {
                // Shutting down: a failing uninit must not stop the others.
            }
        }
        m_app.removeModule(plugin.name);
    }
}
