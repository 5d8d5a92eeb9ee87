<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>MainWindow</name>
    <message>
        <location filename="../studio/app/MainWindow.ui" line="+14"/>
        <source>Studio</source>
        <translation>Studio</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Open Settings… to edit the device settings. Use the Device menu to connect or disconnect the current device.</source>
        <translation>Öffnen Sie „Einstellungen…“, um die Geräteeinstellungen zu bearbeiten. Über das Menü „Gerät“ verbinden oder trennen Sie das aktuelle Gerät.</translation>
    </message>
    <message>
        <location line="+26"/>
        <source>&amp;Settings</source>
        <translation>&amp;Einstellungen</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>&amp;Device</source>
        <translation>&amp;Gerät</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>Settings…</source>
        <translation>Einstellungen…</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Ctrl+,</source>
        <translation>Ctrl+,</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Ctrl+Q</source>
        <translation>Ctrl+Q</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Connect</source>
        <translation>Verbinden</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Disconnect</source>
        <translation>Trennen</translation>
    </message>
    <message>
        <location filename="../studio/app/MainWindow.cpp" line="+19"/>
        <source>—</source>
        <translation>—</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Inertial</source>
        <translation>Inertial</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Hybrid</source>
        <translation>Hybrid</translation>
    </message>
    <message>
        <location line="+41"/>
        <source>Work mode: %1 · Address: %2 · Capture rate: %3 · Timecode rate: %4 · Device: %5</source>
        <translation>Betriebsart: %1 · Adresse: %2 · Aufnahmerate: %3 · Timecode-Rate: %4 · Gerät: %5</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>connected</source>
        <translation>verbunden</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>disconnected</source>
        <translation>getrennt</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>Settings not saved</source>
        <translation>Einstellungen nicht gespeichert</translation>
    </message>
</context>
<context>
    <name>PageState</name>
    <message>
        <location filename="../studio/app/PageState.cpp" line="+71"/>
        <source>--page-state: could not write “%1”: %2</source>
        <translation>--page-state: „%1“ konnte nicht geschrieben werden: %2</translation>
    </message>
</context>
<context>
    <name>PluginFile</name>
    <message>
        <location filename="../studio/app/PluginFile_elf.cpp" line="+33"/>
        <location filename="../studio/app/PluginFile_pe.cpp" line="+184"/>
        <source>not a regular file</source>
        <translation>keine reguläre Datei</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>not an ELF file</source>
        <translation>keine ELF-Datei</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>an ELF file of another word size than the host&apos;s</source>
        <translation>eine ELF-Datei mit anderer Wortbreite als der Host</translation>
    </message>
    <message>
        <location line="+1"/>
        <location filename="../studio/app/PluginFile_pe.cpp" line="-110"/>
        <source>cut short or damaged: %1 lies past the end of the file (%2 bytes)</source>
        <translation>abgeschnitten oder beschädigt: %1 liegt hinter dem Dateiende (%2 Bytes)</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>its program header table</source>
        <translation>ihre Programmkopftabelle</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>loadable segment %1</source>
        <translation>ladbares Segment %1</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>its section header table</source>
        <translation>ihre Abschnittskopftabelle</translation>
    </message>
    <message>
        <location filename="../studio/app/PluginFile_pe.cpp" line="+12"/>
        <location line="+6"/>
        <source>not a PE file</source>
        <translation>keine PE-Datei</translation>
    </message>
    <message>
        <location line="-2"/>
        <source>its PE header</source>
        <translation>ihr PE-Kopf</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>a PE file for another machine than the host&apos;s</source>
        <translation>eine PE-Datei für eine andere Maschine als der Host</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>not a DLL</source>
        <translation>keine DLL</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>a PE file of another word size than the host&apos;s</source>
        <translation>eine PE-Datei mit anderer Wortbreite als der Host</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>its section table</source>
        <translation>ihre Abschnittstabelle</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>section %1</source>
        <translation>Abschnitt %1</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>its symbol table</source>
        <translation>ihre Symboltabelle</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>no %1 entry point among its exports</source>
        <translation>kein Einsprungpunkt %1 unter ihren Exporten</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>its export directory</source>
        <translation>ihr Exportverzeichnis</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>its export name table</source>
        <translation>ihre Exportnamentabelle</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>export name %1</source>
        <translation>Exportname %1</translation>
    </message>
