<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>Host</name>
    <message>
        <source>Cannot create the folder %1.</source>
        <translation>Der Ordner %1 kann nicht angelegt werden.</translation>
    </message>
    <message>
        <source>Cannot replace %1.</source>
        <translation>%1 kann nicht ersetzt werden.</translation>
    </message>
    <message>
        <source>Cannot copy %1 to %2.</source>
        <translation>%1 kann nicht nach %2 kopiert werden.</translation>
    </message>
    <message>
        <source>The system names no folder for the application&apos;s data.</source>
        <translation>Das System nennt keinen Ordner für die Daten der Anwendung.</translation>
    </message>
    <message>
        <source>The sample network %1 is in none of the folders %2.</source>
        <translation>Das Beispielnetz %1 liegt in keinem der Ordner %2.</translation>
    </message>
</context>
<context>
    <name>Host::ControlOutcome</name>
    <message>
        <source>nothing to write</source>
        <translation>nichts zu schreiben</translation>
    </message>
    <message>
        <source>written</source>
        <translation>geschrieben</translation>
    </message>
    <message>
        <source>written (%1)</source>
        <translation>geschrieben (%1)</translation>
    </message>
    <message>
        <source>not written: %1</source>
        <translation>nicht geschrieben: %1</translation>
    </message>
</context>
<context>
    <name>Host::HostWindow</name>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Open database...</source>
        <translation>Datenbank ö&amp;ffnen...</translation>
    </message>
    <message>
        <source>&amp;Reload</source>
        <translation>&amp;Neu laden</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Second view of this input</source>
        <translation>&amp;Zweite Ansicht dieses Eingangs</translation>
    </message>
    <message>
        <source>Network</source>
        <translation>Netz</translation>
    </message>
    <message>
        <source>Device / input</source>
        <translation>Gerät / Eingang</translation>
    </message>
    <message>
        <source>State</source>
        <translation>Zustand</translation>
    </message>
    <message>
        <source>SI</source>
        <translation>SI</translation>
    </message>
    <message>
        <source>US</source>
        <translation>US</translation>
    </message>
    <message>
        <source>all</source>
        <translation>alle</translation>
    </message>
    <message>
        <source>Which signal interpretations the control offers (positions in the device&apos;s list)</source>
        <translation>Welche Signalinterpretationen das Steuerelement anbietet (Positionen in der Liste des Geräts)</translation>
    </message>
    <message>
        <source>&amp;Units</source>
        <translation>&amp;Einheiten</translation>
    </message>
    <message>
        <source>&amp;Language</source>
        <translation>&amp;Sprache</translation>
    </message>
    <message>
        <source>&amp;Interpretations</source>
        <translation>&amp;Interpretationen</translation>
    </message>
    <message>
        <source>Input &amp;type</source>
        <translation>Eingangs&amp;typ</translation>
    </message>
    <message>
        <source>Apply &amp;defaults</source>
        <translation>Standard&amp;werte anwenden</translation>
    </message>
    <message>
        <source>Second &amp;view</source>
        <translation>&amp;Zweite Ansicht</translation>
    </message>
    <message>
        <source>Another window with the network side of this input</source>
        <translation>Ein weiteres Fenster mit der Netzseite dieses Eingangs</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>&amp;Apply</source>
        <translation>Ü&amp;bernehmen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Write the changes, save the database and close (Enter)</source>
        <translation>Änderungen schreiben, Datenbank speichern und schließen (Eingabe)</translation>
    </message>
    <message>
        <source>Write the changes and save the database</source>
        <translation>Änderungen schreiben und Datenbank speichern</translation>
    </message>
    <message>
        <source>Forget the changes and read the device again (Esc)</source>
        <translation>Änderungen verwerfen und das Gerät neu lesen (Esc)</translation>
    </message>
    <message>
        <source>Messages</source>
        <translation>Meldungen</translation>
    </message>
    <message>
        <source>Choose a device and one of its hardware inputs.</source>
        <translation>Wählen Sie ein Gerät und einen seiner Hardware-Eingänge.</translation>
    </message>
    <message>
        <source>offer other interpretations</source>
        <translation>andere Interpretationen anbieten</translation>
    </message>
    <message>
        <source>open a database</source>
        <translation>eine Datenbank öffnen</translation>
    </message>
    <message>
        <source>(no file)</source>
        <translation>(keine Datei)</translation>
    </message>
    <message>
        <source>The database %1 was not loaded: %2</source>
        <translation>Die Datenbank %1 wurde nicht geladen: %2</translation>
    </message>
    <message>
        <source>The network database cannot be loaded.

