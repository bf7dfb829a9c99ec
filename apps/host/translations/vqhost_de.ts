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
    <name>Host::ConfigurationCopy</name>
    <message>
        <source>%1 cannot be read: %2</source>
        <translation>%1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>%1 has no input %2.</source>
        <translation>%1 hat keinen Eingang %2.</translation>
    </message>
    <message>
        <source>it is the input copied from.</source>
        <translation>es ist der Eingang, von dem kopiert wird.</translation>
    </message>
    <message>
        <source>its device has another program ID (%1).</source>
        <translation>sein Gerät hat eine andere Programm-ID (%1).</translation>
    </message>
    <message>
        <source>its block has object version %1, the source %2.</source>
        <translation>sein Block hat die Objektversion %1, die Quelle %2.</translation>
    </message>
    <message>
        <source>its device cannot be configured now.</source>
        <translation>sein Gerät kann jetzt nicht konfiguriert werden.</translation>
    </message>
    <message>
        <source>The device has no input types. %1</source>
        <translation>Das Gerät hat keine Eingangstypen. %1</translation>
    </message>
    <message>
        <source>%1 has none of the properties the controls write.</source>
        <translation>%1 hat keine der Eigenschaften, die die Steuerelemente schreiben.</translation>
    </message>
    <message>
        <source>%1 is not an input type of the device (%2).</source>
        <translation>%1 ist kein Eingangstyp des Geräts (%2).</translation>
    </message>
    <message>
        <source>Configuration of %1 / %2 copied to %3 of %4 inputs.</source>
        <translation>Konfiguration von %1 / %2 auf %3 von %4 Eingängen kopiert.</translation>
    </message>
    <message>
        <source>nothing was copied.</source>
        <translation>es wurde nichts kopiert.</translation>
    </message>
    <message>
        <source>The configuration of %1 cannot be read: %2</source>
        <translation>Die Konfiguration von %1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>No folder for the copy&apos;s defaults file: %1</source>
        <translation>Kein Ordner für die Vorgabedatei der Kopie: %1</translation>
    </message>
    <message>
        <source>The database was not saved: %1</source>
        <translation>Die Datenbank wurde nicht gespeichert: %1</translation>
    </message>
    <message>
        <source>its network variable has another type (%1; the source's: %2).</source>
        <translation>seine Netzwerkvariable hat einen anderen Typ (%1; die der Quelle: %2).</translation>
    </message>
    <message>
        <source>its values cannot be read first, so they could not be put back after a failure; nothing was written: %1</source>
        <translation>seine Werte können vorher nicht gelesen werden, sie ließen sich nach einem Fehler also nicht zurückschreiben; nichts wurde geschrieben: %1</translation>
    </message>
    <message>
        <source>the write was interrupted.</source>
        <translation>das Schreiben wurde unterbrochen.</translation>
    </message>
    <message>
        <source>the property cannot be reached</source>
        <translation>die Eigenschaft ist nicht erreichbar</translation>
    </message>
    <message>
        <source>%1: written: %2.</source>
        <translation>%1: geschrieben: %2.</translation>
    </message>
    <message>
        <source>%1: not written: failed: %2</source>
        <translation>%1: nicht geschrieben: fehlgeschlagen: %2</translation>
    </message>
    <message>
        <source>; nothing had to be put back</source>
        <translation>; nichts musste zurückgeschrieben werden</translation>
    </message>
    <message>
        <source>; put back: %1</source>
        <translation>; zurückgeschrieben: %1</translation>
    </message>
    <message>
        <source>; NOT put back: %1</source>
        <translation>; NICHT zurückgeschrieben: %1</translation>
    </message>
    <message>
        <source>%1: not written: %2</source>
        <translation>%1: nicht geschrieben: %2</translation>
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
    <message>
        <source>%1 cannot be read back (%2)</source>
        <translation>%1 kann nicht zurückgelesen werden (%2)</translation>
    </message>
    <message>
        <source>the device reports %1 for %2 (sent: %3)</source>
        <translation>das Gerät meldet %1 für %2 (gesendet: %3)</translation>
    </message>
    <message>
        <source>, but %1</source>
        <translation>, aber %1</translation>
    </message>
</context>
<context>
    <name>Host::CopyToInputsDialog</name>
    <message>
        <source>Copy to inputs</source>
        <translation>Auf Eingänge kopieren</translation>
    </message>
    <message>
        <source>No other input can take the configuration of %1 / %2: none of a device with program ID %3 has a block of the same object version.</source>
        <translation>Kein anderer Eingang kann die Konfiguration von %1 / %2 übernehmen: keiner eines Geräts mit der Programm-ID %3 hat einen Block derselben Objektversion.</translation>
    </message>
    <message>
        <source>Writes every property of %1 / %2 that the two controls write to the inputs ticked below, through the input-type defaults. Offered are the inputs of devices with program ID %3 whose block has the same object version. The network variables keep their names.</source>
        <translation>Schreibt jede Eigenschaft von %1 / %2, die die beiden Steuerelemente schreiben, über die Eingangstyp-Vorgabewerte auf die unten angekreuzten Eingänge. Angeboten werden die Eingänge von Geräten mit der Programm-ID %3, deren Block dieselbe Objektversion hat. Die Netzvariablen behalten ihre Namen.</translation>
    </message>
    <message>
        <source>Device / input</source>
        <translation>Gerät / Eingang</translation>
    </message>
    <message>
        <source>Network variable</source>
        <translation>Netzvariable</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message numerus="yes">
        <source>&amp;Copy to %n input(s)</source>
        <translation>
            <numerusform>Auf %n Eingang &amp;kopieren</numerusform>
            <numerusform>Auf %n Eingänge &amp;kopieren</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Host::DatabaseStamp</name>
    <message>
        <source>%1 no longer exists</source>
        <translation>%1 existiert nicht mehr</translation>
    </message>
    <message>
        <source>%1 (process %2 on %3)</source>
        <translation>%1 (Prozess %2 auf %3)</translation>
    </message>
    <message>
        <source>another host</source>
        <translation>ein anderer Host</translation>
    </message>
    <message>
        <source>no lock file can be made beside it (%1)</source>
        <translation>daneben kann keine Sperrdatei angelegt werden (%1)</translation>
    </message>
    <message>
        <source>its lock file %1 cannot be read</source>
        <translation>ihre Sperrdatei %1 kann nicht gelesen werden</translation>
    </message>
</context>
<context>
    <name>Host::DefaultDeviations</name>
    <message>
        <source>%1 has no defaults.</source>
        <translation>%1 hat keine Vorgaben.</translation>
    </message>
    <message>
        <source>the input cannot be shown with the defaults of %1.</source>
        <translation>der Eingang kann mit den Vorgaben von %1 nicht angezeigt werden.</translation>
    </message>
    <message>
        <source>Default for %1: %2</source>
        <translation>Vorgabe für %1: %2</translation>
    </message>
</context>
<context>
    <name>Host::HostWindow</name>
    <message>
        <source>&amp;Edit</source>
        <translation>Bea&amp;rbeiten</translation>
    </message>
    <message>
        <source>&amp;Export points list...</source>
        <translation>Punkteliste e&amp;xportieren...</translation>
    </message>
    <message>
        <source>&amp;Import points list...</source>
        <translation>Punkteliste i&amp;mportieren...</translation>
    </message>
    <message>
        <source>&amp;Undo last confirm</source>
        <translation>Letzte Bestätigung &amp;zurücknehmen</translation>
    </message>
    <message>
        <source>Write back what the input shown held before its last Apply, OK or import</source>
        <translation>Zurückschreiben, was der gezeigte Eingang vor seinem letzten Übernehmen, OK oder Import hielt</translation>
    </message>
    <message>
        <source>Export points list</source>
        <translation>Punkteliste exportieren</translation>
    </message>
    <message>
        <source>Import points list</source>
        <translation>Punkteliste importieren</translation>
    </message>
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
        <source>&amp;Second view</source>
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
        <source>reload the database</source>
        <translation>die Datenbank neu laden</translation>
    </message>
    <message>
        <source>The main window shows no input of %1. This view shows the next input chosen there.</source>
        <translation>Das Hauptfenster zeigt keinen Eingang von %1. Diese Ansicht zeigt den nächsten dort gewählten Eingang.</translation>
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
        <source>vqhost: apply defaults</source>
        <translation>vqhost: Vorgabewerte anwenden</translation>
    </message>
    <message>
        <source>%1: the defaults of %2 cannot be applied.</source>
        <translation>%1: die Vorgabewerte von %2 können nicht angewendet werden.</translation>
    </message>
    <message>
        <source>The defaults of %1 cannot be applied to %2.

%3</source>
        <translation>Die Vorgabewerte von %1 können nicht auf %2 angewendet werden.

%3</translation>
    </message>
    <message>
        <source>%1: the defaults of %2 would change nothing; nothing was written.</source>
        <translation>%1: die Vorgabewerte von %2 würden nichts ändern; es wurde nichts geschrieben.</translation>
    </message>
    <message>
        <source>The defaults of %1 would change nothing on %2; nothing was written.</source>
        <translation>Die Vorgabewerte von %1 würden an %2 nichts ändern; es wurde nichts geschrieben.</translation>
    </message>
    <message>
        <source>%1: the defaults of %2 were not applied.</source>
        <translation>%1: die Vorgabewerte von %2 wurden nicht angewendet.</translation>
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
    <message>
        <source>&amp;Mark deviations from these defaults</source>
        <translation>Abweichungen von diesen Vorgaben &amp;markieren</translation>
    </message>
    <message>
        <source>Marks every field whose value differs from the chosen input type&apos;s default, in the units shown</source>
        <translation>Markiert jedes Feld, dessen Wert von der Vorgabe des gewählten Eingangstyps abweicht, in den angezeigten Einheiten</translation>
    </message>
    <message>
        <source>&amp;Preview</source>
        <translation>&amp;Vorschau</translation>
    </message>
    <message>
        <source>List what OK would write to the device, without writing anything</source>
        <translation>Zeigt, was OK in das Gerät schreiben würde, ohne etwas zu schreiben</translation>
    </message>
    <message>
        <source>%1: no deviations to mark: %2</source>
        <translation>%1: keine Abweichungen zu markieren: %2</translation>
    </message>
    <message numerus="yes">
        <source>%1: preview: %n change(s)</source>
        <translation>
            <numerusform>%1: Vorschau: %n Änderung</numerusform>
            <numerusform>%1: Vorschau: %n Änderungen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>, %n failing</source>
        <translation>
            <numerusform>, %n schlägt fehl</numerusform>
            <numerusform>, %n schlagen fehl</numerusform>
        </translation>
    </message>
    <message>
        <source>%1: the controls changed during the preview.</source>
        <translation>%1: Die Steuerelemente haben sich während der Vorschau verändert.</translation>
    </message>
    <message>
        <source>No input is shown.</source>
        <translation>Kein Eingang angezeigt.</translation>
    </message>
    <message>
        <source>Save as input t&amp;ype...</source>
        <translation>Als Eingangst&amp;yp speichern...</translation>
    </message>
    <message>
        <source>Keep this input&apos;s stored configuration as an input type&apos;s section of a defaults file</source>
        <translation>Die gespeicherte Konfiguration dieses Eingangs als Abschnitt eines Eingangstyps in einer Vorgabedatei ablegen</translation>
    </message>
    <message>
        <source>C&amp;opy to inputs...</source>
        <translation>Auf Eingänge k&amp;opieren...</translation>
    </message>
    <message>
        <source>Write this input&apos;s stored configuration to other inputs of the same kind</source>
        <translation>Die gespeicherte Konfiguration dieses Eingangs auf andere Eingänge derselben Art schreiben</translation>
    </message>
    <message>
        <source>save the configuration as an input type</source>
        <translation>die Konfiguration als Eingangstyp speichern</translation>
    </message>
    <message>
        <source>%1: the configuration cannot be saved as an input type.</source>
        <translation>%1: die Konfiguration kann nicht als Eingangstyp gespeichert werden.</translation>
    </message>
    <message>
        <source>%1: not saved as input type %2.</source>
        <translation>%1: nicht als Eingangstyp %2 gespeichert.</translation>
    </message>
    <message>
        <source>The configuration of %1 was not saved as input type %2.

%3</source>
        <translation>Die Konfiguration von %1 wurde nicht als Eingangstyp %2 gespeichert.

%3</translation>
    </message>
    <message>
        <source>%1: saved as input type %2 in %3</source>
        <translation>%1: als Eingangstyp %2 in %3 gespeichert</translation>
    </message>
    <message>
        <source>copy the configuration</source>
        <translation>die Konfiguration kopieren</translation>
    </message>
    <message>
        <source>%1: configuration copied to %2 of %3 inputs.</source>
        <translation>%1: Konfiguration auf %2 von %3 Eingängen kopiert.</translation>
    </message>
    <message>
        <source>vqhost: copy to inputs</source>
        <translation>vqhost: auf Eingänge kopieren</translation>
    </message>
    <message>
        <source>&amp;Watch</source>
        <translation>Beobac&amp;hten</translation>
    </message>
    <message>
        <source>Read this input&apos;s live value every few seconds and draw it against time</source>
        <translation>Den aktuellen Wert dieses Eingangs alle paar Sekunden lesen und über der Zeit zeichnen</translation>
    </message>
    <message>
        <source>%1: written, but the device reports other values than were sent.</source>
        <translation>%1: geschrieben, aber das Gerät meldet andere Werte als gesendet.</translation>
    </message>
    <message>
        <source>Another host has %1 open: %2.</source>
        <translation>Ein anderer Host hat %1 geöffnet: %2.</translation>
    </message>
    <message>
        <source>%1 was not reset: %2</source>
        <translation>%1 wurde nicht zurückgesetzt: %2</translation>
    </message>
    <message>
        <source>The working copy was not reset.

%1</source>
        <translation>Die Arbeitskopie wurde nicht zurückgesetzt.

%1</translation>
    </message>
    <message>
        <source>vqhost: database in use</source>
        <translation>vqhost: Datenbank in Benutzung</translation>
    </message>
    <message>
        <source>Open it read-only? You can look at it, but not save it.</source>
        <translation>Schreibgeschützt öffnen? Sie können sie ansehen, aber nicht speichern.</translation>
    </message>
    <message>
        <source>Open &amp;read-only</source>
        <translation>&amp;Schreibgeschützt öffnen</translation>
    </message>
    <message>
        <source>%1 was not opened: %2</source>
        <translation>%1 wurde nicht geöffnet: %2</translation>
    </message>
    <message>
        <source>%1 is not locked: %2</source>
        <translation>%1 ist nicht gesperrt: %2</translation>
    </message>
    <message>
        <source>%1 is open read-only: another host has it open (%2).</source>
        <translation>%1 ist schreibgeschützt geöffnet: ein anderer Host hat sie geöffnet (%2).</translation>
    </message>
    <message>
        <source>No database is open.</source>
        <translation>Keine Datenbank ist geöffnet.</translation>
    </message>
    <message>
        <source>%1: another host has it open (%2); not saved.</source>
        <translation>%1: ein anderer Host hat sie geöffnet (%2); nicht gespeichert.</translation>
    </message>
    <message>
        <source>%1 is open read-only: another host has it open (%2); not saved.</source>
        <translation>%1 ist schreibgeschützt geöffnet: ein anderer Host hat sie geöffnet (%2); nicht gespeichert.</translation>
    </message>
    <message>
        <source>%1 was changed by another program since it was opened; not saved.</source>
        <translation>%1 wurde seit dem Öffnen von einem anderen Programm geändert; nicht gespeichert.</translation>
    </message>
    <message>
        <source>%1 cannot be read now: %2</source>
        <translation>%1 kann jetzt nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>%1 was changed by another program since it was opened.</source>
        <translation>%1 wurde seit dem Öffnen von einem anderen Programm geändert.</translation>
    </message>
    <message>
        <source>vqhost: file changed</source>
        <translation>vqhost: Datei geändert</translation>
    </message>
    <message>
        <source>Reload: show the file as it is now; your edits on this page come back where the other program left those fields alone.
Overwrite: replace it with your version.
Save as: keep both, yours under another name.</source>
        <translation>Neu laden: die Datei so zeigen, wie sie jetzt ist; Ihre Eingaben auf dieser Seite kommen zurück, wo das andere Programm diese Felder nicht geändert hat.
Überschreiben: sie durch Ihre Fassung ersetzen.
Speichern unter: beide behalten, Ihre unter einem anderen Namen.</translation>
    </message>
    <message>
        <source>&amp;Overwrite</source>
        <translation>Ü&amp;berschreiben</translation>
    </message>
    <message>
        <source>Save &amp;as...</source>
        <translation>Speichern &amp;unter...</translation>
    </message>
    <message>
        <source>Save the database as</source>
        <translation>Datenbank speichern unter</translation>
    </message>
    <message>
        <source>%1 stays as the other program left it; the window now works on %2.</source>
        <translation>%1 bleibt, wie das andere Programm sie hinterließ; das Fenster arbeitet jetzt mit %2.</translation>
    </message>
    <message>
        <source>Reloaded %1 as the other program left it; your changes since the last save were dropped.</source>
        <translation>%1 neu geladen, wie das andere Programm sie hinterließ; Ihre Änderungen seit dem letzten Speichern entfallen.</translation>
    </message>
    <message>
        <source>vqhost - %1 (read-only)[*]</source>
        <translation>vqhost - %1 (schreibgeschützt)[*]</translation>
    </message>
    <message>
        <source>Reloaded %1 as the other program left it.</source>
        <translation>%1 neu geladen, wie das andere Programm sie hinterließ.</translation>
    </message>
    <message>
        <source>%1: your edits are back in the fields, not written yet: %2</source>
        <translation>%1: Ihre Änderungen stehen wieder in den Feldern, noch nicht geschrieben: %2</translation>
    </message>
    <message>
        <source>%1: edits not kept, as the other program changed the same fields: %2</source>
        <translation>%1: Änderungen nicht übernommen, da das andere Programm dieselben Felder geändert hat: %2</translation>
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
    <message>
        <source>this type has no send delta to write</source>
        <translation>dieser Typ hat kein Sendedelta zu schreiben</translation>
    </message>
    <message>
        <source>The stored interpretation %1 is not offered for this input; OK will store %2</source>
        <translation>Die gespeicherte Auswertung %1 wird für diesen Eingang nicht angeboten; OK speichert %2</translation>
    </message>
    <message>
        <source>(unreadable)</source>
        <translation>(nicht lesbar)</translation>
    </message>
    <message>
        <source>Nothing is written while the hardware side is not edited; an edit of the hardware side writes the interpretation shown.</source>
        <translation>Solange die Hardware-Seite nicht bearbeitet wird, wird nichts geschrieben; eine Änderung der Hardware-Seite schreibt die angezeigte Auswertung.</translation>
    </message>
</context>
<context>
    <name>Host::LiveTrend</name>
    <message>
        <source>Last reading: %1 %2 after %3 s</source>
        <translation>Letzter Wert: %1 %2 nach %3 s</translation>
    </message>
    <message>
        <source>No reading after %1 s: %2</source>
        <translation>Kein Wert nach %1 s: %2</translation>
    </message>
    <message>
        <source>Watching...</source>
        <translation>Beobachtung läuft ...</translation>
    </message>
    <message>
        <source>Stopped. %1</source>
        <translation>Beendet. %1</translation>
    </message>
</context>
<context>
    <name>Host::LiveValue</name>
    <message>
        <source>the input has no format to read its value in</source>
        <translation>der Eingang hat kein Format, in dem sein Wert gelesen werden kann</translation>
    </message>
    <message>
        <source>not a number: %1</source>
        <translation>keine Zahl: %1</translation>
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
        <source>vqhost - second view (no input)</source>
        <translation>vqhost - zweite Ansicht (kein Eingang)</translation>
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
    <name>Host::PreviewDialog</name>
    <message>
        <source>Preview of %1</source>
        <translation>Vorschau für %1</translation>
    </message>
    <message>
        <source>No preview: %1</source>
        <translation>Keine Vorschau: %1</translation>
    </message>
    <message>
        <source>OK would change nothing on the device.</source>
        <translation>OK würde im Gerät nichts ändern.</translation>
    </message>
    <message>
        <source>OK would write this to the device. Nothing has been written yet.</source>
        <translation>OK würde dies in das Gerät schreiben. Noch ist nichts geschrieben.</translation>
    </message>
    <message>
        <source>Property</source>
        <translation>Eigenschaft</translation>
    </message>
    <message>
        <source>Now</source>
        <translation>Jetzt</translation>
    </message>
    <message>
        <source>After OK</source>
        <translation>Nach OK</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>Ergebnis</translation>
    </message>
    <message>
        <source>fails: %1</source>
        <translation>schlägt fehl: %1</translation>
    </message>
    <message>
        <source>changes</source>
        <translation>ändert sich</translation>
    </message>
    <message>
        <source>Messages the write would raise:</source>
        <translation>Meldungen, die das Schreiben auslösen würde:</translation>
    </message>
    <message>
        <source>(none)</source>
        <translation>(keine)</translation>
    </message>
    <message>
        <source>Hardware side, as OK would report it: %1</source>
        <translation>Hardwareseite, wie OK es melden würde: %1</translation>
    </message>
    <message>
        <source>Network side, as OK would report it: %1</source>
        <translation>Netzwerkseite, wie OK es melden würde: %1</translation>
    </message>
    <message>
        <source>The controls changed while writing; open the input again before OK.</source>
        <translation>Die Steuerelemente haben sich beim Schreiben verändert; den Eingang vor OK erneut öffnen.</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>%1: %2 (would fail: %3)</source>
        <translation>%1: %2 (würde scheitern: %3)</translation>
    </message>
    <message>
        <source>%1: %2 → %3</source>
        <translation>%1: %2 → %3</translation>
    </message>
    <message>
        <source>These values change (now → after):</source>
        <translation>Diese Werte ändern sich (jetzt → danach):</translation>
    </message>
    <message>
        <source>Not everything would be written:</source>
        <translation>Nicht alles würde geschrieben:</translation>
    </message>
    <message>
        <source>The database is saved afterwards.</source>
        <translation>Die Datenbank wird danach gespeichert.</translation>
    </message>
    <message>
        <source>vqhost: apply defaults</source>
        <translation>vqhost: Vorgabewerte anwenden</translation>
    </message>
    <message>
        <source>Apply the defaults of %1 to %2?</source>
        <translation>Die Vorgabewerte von %1 auf %2 anwenden?</translation>
    </message>
</context>
<context>
    <name>Host::SaveAsInputTypeDialog</name>
    <message>
        <source>Save as input type</source>
        <translation>Als Eingangstyp speichern</translation>
    </message>
    <message>
        <source>Saves every property of %1 / %2 that the two controls write, as the device holds it, as the chosen input type&apos;s section of a defaults file. A section of that name is replaced; other sections and comments stay. The device finds a defaults file as CommonFiles/InputDefaultValues.ini beside the host&apos;s plug-in folder.</source>
        <translation>Speichert jede Eigenschaft von %1 / %2, die die beiden Steuerelemente schreiben, so wie das Gerät sie hält, als Abschnitt des gewählten Eingangstyps in einer Vorgabedatei. Ein Abschnitt dieses Namens wird ersetzt; andere Abschnitte und Kommentare bleiben. Das Gerät findet eine Vorgabedatei als CommonFiles/InputDefaultValues.ini neben dem Plug-in-Ordner des Hosts.</translation>
    </message>
    <message>
        <source>Input &amp;type</source>
        <translation>Eingangs&amp;typ</translation>
    </message>
    <message>
        <source>&amp;Browse...</source>
        <translation>&amp;Durchsuchen...</translation>
    </message>
    <message>
        <source>Defaults &amp;file</source>
        <translation>Vorgabe&amp;datei</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Defaults file</source>
        <translation>Vorgabedatei</translation>
    </message>
    <message>
        <source>Input defaults (InputDefaultValues.ini);;Profile files (*.ini)</source>
        <translation>Eingangsvorgaben (InputDefaultValues.ini);;Profildateien (*.ini)</translation>
    </message>
</context>
<context>
    <name>Host::TrendView</name>
    <message>
        <source>%1 s</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>waiting for the first reading</source>
        <translation>warte auf den ersten Wert</translation>
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
<context>
    <name>Host::UserDefaultsFile</name>
    <message>
        <source>The section [%1] would take %2 characters; the defaults reader sees only the first %3 of a section.</source>
        <translation>Der Abschnitt [%1] wäre %2 Zeichen lang; das Lesen der Vorgabewerte sieht nur die ersten %3 eines Abschnitts.</translation>
    </message>
    <message>
        <source>The value of %1 (&quot;%2&quot;) would not read back as it is: the defaults reader cleans it to &quot;%3&quot;.</source>
        <translation>Der Wert von %1 („%2“) würde nicht unverändert zurückgelesen: das Lesen der Vorgabewerte macht daraus „%3“.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot name a section of a defaults file.</source>
        <translation>„%1“ kann keinen Abschnitt einer Vorgabedatei benennen.</translation>
    </message>
    <message>
        <source>The entry &quot;%1&quot; cannot be written to a defaults file.</source>
        <translation>Der Eintrag „%1“ kann nicht in eine Vorgabedatei geschrieben werden.</translation>
    </message>
    <message>
        <source>%1 is left as it is: %2</source>
        <translation>%1 bleibt unverändert: %2</translation>
    </message>
    <message>
        <source>%1 cannot be read: %2</source>
        <translation>%1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>The folder %1 cannot be made.</source>
        <translation>Der Ordner %1 kann nicht angelegt werden.</translation>
    </message>
    <message>
        <source>%1 cannot be written: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>The defaults reader would not read the file any more (%1); every input type would lose its defaults.</source>
        <translation>Der Vorgabenleser würde die Datei nicht mehr lesen (%1); jeder Eingangstyp verlöre seine Vorgaben.</translation>
    </message>
    <message>
        <source>The value of %1 holds a control character (U+%2); a defaults file holds text only, and the reader would refuse the whole file.</source>
        <translation>Der Wert von %1 enthält ein Steuerzeichen (U+%2); eine Vorgabendatei enthält nur Text, und der Leser würde die ganze Datei ablehnen.</translation>
    </message>
</context>
<context>
    <name>Host::WritePreview</name>
    <message>
        <source>The input %1 is not in the network.</source>
        <translation>Der Eingang %1 ist nicht im Netzwerk.</translation>
    </message>
    <message>
        <source>Hardware side</source>
        <translation>Hardwareseite</translation>
    </message>
    <message>
        <source>Network side</source>
        <translation>Netzwerkseite</translation>
    </message>
    <message>
        <source>Variable name</source>
        <translation>Name der Variablen</translation>
    </message>
    <message>
        <source>%1 has no defaults.</source>
        <translation>%1 hat keine Vorgabewerte.</translation>
    </message>
</context>
</TS>