</context>
<context>
    <name>PluginLoader</name>
    <message>
        <location filename="../studio/app/PluginLoader.cpp" line="+41"/>
        <source>an exception that is not a std::exception</source>
        <translation>eine Ausnahme, die keine std::exception ist</translation>
    </message>
    <message>
        <location line="+77"/>
        <source>not a loadable library: %1</source>
        <translation>keine ladbare Bibliothek: %1</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>no %1 entry point</source>
        <translation>kein Einsprungpunkt %1</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>%1 returned no descriptor</source>
        <translation>%1 lieferte keine Beschreibung</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>descriptor is not valid JSON (%1 at offset %2)</source>
        <translation>die Beschreibung ist kein gültiges JSON (%1 bei Position %2)</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>descriptor is not a JSON object</source>
        <translation>die Beschreibung ist kein JSON-Objekt</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>descriptor architecture %1 does not match the host&apos;s %2</source>
        <translation>die Architektur %1 der Beschreibung passt nicht zu der des Hosts (%2)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>(missing or not a string)</source>
        <translation>(fehlt oder ist kein Text)</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>descriptor has no name</source>
        <translation>die Beschreibung hat keinen Namen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>a module named &quot;%1&quot; is already registered</source>
        <translation>ein Modul namens „%1“ ist bereits registriert</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>descriptor has no module_entry</source>
        <translation>die Beschreibung hat kein module_entry</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>module_entry &quot;%1&quot; is not exported</source>
        <translation>module_entry „%1“ wird nicht exportiert</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>module factory %1 threw: %2</source>
        <translation>die Modulfabrik %1 warf eine Ausnahme: %2</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>module factory %1 returned no module</source>
        <translation>die Modulfabrik %1 lieferte kein Modul</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>module factory %1 returned an empty module handle</source>
        <translation>die Modulfabrik %1 lieferte ein leeres Modul-Handle</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>init of module &quot;%1&quot; answered false</source>
        <translation>init des Moduls „%1“ antwortete mit false</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>init of module &quot;%1&quot; threw: %2</source>
        <translation>init des Moduls „%1“ warf eine Ausnahme: %2</translation>
    </message>
</context>
<context>
    <name>Screenshot</name>
    <message>
        <location filename="../studio/app/Screenshot.cpp" line="+48"/>
        <source>could not capture the window</source>
        <translation>das Fenster konnte nicht aufgenommen werden</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>could not write the screenshot to “%1”: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SettingsDialog</name>
    <message>
        <location filename="../studio/app/SettingsDialog.ui" line="+14"/>
        <location filename="../studio/app/SettingsDialog.cpp" line="+108"/>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <location line="+38"/>
        <source>The device is connected, so its settings are read-only. Disconnect it (Device menu) to change them.</source>
        <translation>Das Gerät ist verbunden, daher sind seine Einstellungen schreibgeschützt. Trennen Sie es (Menü „Gerät“), um sie zu ändern.</translation>
    </message>
    <message>
        <location filename="../studio/app/SettingsDialog.cpp" line="-19"/>
        <source>unknown error</source>
        <translation>unbekannter Fehler</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>page %1</source>
        <translation>Seite %1</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>The settings page “%1” failed: %2</source>
        <translation>Die Einstellungsseite „%1“ ist fehlgeschlagen: %2</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>The settings page “%1” failed on the module “%2”: %3</source>
        <translation>Die Einstellungsseite „%1“ ist am Modul „%2“ fehlgeschlagen: %3</translation>
    </message>
    <message>
        <location line="+51"/>
        <source>This page could not be shown.</source>
        <translation>Diese Seite konnte nicht angezeigt werden.</translation>
    </message>
    <message>
        <location line="+81"/>
        <source>The settings page “%1” holds values that cannot be applied.</source>
        <translation>Die Einstellungsseite „%1“ enthält Werte, die nicht übernommen werden können.</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>The settings page “%1” could not apply its settings.</source>
        <translation>Die Einstellungsseite „%1“ konnte ihre Einstellungen nicht übernehmen.</translation>
    </message>
    <message>
        <location line="+48"/>
        <source>Restore Defaults</source>
        <translation>Standardwerte wiederherstellen</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Restore the defaults of the page “%1”? Every setting on it goes back to its default and is saved at once; Cancel cannot bring the present values back.</source>
        <translation>Die Standardwerte der Seite „%1“ wiederherstellen? Jede Einstellung darauf wird auf ihren Standardwert zurückgesetzt und sofort gespeichert; „Abbrechen“ bringt die jetzigen Werte nicht zurück.</translation>
    </message>