File: %1

%2</source>
        <translation>Die Netzdatenbank kann nicht geladen werden.

Datei: %1

%2</translation>
    </message>
    <message>
        <source>vqhost: database not loaded</source>
        <translation>vqhost: Datenbank nicht geladen</translation>
    </message>
    <message>
        <source>Opened %1</source>
        <translation>%1 geöffnet</translation>
    </message>
    <message>
        <source>The state of the device cannot be read.</source>
        <translation>Der Zustand des Geräts kann nicht gelesen werden.</translation>
    </message>
    <message>
        <source>ready</source>
        <translation>bereit</translation>
    </message>
    <message>
        <source>Cannot be chosen: %1</source>
        <translation>Nicht wählbar: %1</translation>
    </message>
    <message>
        <source>switch to %1</source>
        <translation>zu %1 wechseln</translation>
    </message>
    <message>
        <source>%1: program ID %2, scope %3</source>
        <translation>%1: Programm-ID %2, Bereich %3</translation>
    </message>
    <message>
        <source>%1 cannot be configured now: %2</source>
        <translation>%1 kann jetzt nicht konfiguriert werden: %2</translation>
    </message>
    <message>
        <source>This device has no hardware inputs.</source>
        <translation>Dieses Gerät hat keine Hardware-Eingänge.</translation>
    </message>
    <message>
        <source>This device cannot be configured now:
%1</source>
        <translation>Dieses Gerät kann jetzt nicht konfiguriert werden:
%1</translation>
    </message>
    <message>
        <source>%1 cannot be configured</source>
        <translation>%1 kann nicht konfiguriert werden</translation>
    </message>
    <message>
        <source>%1 / %2</source>
        <translation>%1 / %2</translation>
    </message>
    <message>
        <source>%1: changes discarded.</source>
        <translation>%1: Änderungen verworfen.</translation>
    </message>
    <message>
        <source>%1: nothing to write.</source>
        <translation>%1: nichts zu schreiben.</translation>
    </message>
    <message>
        <source>%1, %2: %3</source>
        <translation>%1, %2: %3</translation>
    </message>
    <message>
        <source>hardware side</source>
        <translation>Hardwareseite</translation>
    </message>
    <message>
        <source>network side</source>
        <translation>Netzseite</translation>
    </message>
    <message>
        <source>%1: not everything was written; the edits are kept.</source>
        <translation>%1: nicht alles wurde geschrieben; die Änderungen bleiben erhalten.</translation>
    </message>
    <message>
        <source>%1: not every input type has its defaults</source>
        <translation>%1: nicht jeder Eingangstyp hat seine Vorgabewerte</translation>
    </message>
    <message>
        <source>The defaults come from %1</source>
        <translation>Die Vorgabewerte stammen aus %1</translation>
    </message>
    <message>
        <source>No input-type defaults for this device: %1</source>
        <translation>Keine Eingangstyp-Vorgabewerte für dieses Gerät: %1</translation>
    </message>
    <message>
        <source>The input types of the device. %1</source>
        <translation>Die Eingangstypen des Geräts. %1</translation>
    </message>
    <message>
        <source>Write the chosen input type&apos;s defaults to both sides of the input. %1</source>
        <translation>Die Vorgabewerte des gewählten Eingangstyps auf beide Seiten des Eingangs schreiben. %1</translation>
    </message>
    <message>
        <source>apply the defaults of %1</source>
        <translation>die Vorgabewerte von %1 anwenden</translation>
    </message>
    <message>
        <source>%1: the defaults of %2 were written.</source>
        <translation>%1: die Vorgabewerte von %2 wurden geschrieben.</translation>
    </message>
    <message>
        <source>%1: the defaults of %2 were not all written.</source>
        <translation>%1: die Vorgabewerte von %2 wurden nicht alle geschrieben.</translation>
    </message>
    <message>
        <source>The database was not saved; the edits are kept: %1</source>
        <translation>Die Datenbank wurde nicht gespeichert; die Änderungen bleiben erhalten: %1</translation>
    </message>
    <message>
        <source>The network database cannot be saved.

