<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>MirelSettingsWidget</name>
    <message>
        <location filename="../settings/MirelSettingsWidget.ui" line="+14"/>
        <source>Form</source>
        <translation>Formular</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>Frame Rate</source>
        <translation>Bildrate</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Hybrid frame rate</source>
        <translation>Bildrate des Hybridsystems</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>60</source>
        <translation>60</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>90</source>
        <translation>90</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>96</source>
        <translation>96</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>100</source>
        <translation>100</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>120 (No Fingers)</source>
        <translation>120 (ohne Finger)</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>240 (No Fingers)</source>
        <translation>240 (ohne Finger)</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>The &quot;Frame Rate&quot; setting must be the same with hybird server</source>
        <translation>Die Einstellung „Bildrate“ muss mit der des Hybrid-Servers übereinstimmen</translation>
    </message>
</context>
<context>
    <name>PageWidget</name>
    <message>
        <location filename="../settings/PageWidget.ui" line="+14"/>
        <source>Form</source>
        <translation>Formular</translation>
    </message>
    <message>
        <location line="+30"/>
        <source>Device Type</source>
        <translation>Gerätetyp</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>Device type: Inertial</source>
        <translation>Gerätetyp: Inertial</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Inertial</source>
        <translation>Inertial</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>Device type: Hybrid</source>
        <translation>Gerätetyp: Hybrid</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>Hybrid</source>
        <translation>Hybrid</translation>
    </message>
    <message>
        <location filename="../settings/SettingsPage.cpp" line="+37"/>
        <source>Device</source>
        <translation>Gerät</translation>
    </message>
</context>
<context>
    <name>UniSettingsWidget</name>
    <message>
        <location filename="../settings/UniSettingsWidget.ui" line="+14"/>
        <source>Form</source>
        <translation>Formular</translation>
    </message>
    <message>
        <location line="+20"/>
        <source>Network</source>
        <translation>Netzwerk</translation>
    </message>
    <message>
        <location line="+28"/>
        <source>Network address</source>
        <translation>Netzwerkadresse</translation>
    </message>
    <message>
        <location line="+41"/>
        <source>Frame Rate (Mocap Device)</source>
        <translation>Bildrate (Mocap-Gerät)</translation>
    </message>
    <message>
        <location line="+15"/>
        <source>Capture frame rate</source>
        <translation>Aufnahme-Bildrate</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>50</source>
        <translation>50</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>60</source>
        <translation>60</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>90</source>
        <translation>90</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>96</source>
        <translation>96</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>100</source>
        <translation>100</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>120  *No Glove(s)</source>
        <translation>120  *Ohne Handschuh(e)</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>240  *No Glove(s)</source>
        <translation>240  *Ohne Handschuh(e)</translation>
    </message>
    <message>
        <location line="+11"/>
        <location line="+56"/>
        <source>This setting will be applied at next connection</source>
        <translation>Diese Einstellung wird bei der nächsten Verbindung übernommen</translation>
    </message>
    <message>
        <location line="-34"/>
        <source>Frame Rate (PC Timecode)</source>
        <translation>Bildrate (PC-Timecode)</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>PC timecode frame rate</source>
        <translation>Bildrate des PC-Timecodes</translation>
    </message>
    <message>
        <location line="+38"/>
        <source>Connecting Mode</source>
        <translation>Verbindungsmodus</translation>
    </message>
    <message>
        <location line="+28"/>
        <source>Connecting mode</source>
        <translation>Verbindungsmodus</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>Normal</source>
        <translation>Normal</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>Magnetic Immunity</source>
        <translation>Magnetische Störfestigkeit</translation>
    </message>
    <message>
        <location filename="../settings/UniSettingsWidget.cpp" line="+115"/>
        <source>None</source>
        <translation>Keine</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>Local Time</source>
        <translation>Ortszeit</translation>
    </message>
</context>
</TS>
