<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>tessera::PyLineEditMultiple</name>
    <message>
        <source>Remove %1</source>
        <translation>Entfernen: %1</translation>
    </message>
</context>
<context>
    <name>tessera::Theme</name>
    <message>
        <source>Light</source>
        <translation>Hell</translation>
    </message>
    <message>
        <source>Dark</source>
        <translation>Dunkel</translation>
    </message>
    <message>
        <source>System</source>
        <translation>System</translation>
    </message>
</context>
</TS>
