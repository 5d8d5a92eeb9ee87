#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// What the plug-in loader asks of the system before it hands a file to the
// system's loader. One source per executable format, chosen by the build:
// PluginFile_elf.cpp (ELF, dlopen) and PluginFile_pe.cpp (PE, LoadLibrary).
class PluginFile
{
    Q_DECLARE_TR_FUNCTIONS(PluginFile)

public:
    // Why the file at `path` must not be handed to the system's loader, or
    // "": it is a regular file of the host's format and word size, and the
    // headers and the parts the loader maps lie within it. On Windows it is
    // also a DLL exporting PluginLoader::kDescriptorSymbol, since a DLL's
    // code runs as it is loaded.
    static QString layoutProblem(const QString &path);
    // The names of the plug-in files in `folder`: entries ending in ".plg"
    // (any case) that are files or links to files, sorted by name. When the
    // folder cannot be listed, `problem` gets the system's own text (Qt
    // lists an unreadable folder as empty). Listed by the system's calls:
    // Qt's listing costs thousands of instructions per entry of a folder
    // that mostly holds other files, at every start.
    static QStringList pluginFiles(const QString &folder, QString *problem);
};