</context>
<context>
    <name>StudioMain</name>
    <message>
        <location filename="../studio/app/StudioMain.cpp" line="+61"/>
        <source>try “studio --help”</source>
        <translation>siehe „studio --help“</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>no display found: running on the offscreen platform</source>
        <translation>keine Anzeige gefunden: es läuft auf der Offscreen-Plattform</translation>
    </message>
    <message>
        <location line="+32"/>
        <source>--plugins: “%1” is not a folder</source>
        <translation>--plugins: „%1“ ist kein Ordner</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>--config: cannot use the folder “%1”: %2</source>
        <translation>--config: der Ordner „%1“ ist nicht verwendbar: %2</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>--set: %1</source>
        <translation>--set: %1</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>--plugins: cannot read the folder %1: %2</source>
        <translation>--plugins: der Ordner %1 ist nicht lesbar: %2</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>refused plug-in %1: %2</source>
        <translation>Plug-in %1 abgelehnt: %2</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>loaded plug-in “%1” from %2</source>
        <translation>Plug-in „%1“ aus %2 geladen</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>--dump: the output could not be written: %1</source>
        <translation>--dump: die Ausgabe konnte nicht geschrieben werden: %1</translation>
    </message>
    <message>
        <location line="+19"/>
        <source>there are no settings pages</source>
        <translation>es gibt keine Einstellungsseiten</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>there is no “Device” page; showing the first page</source>
        <translation>es gibt keine Seite „Device“; die erste Seite wird gezeigt</translation>
    </message>
    <message>
        <location line="+35"/>
        <source>nothing to show on the offscreen platform (use --screenshot, --dump or --apply)</source>
        <translation>auf der Offscreen-Plattform gibt es nichts anzuzeigen (verwenden Sie --screenshot, --dump oder --apply)</translation>
    </message>
</context>
<context>
    <name>StudioOptions</name>
    <message>
        <location filename="../studio/app/StudioOptions.cpp" line="+56"/>
        <source>a lone \ at the end of “%1”</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+24"/>
        <source>\x needs two hex digits in “%1”</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+8"/>
        <source>unknown escape \%1 in “%2” (known: \\ \n \r \t \= \xHH)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+13"/>
        <source>--set wants MODULE:KEY=VALUE, got “%1”</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+16"/>
        <source>--set wants MODULE:KEY=VALUE, got “%1” (no &apos;=&apos;)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+6"/>
        <source>--set: unknown module “%1” (known: vendrel-studio, dev_hwup, mirel_wr_support)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+9"/>
        <source>--set: %1</source>
        <translation>--set: %1</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>--set: empty key in “%1”</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+13"/>
        <source>DIR</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>FILE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Stand-in studio host: loads the *.plg plug-ins and shows their settings pages.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Keep the settings stores in DIR (default: %1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Load the *.plg plug-ins from DIR (default: beside the executable).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Turn on the flag uis_dev.hyper_fps.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Device kinds the host offers, comma-separated: Inertial, Hybrid (default: both; empty: none).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>LIST</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Start with the current device connected.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Show the studio and its plug-ins in the language CODE (e.g. de).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+1"/>
        <source>CODE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Write VALUE under KEY in MODULE&apos;s store before the pages load (repeatable). MODULE is vendrel-studio, dev_hwup or mirel_wr_support; KEY ends at the first &apos;=&apos;. Escapes in KEY and VALUE: \\ \n \r \t \= \xHH (any byte).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>MODULE:KEY=VALUE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Open the settings dialog on the Device page.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Press Restore Defaults once the page is loaded (before --apply), then quit.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Press Apply once the page is loaded, then quit.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Print every store as one JSON object and quit. Keys and values that are not UTF-8 appear as {&quot;base64&quot;: &quot;...&quot;} (a key as that object&apos;s JSON text).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Render the settings dialog to the PNG FILE and quit.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>Write the settings dialog&apos;s controls (texts, items, current item, visible, enabled, editable) as JSON to FILE and quit.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+33"/>
        <source>--config needs a folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>--plugins needs a folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+14"/>
        <source>--device-kinds: empty name in “%1”</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+18"/>
        <source>--lang: “%1” is not a language code (e.g. de, pt_BR)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+23"/>
        <source>--screenshot needs a file name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+2"/>
        <source>--page-state needs a file name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <location line="+17"/>
        <source>unexpected argument “%1”</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StudioSession</name>
    <message>
        <location filename="../studio/app/StudioSession.cpp" line="+71"/>
        <source>no store for module “%1”</source>
        <translation>kein Speicher für das Modul „%1“</translation>
    </message>
</context>
<context>
    <name>StudioTranslations</name>
    <message>
        <location filename="../studio/app/StudioTranslations.cpp" line="+11"/>
        <source>--lang: no translation for “%1” (looked for %2)</source>
        <translation>--lang: keine Übersetzung für „%1“ (gesucht: %2)</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>--lang: %1 is not a translation file</source>
        <translation>--lang: %1 ist keine Übersetzungsdatei</translation>
    </message>
</context>
</TS>