%1</source>
        <translation>Die Netzdatenbank kann nicht gespeichert werden.

%1</translation>
    </message>
    <message>
        <source>vqhost: not saved</source>
        <translation>vqhost: nicht gespeichert</translation>
    </message>
    <message>
        <source>Saved %1</source>
        <translation>%1 gespeichert</translation>
    </message>
    <message>
        <source>quit</source>
        <translation>das Programm beenden</translation>
    </message>
    <message>
        <source>switch the units</source>
        <translation>die Einheiten umschalten</translation>
    </message>
    <message>
        <source>Language: %1</source>
        <translation>Sprache: %1</translation>
    </message>
    <message>
        <source>Open network database</source>
        <translation>Netzdatenbank öffnen</translation>
    </message>
    <message>
        <source>Network databases (*.json)</source>
        <translation>Netzdatenbanken (*.json)</translation>
    </message>
    <message>
        <source>vqhost[*]</source>
        <translation>vqhost[*]</translation>
    </message>
    <message>
        <source>vqhost - %1[*]</source>
        <translation>vqhost - %1[*]</translation>
    </message>
</context>
<context>
    <name>Host::InputPage</name>
    <message>
        <source>%1, %2: %3</source>
        <translation>%1, %2: %3</translation>
    </message>
    <message>
        <source>editing %1</source>
        <translation>beim Bearbeiten von %1</translation>
    </message>
    <message>
        <source>%1 / %2, message style %3</source>
        <translation>%1 / %2, Meldungsstil %3</translation>
    </message>
    <message>
        <source>Hardware side</source>
        <translation>Hardwareseite</translation>
    </message>
    <message>
        <source>Network side</source>
        <translation>Netzseite</translation>
    </message>
    <message>
        <source>opening %1</source>
        <translation>beim Öffnen von %1</translation>
    </message>
    <message>
        <source>%1, %2: cannot show the input: %3</source>
        <translation>%1, %2: der Eingang kann nicht angezeigt werden: %3</translation>
    </message>
    <message>
        <source>device library error %1</source>
        <translation>Fehler %1 der Gerätebibliothek</translation>
    </message>
    <message>
        <source>the write was interrupted</source>
        <translation>das Schreiben wurde unterbrochen</translation>
    </message>
    <message>
        <source>writing %1</source>
        <translation>beim Schreiben von %1</translation>
    </message>
    <message>
        <source>switching the units of %1</source>
        <translation>beim Umschalten der Einheiten von %1</translation>
    </message>
    <message>
        <source>switching the language</source>
        <translation>beim Umschalten der Sprache</translation>
    </message>
</context>
<context>
    <name>Host::NetworkView</name>
    <message>
        <source>Second view of %1: %2</source>
        <translation>Zweite Ansicht von %1: %2</translation>
    </message>
    <message>
        <source>%1 / %2, message style %3</source>
        <translation>%1 / %2, Meldungsstil %3</translation>
    </message>
    <message>
        <source>vqhost - %1 / %2 (second view)</source>
        <translation>vqhost - %1 / %2 (zweite Ansicht)</translation>
    </message>
    <message>
        <source>Second view of %1: cannot show the input: %2</source>
        <translation>Zweite Ansicht von %1: der Eingang kann nicht angezeigt werden: %2</translation>
    </message>
    <message>
        <source>device library error %1</source>
        <translation>Fehler %1 der Gerätebibliothek</translation>
    </message>
</context>
<context>
    <name>Host::UnsavedQuestion</name>
    <message>
        <source>vqhost: changes not written</source>
        <translation>vqhost: Änderungen nicht geschrieben</translation>
    </message>
    <message>
        <source>This input has changes that are not written to the device.

Write them before you %1?</source>
        <translation>Dieser Eingang hat Änderungen, die nicht in das Gerät geschrieben sind.

Sollen sie geschrieben werden, bevor Sie %1?</translation>
    </message>
    <message>
        <source>&amp;Write</source>
        <translation>&amp;Schreiben</translation>
    </message>
    <message>
        <source>&amp;Discard</source>
        <translation>&amp;Verwerfen</translation>
    </message>
    <message>
        <source>&amp;Stay</source>
        <translation>&amp;Bleiben</translation>
    </message>
</context>
</TS>
