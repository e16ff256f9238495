<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>Gallery</name>
    <message>
        <source>tessera gallery</source>
        <translation>tessera-Galerie</translation>
    </message>
    <message>
        <source>Theme</source>
        <translation>Design</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Sprache</translation>
    </message>
    <message>
        <source>A busy trigger shows its label and, while its loading condition holds, a spinner before or after it. All of them follow one shared State.</source>
        <translation>Ein Busy-Trigger zeigt seine Beschriftung und, solange er lädt, davor oder dahinter ein Ladesymbol. Alle folgen einem gemeinsamen State.</translation>
    </message>
    <message>
        <source>Loading</source>
        <translation>Laden</translation>
    </message>
    <message>
        <source>Switch loading on and off for every trigger below.</source>
        <translation>Schaltet das Laden für alle Trigger unten ein und aus.</translation>
    </message>
    <message>
        <source>Loading position</source>
        <translation>Position des Ladesymbols</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Anfang</translation>
    </message>
    <message>
        <source>Center</source>
        <translation>Mitte</translation>
    </message>
    <message>
        <source>End</source>
        <translation>Ende</translation>
    </message>
    <message>
        <source>Primary</source>
        <translation>Primär</translation>
    </message>
    <message>
        <source>Secondary</source>
        <translation>Sekundär</translation>
    </message>
    <message>
        <source>Success</source>
        <translation>Erfolg</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>Inherit</source>
        <translation>Geerbt</translation>
    </message>
    <message>
        <source>Colours</source>
        <translation>Farben</translation>
    </message>
    <message>
        <source>Contained</source>
        <translation>Gefüllt</translation>
    </message>
    <message>
        <source>Outlined</source>
        <translation>Umrandet</translation>
    </message>
    <message>
        <source>Soft</source>
        <translation>Weich</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>Extended</source>
        <translation>Erweitert</translation>
    </message>
    <message>
        <source>Variants</source>
        <translation>Varianten</translation>
    </message>
    <message>
        <source>Small</source>
        <translation>Klein</translation>
    </message>
    <message>
        <source>Medium</source>
        <translation>Mittel</translation>
    </message>
    <message>
        <source>Large</source>
        <translation>Groß</translation>
    </message>
    <message>
        <source>Sizes</source>
        <translation>Größen</translation>
    </message>
    <message>
        <source>Loading…</source>
        <translation>Wird geladen…</translation>
    </message>
    <message>
        <source>Loading text</source>
        <translation>Ladetext</translation>
    </message>
    <message>
        <source>Please wait</source>
        <translation>Bitte warten</translation>
    </message>
    <message>
        <source>Busy</source>
        <translation>Beschäftigt</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Date modified</source>
        <translation>Änderungsdatum</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Kind</source>
        <translation>Art</translation>
    </message>
    <message>
        <source>More</source>
        <translation>Mehr</translation>
    </message>
    <message>
        <source>Sort by</source>
        <translation>Sortieren nach</translation>
    </message>
    <message>
        <source>Open look</source>
        <translation>Geöffnet</translation>
    </message>
    <message>
        <source>Closed look</source>
        <translation>Geschlossen</translation>
    </message>
    <message>
        <source>Default icon</source>
        <translation>Standardsymbol</translation>
    </message>
    <message>
        <source>Right-click a trigger: its menu opens 40 pixels in from the button&apos;s leading edge (the right one in a right-to-left language), level with its bottom. A second right-click while it counts as open only closes it.</source>
        <translation>Rechtsklick auf einen Trigger: Sein Menü öffnet sich 40 Pixel innerhalb der vorderen Kante der Schaltfläche (in einer Sprache, die von rechts nach links läuft, der rechten), bündig mit ihrer Unterkante. Ein zweiter Rechtsklick, solange es als offen gilt, schließt es nur.</translation>
    </message>
    <message>
        <source>Syncing</source>
        <translation>Synchronisiere</translation>
    </message>
    <message>
        <source>Back to top</source>
        <translation>Nach oben</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Optionen</translation>
    </message>
    <message>
        <source>Animate</source>
        <translation>Animieren</translation>
    </message>
    <message>
        <source>Add tag</source>
        <translation>Schlagwort hinzufügen</translation>
    </message>
    <message>
        <source>Design review</source>
        <translation>Design-Review</translation>
    </message>
    <message>
        <source>Release notes</source>
        <translation>Versionshinweise</translation>
    </message>
    <message>
        <source>Accessibility pass</source>
        <translation>Barrierefreiheit prüfen</translation>
    </message>
    <message>
        <source>Showing: a list of three chips</source>
        <translation>Angezeigt: eine Liste mit drei Chips</translation>
    </message>
    <message>
        <source>List</source>
        <translation>Liste</translation>
    </message>
    <message>
        <source>Single widget</source>
        <translation>Einzelnes Widget</translation>
    </message>
    <message>
        <source>Only this chip</source>
        <translation>Nur dieser Chip</translation>
    </message>
    <message>
        <source>Showing: one widget</source>
        <translation>Angezeigt: ein Widget</translation>
    </message>
    <message>
        <source>Factory</source>
        <translation>Fabrik</translation>
    </message>
    <message>
        <source>Made by a factory, call %1</source>
        <translation>Von einer Fabrik erzeugt, Aufruf %1</translation>
    </message>
    <message>
        <source>Showing: what a factory made</source>
        <translation>Angezeigt: was eine Fabrik erzeugt hat</translation>
    </message>
    <message>
        <source>With tags field</source>
        <translation>Mit Schlagwortfeld</translation>
    </message>
    <message>
        <source>Tagged</source>
        <translation>Verschlagwortet</translation>
    </message>
    <message>
        <source>Showing: the tags field, kept across rebuilds, and a chip</source>
        <translation>Angezeigt: das Schlagwortfeld, über Neuaufbauten erhalten, und ein Chip</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Leeren</translation>
    </message>
    <message>
        <source>Showing: nothing</source>
        <translation>Angezeigt: nichts</translation>
    </message>
    <message>
        <source>Popup trigger</source>
        <translation>Popup-Trigger</translation>
    </message>
    <message>
        <source>Orb actions</source>
        <translation>Orb-Aktionen</translation>
    </message>
    <message>
        <source>Chip stack</source>
        <translation>Chip-Stapel</translation>
    </message>
    <message>
        <source>Buttons</source>
        <translation>Schaltflächen</translation>
    </message>
    <message>
        <source>Knob field</source>
        <translation>Drehregler</translation>
    </message>
    <message>
        <source>Stepper field</source>
        <translation>Zahlenfeld</translation>
    </message>
    <message>
        <source>Calendar field</source>
        <translation>Datumsfeld</translation>
    </message>
    <message>
        <source>Filled</source>
        <translation>Gefüllt</translation>
    </message>
    <message>
        <source>Standard</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>Mapping</source>
        <translation>Zuordnung</translation>
    </message>
    <message>
        <source>Function</source>
        <translation>Funktion</translation>
    </message>
    <message>
        <source>Style sheet text</source>
        <translation>Stylesheet-Text</translation>
    </message>
    <message>
        <source>A dial, a spin box and a date editor that take their look from the theme and restyle on every theme switch.</source>
        <translation>Ein Drehregler, ein Zahlenfeld und ein Datumsfeld, die ihr Aussehen aus dem Design beziehen und sich bei jedem Designwechsel neu gestalten.</translation>
    </message>
    <message>
        <source>Caller styles (sx)</source>
        <translation>Eigene Stile (sx)</translation>
    </message>
    <message>
        <source>Editors</source>
        <translation>Editoren</translation>
    </message>
    <message>
        <source>Dense forms</source>
        <translation>Kompakte Formulare</translation>
    </message>
    <message>
        <source>Room to breathe</source>
        <translation>Viel Platz</translation>
    </message>
    <message>
        <source>As it should appear on the badge</source>
        <translation>So, wie er auf dem Namensschild stehen soll</translation>
    </message>
    <message>
        <source>We never share it</source>
        <translation>Wir geben sie nie weiter</translation>
    </message>
    <message>
        <source>The address is incomplete</source>
        <translation>Die Adresse ist unvollständig</translation>
    </message>
    <message>
        <source>User name</source>
        <translation>Benutzername</translation>
    </message>
    <message>
        <source>Disabled</source>
        <translation>Deaktiviert</translation>
    </message>
    <message>
        <source>Read-only</source>
        <translation>Schreibgeschützt</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Passwort</translation>
    </message>
    <message>
        <source>Free</source>
        <translation>Kostenlos</translation>
    </message>
    <message>
        <source>Team</source>
        <translation>Team</translation>
    </message>
    <message>
        <source>Enterprise</source>
        <translation>Unternehmen</translation>
    </message>
    <message>
        <source>Teal</source>
        <translation>Petrol</translation>
    </message>
    <message>
        <source>Amber</source>
        <translation>Bernstein</translation>
    </message>
    <message>
        <source>Indigo</source>
        <translation>Indigo</translation>
    </message>
    <message>
        <source>Plan</source>
        <translation>Tarif</translation>
    </message>
    <message>
        <source>Billed monthly</source>
        <translation>Monatlich abgerechnet</translation>
    </message>
    <message>
        <source>Colour</source>
        <translation>Farbe</translation>
    </message>
    <message>
        <source>Choose a colour</source>
        <translation>Farbe wählen</translation>
    </message>
    <message>
        <source>Required</source>
        <translation>Pflichtfeld</translation>
    </message>
    <message>
        <source>Ready-made text and select fields on the field shell. The frame takes its colours and sizes from the theme; hover, focus and error show in the border and the title, helper and error texts under it.</source>
        <translation>Fertige Text- und Auswahlfelder auf Basis des Feldrahmens. Der Rahmen bezieht Farben und Größen aus dem Design; Hover, Fokus und Fehler zeigen sich an Rand und Titel, Hilfe- und Fehlertexte darunter.</translation>
    </message>
    <message>
        <source>Helper text, error and counter</source>
        <translation>Hilfetext, Fehler und Zähler</translation>
    </message>
    <message>
        <source>Disabled, read-only and password</source>
        <translation>Deaktiviert, schreibgeschützt und Passwort</translation>
    </message>
    <message>
        <source>Select fields</source>
        <translation>Auswahlfelder</translation>
    </message>
    <message>
        <source>Multi-line and observable label</source>
        <translation>Mehrzeilig und beobachtbare Beschriftung</translation>
    </message>
    <message>
        <source>E-mail</source>
        <translation>E-Mail</translation>
    </message>
    <message>
        <source>Notes</source>
        <translation>Notizen</translation>
    </message>
    <message>
        <source>Attempt %1</source>
        <translation>Versuch %1</translation>
    </message>
    <message>
        <source>The label follows a State</source>
        <translation>Die Beschriftung folgt einem State</translation>
    </message>
    <message>
        <source>Next attempt</source>
        <translation>Nächster Versuch</translation>
    </message>
    <message>
        <source>Fields</source>
        <translation>Felder</translation>
    </message>
    <message>
        <source>Default</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>Create</source>
        <translation>Erstellen</translation>
    </message>
    <message>
        <source>The quick brown fox jumps over the lazy dog</source>
        <translation>Franz jagt im komplett verwahrlosten Taxi quer durch Bayern</translation>
    </message>
    <message>
        <source>The kit&apos;s base widgets: the material widgets are built from these buttons, texts, icons and editors.</source>
        <translation>Die Basis-Widgets des Kits: Aus diesen Schaltflächen, Texten, Symbolen und Editoren sind die Material-Widgets gebaut.</translation>
    </message>
    <message>
        <source>Buttons: colours and variants</source>
        <translation>Schaltflächen: Farben und Varianten</translation>
    </message>
    <message>
        <source>Buttons: sizes, icons and the disabled state</source>
        <translation>Schaltflächen: Größen, Symbole und der deaktivierte Zustand</translation>
    </message>
    <message>
        <source>Round and extended buttons</source>
        <translation>Runde und erweiterte Schaltflächen</translation>
    </message>
    <message>
        <source>Typography</source>
        <translation>Typografie</translation>
    </message>
    <message>
        <source>Icons</source>
        <translation>Symbole</translation>
    </message>
    <message>
        <source>Kit</source>
        <translation>Kit</translation>
    </message>
    <message>
        <source>Load theme</source>
        <translation>Design laden</translation>
    </message>
    <message>
        <source>Theme files (*.json)</source>
        <translation>Designdateien (*.json)</translation>
    </message>
    <message>
        <source>Load theme…</source>
        <translation>Design laden …</translation>
    </message>
    <message>
        <source>%1 has problems; the gallery keeps the last good theme.</source>
        <translation>%1 hat Fehler; die Galerie behält das letzte fehlerfreie Design.</translation>
    </message>
    <message>
        <source>Colours, with the contrast of their text</source>
        <translation>Farben, mit dem Kontrast ihres Textes</translation>
    </message>
    <message>
        <source>Text on the backgrounds</source>
        <translation>Text auf den Hintergründen</translation>
    </message>
    <message>
        <source>Greys, divider and actions</source>
        <translation>Grautöne, Trennlinie und Aktionen</translation>
    </message>
    <message>
        <source>%1 · %2px · weight %3</source>
        <translation>%1 · %2 px · Stärke %3</translation>
    </message>
    <message>
        <source>Every widget follows the theme switch at once: pick Light or Dark above, or load a theme file.</source>
        <translation>Jedes Widget folgt dem Designwechsel sofort: Wählen Sie oben Hell oder Dunkel, oder laden Sie eine Designdatei.</translation>
    </message>
</context>
</TS>
