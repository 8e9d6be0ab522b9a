<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>Authentication</name>
    <message>
        <source>Sign in to Lorvane</source>
        <translation>Bei Lorvane anmelden</translation>
    </message>
    <message>
        <source>Your Lorvane site account. The password stays in your system keychain, or in memory for this session only; the site only ever receives its hash.</source>
        <translation>Ihr Account auf der Lorvane-Website. Das Passwort bleibt im Schlüsselbund Ihres Systems oder nur für diese Sitzung im Arbeitsspeicher; die Website erhält immer nur seinen Hash.</translation>
    </message>
    <message>
        <source>&amp;User name:</source>
        <translation>&amp;Benutzername:</translation>
    </message>
    <message>
        <source>&amp;Password:</source>
        <translation>&amp;Passwort:</translation>
    </message>
    <message>
        <source>&amp;Keep the password for this session only</source>
        <translation>Passwort &amp;nur für diese Sitzung behalten</translation>
    </message>
    <message>
        <source>Held in memory until the client quits, never written anywhere; uploads from a launcher&apos;s script cannot use it.</source>
        <translation>Bleibt im Arbeitsspeicher, bis der Client beendet wird, und wird nirgends gespeichert; Uploads aus dem Skript eines Launchers können es nicht verwenden.</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
</context>
<context>
    <name>Autostart</name>
    <message>
        <source>%1 could not be removed</source>
        <translation>%1 konnte nicht entfernt werden</translation>
    </message>
    <message>
        <source>the folder %1 could not be made</source>
        <translation>der Ordner %1 konnte nicht angelegt werden</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>%1 and %2 cannot be used together.</source>
        <translation>%1 und %2 können nicht zusammen verwendet werden.</translation>
    </message>
    <message>
        <source>--json needs --history or --installs.</source>
        <translation>--json braucht --history oder --installs.</translation>
    </message>
    <message>
        <source>--wait needs --upload.</source>
        <translation>--wait braucht --upload.</translation>
    </message>
    <message>
        <source>--minimized starts the window in the tray: it cannot be used with %1.</source>
        <translation>--minimized startet das Fenster im Infobereich: Es kann nicht mit %1 verwendet werden.</translation>
    </message>
    <message>
        <source>Unexpected argument &apos;%1&apos;.</source>
        <translation>Unerwartetes Argument „%1“.</translation>
    </message>
</context>
<context>
    <name>Compression</name>
    <message>
        <source>the compressed copy could not be saved: %1</source>
        <translation>die komprimierte Kopie konnte nicht gespeichert werden: %1</translation>
    </message>
    <message>
        <source>only %1 of %2 bytes could be written</source>
        <translation>nur %1 von %2 Bytes konnten geschrieben werden</translation>
    </message>
    <message>
        <source>only %1 of %2 bytes could be written (%3)</source>
        <translation>nur %1 von %2 Bytes konnten geschrieben werden (%3)</translation>
    </message>
    <message>
        <source>deflate could not start</source>
        <translation>deflate konnte nicht starten</translation>
    </message>
    <message>
        <source>deflate failed</source>
        <translation>deflate ist fehlgeschlagen</translation>
    </message>
    <message>
        <source>Unable to compress %1: %2</source>
        <translation>%1 kann nicht komprimiert werden: %2</translation>
    </message>
    <message>
        <source>the compressed copy could not be created: %1</source>
        <translation>die komprimierte Kopie konnte nicht angelegt werden: %1</translation>
    </message>
</context>
<context>
    <name>FileReading</name>
    <message>
        <source>Not reading %1: it is a named pipe, not a regular file</source>
        <translation>%1 wird nicht gelesen: Es ist eine benannte Pipe, keine reguläre Datei</translation>
    </message>
    <message>
        <source>Not reading %1: it is a socket, not a regular file</source>
        <translation>%1 wird nicht gelesen: Es ist ein Socket, keine reguläre Datei</translation>
    </message>
    <message>
        <source>Not reading %1: it is a folder, not a regular file</source>
        <translation>%1 wird nicht gelesen: Es ist ein Ordner, keine reguläre Datei</translation>
    </message>
    <message>
        <source>Not reading %1: it is a symbolic link, not a regular file</source>
        <translation>%1 wird nicht gelesen: Es ist eine symbolische Verknüpfung, keine reguläre Datei</translation>
    </message>
    <message>
        <source>Not reading %1: it is a device, not a regular file</source>
        <translation>%1 wird nicht gelesen: Es ist ein Gerät, keine reguläre Datei</translation>
    </message>
</context>
<context>
    <name>FileWriting</name>
    <message>
        <source>the data was cut short</source>
        <translation>die Daten wurden nicht vollständig geschrieben</translation>
    </message>
    <message>
        <source>a folder stands in its place</source>
        <translation>an ihrer Stelle steht ein Ordner</translation>
    </message>
    <message>
        <source>what stands in its place cannot be removed</source>
        <translation>was an ihrer Stelle steht, kann nicht entfernt werden</translation>
    </message>
</context>
<context>
    <name>GameInstallations</name>
    <message>
        <source>Retail</source>
        <translation>Retail</translation>
    </message>
    <message>
        <source>Classic</source>
        <translation>Classic</translation>
    </message>
    <message>
        <source>Classic Era</source>
        <translation>Classic Era</translation>
    </message>
    <message>
        <source>Anniversary</source>
        <translation>Anniversary</translation>
    </message>
    <message>
        <source>Test realm</source>
        <translation>Testrealm</translation>
    </message>
    <message>
        <source>Experimental test realm</source>
        <translation>Experimenteller Testrealm</translation>
    </message>
    <message>
        <source>Beta</source>
        <translation>Beta</translation>
    </message>
    <message>
        <source>Classic test realm</source>
        <translation>Classic-Testrealm</translation>
    </message>
    <message>
        <source>Game folder</source>
        <translation>Spielordner</translation>
    </message>
    <message>
        <source>Custom prefix</source>
        <translation>Eigenes Präfix</translation>
    </message>
    <message>
        <source>Chosen by hand</source>
        <translation>Von Hand gewählt</translation>
    </message>
</context>
<context>
    <name>Headless</name>
    <message>
        <source>No game is set: open lorvane-client once and choose the game in Options.</source>
        <translation>Kein Spiel festgelegt: Öffnen Sie lorvane-client einmal und wählen Sie das Spiel in den Optionen.</translation>
    </message>
    <message>
        <source>The game is running already.</source>
        <translation>Das Spiel läuft bereits.</translation>
    </message>
    <message>
        <source>%1: start one (install gnome-keyring, or use KDE&apos;s wallet) and sign in with lorvane-client --sign-in NAME, or upload from the window, which can keep the password for its session only.</source>
        <translation>%1: Starten Sie einen (installieren Sie gnome-keyring oder verwenden Sie KWallet von KDE) und melden Sie sich mit lorvane-client --sign-in NAME an, oder laden Sie aus dem Fenster hoch, das das Passwort nur für seine Sitzung behalten kann.</translation>
    </message>
    <message>
        <source>The keychain is not available: %1</source>
        <translation>Der Schlüsselbund ist nicht verfügbar: %1</translation>
    </message>
    <message>
        <source>No password is stored: sign in first with lorvane-client --sign-in NAME.</source>
        <translation>Kein Passwort gespeichert: Melden Sie sich zuerst mit lorvane-client --sign-in NAME an.</translation>
    </message>
    <message>
        <source>The game is running: upload once it has quit.</source>
        <translation>Das Spiel läuft: Laden Sie hoch, sobald es beendet ist.</translation>
    </message>
    <message>
        <source>Another upload is running</source>
        <translation>Ein anderer Upload läuft bereits</translation>
    </message>
    <message>
        <source>No password given on standard input: nothing was changed.</source>
        <translation>Kein Passwort auf der Standardeingabe: Es wurde nichts geändert.</translation>
    </message>
    <message>
        <source>The site does not accept this password for %1: the stored one is kept.</source>
        <translation>Die Website akzeptiert dieses Passwort für %1 nicht: Das gespeicherte bleibt erhalten.</translation>
    </message>
    <message>
        <source>The password is stored, but the site could not be reached to check it.</source>
        <translation>Das Passwort ist gespeichert, aber die Website war zur Prüfung nicht erreichbar.</translation>
    </message>
</context>
<context>
    <name>InstallChoices</name>
    <message>
        <source>Found another copy of the game: %1 (%2) in %3. Check it in Options to upload its data.</source>
        <translation>Weitere Kopie des Spiels gefunden: %1 (%2) in %3. Haken Sie sie in den Optionen an, um ihre Daten hochzuladen.</translation>
    </message>
</context>
<context>
    <name>InstallsReport</name>
    <message>
        <source>%1, game %2</source>
        <translation>%1, Spiel %2</translation>
    </message>
    <message>
        <source>[%1] %2, %3
    program  %4
    prefix   %5
    launch   %6
</source>
        <extracomment>One install in the list --installs prints; the values line up after the labels.</extracomment>
        <translation>[%1] %2, %3
    Programm  %4
    Präfix    %5
    Start     %6
</translation>
    </message>
    <message>
        <source>The game&apos;s launcher is not beside the game nor in the folder above it</source>
        <translation>Der Launcher des Spiels liegt weder neben dem Spiel noch im Ordner darüber</translation>
    </message>
    <message>
        <source>No install of the game was found.</source>
        <translation>Keine Installation des Spiels gefunden.</translation>
    </message>
</context>
<context>
    <name>LVAddonInstaller</name>
    <message>
        <source>Unable to install addon to WOW directory</source>
        <translation>Das AddOn kann nicht im WoW-Verzeichnis installiert werden</translation>
    </message>
    <message>
        <source>Checking for Lorvane Harvex addon updates…</source>
        <translation>Suche nach Updates für das AddOn Lorvane Harvex…</translation>
    </message>
    <message>
        <source>The Lorvane Harvex update server is not responding at the moment.</source>
        <translation>Der Update-Server von Lorvane Harvex antwortet gerade nicht.</translation>
    </message>
    <message>
        <source>The Lorvane Harvex update server is having some trouble at the moment.</source>
        <translation>Der Update-Server von Lorvane Harvex hat gerade Probleme.</translation>
    </message>
    <message numerus="yes">
        <source>The update list names more than %n files: the addon update stopped after the first %n.</source>
        <translation>
            <numerusform>Die Update-Liste nennt mehr als %n Datei: Das AddOn-Update wurde nach der ersten angehalten.</numerusform>
            <numerusform>Die Update-Liste nennt mehr als %n Dateien: Das AddOn-Update wurde nach den ersten %n angehalten.</numerusform>
        </translation>
    </message>
    <message>
        <source>Lorvane Harvex addon updated!</source>
        <translation>AddOn Lorvane Harvex aktualisiert!</translation>
    </message>
    <message>
        <source>Looks like you&apos;re up-to-date!</source>
        <translation>Alles ist auf dem neuesten Stand!</translation>
    </message>
    <message>
        <source>Refusing to write outside Interface/AddOns: %1</source>
        <translation>Schreiben außerhalb von Interface/AddOns verweigert: %1</translation>
    </message>
    <message>
        <source>Refusing the download of %1: it is longer than the %2 bytes the update list gives.</source>
        <translation>Download von %1 verweigert: Die Datei ist länger als die %2 Bytes, die die Update-Liste angibt.</translation>
    </message>
    <message>
        <source>The addon update stopped: its downloads would come to more than %1.</source>
        <translation>Das AddOn-Update wurde angehalten: Seine Downloads würden mehr als %1 umfassen.</translation>
    </message>
    <message>
        <source>Updating Lorvane Harvex file: %1</source>
        <translation>Datei von Lorvane Harvex wird aktualisiert: %1</translation>
    </message>
</context>
<context>
    <name>LVApplicationDelegate</name>
    <message>
        <source>No password is stored: sign in with lorvane-client --sign-in NAME.</source>
        <translation>Kein Passwort gespeichert: Melden Sie sich mit lorvane-client --sign-in NAME an.</translation>
    </message>
</context>
<context>
    <name>LVAuthentication</name>
    <message>
        <source>%1: sign in and keep the password for this session only, or start one and sign in again.</source>
        <translation>%1: Melden Sie sich an und behalten Sie das Passwort nur für diese Sitzung, oder starten Sie einen Schlüsselbund-Dienst und melden Sie sich erneut an.</translation>
    </message>
    <message>
        <source>The keychain is not available: %1</source>
        <translation>Der Schlüsselbund ist nicht verfügbar: %1</translation>
    </message>
    <message>
        <source>Authentication failed.</source>
        <translation>Anmeldung fehlgeschlagen.</translation>
    </message>
    <message>
        <source>no answer came</source>
        <translation>es kam keine Antwort</translation>
    </message>
    <message>
        <source>The site cannot be reached: %1</source>
        <translation>Die Website ist nicht erreichbar: %1</translation>
    </message>
    <message>
        <source>Buffer length should be 1, instead it is %1</source>
        <translation>Die Pufferlänge sollte 1 sein, ist aber %1</translation>
    </message>
    <message>
        <source>Authentication succeeded.</source>
        <translation>Anmeldung erfolgreich.</translation>
    </message>
    <message>
        <source>The site does not accept your user name and password.</source>
        <translation>Die Website akzeptiert Ihren Benutzernamen und Ihr Passwort nicht.</translation>
    </message>
    <message>
        <source>Authentication succeeded but cannot upload for about another minute. Will retry in 30 seconds.</source>
        <translation>Anmeldung erfolgreich, aber Hochladen ist erst in etwa einer Minute wieder möglich. Neuer Versuch in 30 Sekunden.</translation>
    </message>
    <message>
        <source>Buffer data should be 0, 1, or 2, instead it is %1</source>
        <translation>Die Pufferdaten sollten 0, 1 oder 2 sein, sind aber %1</translation>
    </message>
    <message>
        <source>The site gave no answer: it is asked again at %1.</source>
        <translation>Die Website hat nicht geantwortet: Neue Anfrage um %1.</translation>
    </message>
</context>
<context>
    <name>LVAutomaticUploads</name>
    <message>
        <source>The upload: press Upload to try again (trying again by itself is off in the options).</source>
        <translation>Der Upload: Klicken Sie auf „Hochladen“, um es erneut zu versuchen (die automatische Wiederholung ist in den Optionen ausgeschaltet).</translation>
    </message>
    <message>
        <source>%1: press Upload to try again (trying again by itself is off in the options).</source>
        <translation>%1: Klicken Sie auf „Hochladen“, um es erneut zu versuchen (die automatische Wiederholung ist in den Optionen ausgeschaltet).</translation>
    </message>
    <message>
        <source>The upload: tried again at %1.</source>
        <translation>Der Upload: Neuer Versuch um %1.</translation>
    </message>
    <message>
        <source>%1: tried again at %2.</source>
        <translation>%1: Neuer Versuch um %2.</translation>
    </message>
</context>
<context>
    <name>LVDesktopNotifier</name>
    <message>
        <source>No account had anything new.</source>
        <translation>Kein Account hatte etwas Neues.</translation>
    </message>
    <message>
        <source>1 account went up: %1</source>
        <translation>1 Account hochgeladen: %1</translation>
    </message>
    <message numerus="yes">
        <source>%n accounts went up: %1</source>
        <translation>
            <numerusform>%n Account hochgeladen: %1</numerusform>
            <numerusform>%n Accounts hochgeladen: %1</numerusform>
        </translation>
    </message>
    <message>
        <source>Upload complete</source>
        <translation>Upload abgeschlossen</translation>
    </message>
    <message>
        <source>the upload did not get through</source>
        <translation>der Upload ist nicht angekommen</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <comment>who failed: why</comment>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>Upload failed</source>
        <translation>Upload fehlgeschlagen</translation>
    </message>
    <message>
        <source>Try again now</source>
        <translation>Jetzt erneut versuchen</translation>
    </message>
    <message>
        <source>History</source>
        <translation>Verlauf</translation>
    </message>
    <message>
        <source>Sign-in problem</source>
        <translation>Problem bei der Anmeldung</translation>
    </message>
    <message>
        <source>Sign in</source>
        <translation>Anmelden</translation>
    </message>
</context>
<context>
    <name>LVGameInstall</name>
    <message>
        <source>Checking for supported realms…</source>
        <translation>Suche nach unterstützten Realms…</translation>
    </message>
    <message>
        <source>Found valid realm: %1</source>
        <translation>Gültiger Realm gefunden: %1</translation>
    </message>
    <message>
        <source>No valid realm found.</source>
        <translation>Kein gültiger Realm gefunden.</translation>
    </message>
</context>
<context>
    <name>LVGameWatch</name>
    <message>
        <source>The game&apos;s launcher is not in %1 nor in the folder above it</source>
        <translation>Der Launcher des Spiels liegt weder in %1 noch im Ordner darüber</translation>
    </message>
    <message>
        <source>Starting the game: %1</source>
        <translation>Das Spiel wird gestartet: %1</translation>
    </message>
</context>
<context>
    <name>LVHistoryWindow</name>
    <message>
        <source>Upload History</source>
        <translation>Upload-Verlauf</translation>
    </message>
    <message>
        <source>Choose an upload to see all the history keeps of it.</source>
        <translation>Wählen Sie einen Upload, um alles zu sehen, was der Verlauf darüber festhält.</translation>
    </message>
    <message>
        <source>&amp;Export…</source>
        <translation>&amp;Exportieren…</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>Export the upload history</source>
        <translation>Upload-Verlauf exportieren</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>CSV-Dateien (*.csv)</translation>
    </message>
    <message>
        <source>(nothing)</source>
        <translation>(nichts)</translation>
    </message>
    <message>
        <source>No answer came from the site.</source>
        <translation>Von der Website kam keine Antwort.</translation>
    </message>
    <message>
        <source>The site answered %1: %2</source>
        <translation>Die Website antwortete %1: %2</translation>
    </message>
    <message>
        <source>%1 · %2 · %3
%4%5
Files: %6 (%7, %8 compressed) in %9
%10</source>
        <translation>%1 · %2 · %3
%4%5
Dateien: %6 (%7, komprimiert %8) in %9
%10</translation>
    </message>
</context>
<context>
    <name>LVKeychainCredentialStore</name>
    <message>
        <source>No keychain service is running (GNOME Keyring or KWallet)</source>
        <translation>Es läuft kein Schlüsselbund-Dienst (GNOME Keyring oder KWallet)</translation>
    </message>
</context>
<context>
    <name>LVLaunchOutcome</name>
    <message>
        <source>The launcher did not start the game: %1</source>
        <translation>Der Launcher hat das Spiel nicht gestartet: %1</translation>
    </message>
    <message>
        <source>The launcher did not start the game: %1 ended with status %2</source>
        <translation>Der Launcher hat das Spiel nicht gestartet: %1 endete mit Status %2</translation>
    </message>
    <message>
        <source>The launcher did not start the game: %1 ended with status %2: %3</source>
        <translation>Der Launcher hat das Spiel nicht gestartet: %1 endete mit Status %2: %3</translation>
    </message>
</context>
<context>
    <name>LVLauncherProcess</name>
    <message>
        <source>Could not start %1: %2</source>
        <translation>%1 konnte nicht gestartet werden: %2</translation>
    </message>
</context>
<context>
    <name>LVMainWindow</name>
    <message>
        <source>Save the log</source>
        <translation>Protokoll speichern</translation>
    </message>
    <message>
        <source>Text files (*.txt)</source>
        <translation>Textdateien (*.txt)</translation>
    </message>
</context>
<context>
    <name>LVPreferencesController</name>
    <message>
        <source>Choose the game</source>
        <translation>Spiel auswählen</translation>
    </message>
    <message>
        <source>No copy of the game was found. Pick its Wow.exe inside your Wine, Lutris, Steam or Bottles prefix:</source>
        <translation>Keine Kopie des Spiels gefunden. Wählen Sie seine Wow.exe in Ihrem Wine-, Lutris-, Steam- oder Bottles-Präfix:</translation>
    </message>
    <message>
        <source>Not listed? Pick its Wow.exe inside your Wine, Lutris, Steam or Bottles prefix:</source>
        <translation>Nicht aufgeführt? Wählen Sie seine Wow.exe in Ihrem Wine-, Lutris-, Steam- oder Bottles-Präfix:</translation>
    </message>
    <message>
        <source>Applications (*.app)</source>
        <translation>Programme (*.app)</translation>
    </message>
    <message>
        <source>Windows programs (*.exe)</source>
        <translation>Windows-Programme (*.exe)</translation>
    </message>
    <message>
        <source>Your desktop shows no tray icons.</source>
        <translation>Ihr Desktop zeigt keine Symbole im Infobereich.</translation>
    </message>
    <message>
        <source>Unable to save the settings: %1</source>
        <translation>Die Einstellungen können nicht gespeichert werden: %1</translation>
    </message>
    <message>
        <source>Unable to start the client at log-in: %1</source>
        <translation>Der Client kann nicht beim Anmelden am Desktop gestartet werden: %1</translation>
    </message>
</context>
<context>
    <name>LVRunReports</name>
    <message>
        <source>Tried again at %1.</source>
        <translation>Neuer Versuch um %1.</translation>
    </message>
    <message>
        <source>The upload</source>
        <translation>Der Upload</translation>
    </message>
</context>
<context>
    <name>LVSettings</name>
    <message>
        <source>%1: this is a folder</source>
        <translation>%1: Das ist ein Ordner</translation>
    </message>
    <message>
        <source>%1: the file could not be written</source>
        <translation>%1: Die Datei konnte nicht geschrieben werden</translation>
    </message>
</context>
<context>
    <name>LVSingleInstance</name>
    <message>
        <source>Another Lorvane Client is running (process %1) but does not answer</source>
        <translation>Ein anderer Lorvane Client läuft (Prozess %1), antwortet aber nicht</translation>
    </message>
</context>
<context>
    <name>LVSyncGet</name>
    <message>
        <source>The server at %1 did not answer within %2 seconds.</source>
        <translation>Der Server %1 hat nicht innerhalb von %2 Sekunden geantwortet.</translation>
    </message>
    <message>
        <source>The server at %1 did not finish its answer within %2 seconds.</source>
        <translation>Der Server %1 hat seine Antwort nicht innerhalb von %2 Sekunden beendet.</translation>
    </message>
    <message>
        <source>The download from %1 was stopped.</source>
        <translation>Der Download von %1 wurde abgebrochen.</translation>
    </message>
    <message>
        <source>The server answered %1 %2.</source>
        <translation>Der Server antwortete %1 %2.</translation>
    </message>
    <message>
        <source>The server at %1 sent more than %2 bytes.</source>
        <translation>Der Server %1 hat mehr als %2 Bytes gesendet.</translation>
    </message>
    <message>
        <source>The server at %1 stopped sending for %2 seconds.</source>
        <translation>Der Server %1 hat %2 Sekunden lang nichts gesendet.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a valid address.</source>
        <translation>„%1“ ist keine gültige Adresse.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not an http or https address.</source>
        <translation>„%1“ ist keine http- oder https-Adresse.</translation>
    </message>
</context>
<context>
    <name>LVTrayIcon</name>
    <message>
        <source>&amp;History…</source>
        <translation>&amp;Verlauf…</translation>
    </message>
    <message>
        <source>&amp;Options…</source>
        <translation>&amp;Optionen…</translation>
    </message>
    <message>
        <source>&amp;Upload now</source>
        <translation>Jetzt &amp;hochladen</translation>
    </message>
    <message>
        <source>&amp;Launch</source>
        <translation>&amp;Starten</translation>
    </message>
    <message>
        <source>Sign &amp;in…</source>
        <translation>A&amp;nmelden…</translation>
    </message>
    <message>
        <source>&amp;Show window</source>
        <translation>Fenster &amp;anzeigen</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Pause automatic uploads</source>
        <translation>Automatische Uploads &amp;pausieren</translation>
    </message>
    <message>
        <source>For an &amp;hour</source>
        <translation>Für eine &amp;Stunde</translation>
    </message>
    <message>
        <source>&amp;Until I resume them</source>
        <translation>&amp;Bis ich sie fortsetze</translation>
    </message>
    <message>
        <source>&amp;Resume automatic uploads</source>
        <translation>Automatische Uploads &amp;fortsetzen</translation>
    </message>
    <message>
        <source>Watching the game</source>
        <translation>Beobachtet das Spiel</translation>
    </message>
    <message>
        <source>The game is running</source>
        <translation>Das Spiel läuft</translation>
    </message>
    <message>
        <source>Uploading…</source>
        <translation>Wird hochgeladen…</translation>
    </message>
    <message>
        <source>Last upload %1 failed</source>
        <translation>Letzter Upload %1: fehlgeschlagen</translation>
    </message>
    <message>
        <source>Last upload %1, 1 account</source>
        <translation>Letzter Upload %1, 1 Account</translation>
    </message>
    <message numerus="yes">
        <source>Last upload %1, %n accounts</source>
        <translation>
            <numerusform>Letzter Upload %1, %n Account</numerusform>
            <numerusform>Letzter Upload %1, %n Accounts</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>LVUploadHistory</name>
    <message>
        <source>it is not an upload history of version %1</source>
        <translation>es ist kein Upload-Verlauf der Version %1</translation>
    </message>
    <message>
        <source>damaged: %1</source>
        <translation>beschädigt: %1</translation>
    </message>
    <message>
        <source>The upload history cannot be kept: the SQLite driver of Qt is missing.</source>
        <translation>Der Upload-Verlauf kann nicht geführt werden: Der SQLite-Treiber von Qt fehlt.</translation>
    </message>
    <message>
        <source>%1 cannot be written</source>
        <translation>%1 ist nicht beschreibbar</translation>
    </message>
    <message>
        <source>%1 is in use by another program (%2)</source>
        <translation>%1 wird von einem anderen Programm verwendet (%2)</translation>
    </message>
    <message>
        <source>%1 is unreadable (%2) and could not be set aside (%3)</source>
        <translation>%1 ist unlesbar (%2) und konnte nicht beiseitegelegt werden (%3)</translation>
    </message>
    <message>
        <source>no new history could be started at %1 (%2)</source>
        <translation>unter %1 konnte kein neuer Verlauf angelegt werden (%2)</translation>
    </message>
    <message>
        <source>The upload history %1 could not be read (%2). It was kept as %3 and a new one started.</source>
        <translation>Der Upload-Verlauf %1 konnte nicht gelesen werden (%2). Er wurde als %3 aufbewahrt und ein neuer angelegt.</translation>
    </message>
    <message>
        <source>The upload history cannot be kept: %1; %2.</source>
        <translation>Der Upload-Verlauf kann nicht geführt werden: %1; %2.</translation>
    </message>
    <message>
        <source>The upload history is kept in memory for this run only: %1.</source>
        <translation>Der Upload-Verlauf wird nur für diese Sitzung im Arbeitsspeicher geführt: %1.</translation>
    </message>
    <message>
        <source>renaming it to %1 failed</source>
        <translation>das Umbenennen in %1 ist fehlgeschlagen</translation>
    </message>
    <message>
        <source>the upload history is not open</source>
        <translation>der Upload-Verlauf ist nicht geöffnet</translation>
    </message>
</context>
<context>
    <name>LVUploadRun</name>
    <message>
        <source>Install: %1 (%2) in %3</source>
        <translation>Installation: %1 (%2) in %3</translation>
    </message>
    <message>
        <source>Using account %1</source>
        <translation>Account: %1</translation>
    </message>
    <message>
        <source>Sending %1…</source>
        <translation>%1 wird gesendet…</translation>
    </message>
    <message>
        <source>No copy of the game is checked: check one in Options to upload its data.</source>
        <translation>Keine Kopie des Spiels ist angehakt: Haken Sie in den Optionen eine an, um ihre Daten hochzuladen.</translation>
    </message>
    <message>
        <source>Invalid Lorvane credentials</source>
        <translation>Ungültige Lorvane-Zugangsdaten</translation>
    </message>
    <message>
        <source>The site takes no new upload for about a minute.</source>
        <translation>Die Website nimmt etwa eine Minute lang keinen neuen Upload an.</translation>
    </message>
    <message>
        <source>The site refused your password: sign in again, then press Upload.</source>
        <translation>Die Website hat Ihr Passwort abgelehnt: Melden Sie sich erneut an und klicken Sie dann auf „Hochladen“.</translation>
    </message>
    <message>
        <source>Nothing was uploaded: the site cannot be reached</source>
        <translation>Nichts wurde hochgeladen: Die Website ist nicht erreichbar</translation>
    </message>
    <message>
        <source>Another upload is running</source>
        <translation>Ein anderer Upload läuft bereits</translation>
    </message>
    <message>
        <source>This version of WoW uses an unsupported realm</source>
        <translation>Diese WoW-Version verwendet einen nicht unterstützten Realm</translation>
    </message>
    <message>
        <source>Checking for uploaded flag…</source>
        <translation>Upload-Markierung wird geprüft…</translation>
    </message>
    <message>
        <source>Nothing to upload to the server</source>
        <translation>Nichts an den Server hochzuladen</translation>
    </message>
    <message>
        <source>Validating cache files…</source>
        <translation>Cache-Dateien werden geprüft…</translation>
    </message>
    <message>
        <source>Validating data…</source>
        <translation>Daten werden geprüft…</translation>
    </message>
    <message>
        <source>One or more .wdb cache files are corrupt</source>
        <translation>Eine oder mehrere .wdb-Cache-Dateien sind beschädigt</translation>
    </message>
    <message>
        <source>one or more .wdb cache files are corrupt</source>
        <translation>eine oder mehrere .wdb-Cache-Dateien sind beschädigt</translation>
    </message>
    <message>
        <source>Initiating upload…</source>
        <translation>Upload wird gestartet…</translation>
    </message>
    <message>
        <source>Unable to put back %1: %2</source>
        <translation>%1 kann nicht zurückgesetzt werden: %2</translation>
    </message>
    <message>
        <source>Removed %1.gz, left by an upload that did not finish</source>
        <translation>%1.gz entfernt, übrig von einem nicht abgeschlossenen Upload</translation>
    </message>
    <message>
        <source>rvUploaded variable seems to be malformed.</source>
        <translation>Die Variable rvUploaded scheint fehlerhaft zu sein.</translation>
    </message>
    <message>
        <source>Invalid cache file: %1</source>
        <translation>Ungültige Cache-Datei: %1</translation>
    </message>
    <message>
        <source>Validating cache file: %1</source>
        <translation>Cache-Datei wird geprüft: %1</translation>
    </message>
    <message>
        <source>Compressing %1…</source>
        <translation>%1 wird komprimiert…</translation>
    </message>
    <message>
        <source>Url is…</source>
        <translation>URL lautet…</translation>
    </message>
    <message>
        <source>Cleaning up…</source>
        <translation>Aufräumen…</translation>
    </message>
    <message>
        <source>%1: the game saved new data during the upload; it goes with the next upload</source>
        <translation>%1: Das Spiel hat während des Uploads neue Daten gespeichert; sie gehen mit dem nächsten Upload mit</translation>
    </message>
    <message>
        <source>its name is not valid in the encoding of this system&apos;s file names</source>
        <translation>sein Name ist in der Zeichenkodierung der Dateinamen dieses Systems ungültig</translation>
    </message>
    <message>
        <source>Unable to read the account folder %1: %2</source>
        <translation>Der Account-Ordner %1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>Upload successful. You can upload again after 1 minute.</source>
        <translation>Upload erfolgreich. Sie können nach 1 Minute erneut hochladen.</translation>
    </message>
    <message numerus="yes">
        <source>Upload failed for %1 of %n accounts: %2</source>
        <translation>
            <numerusform>Upload für %1 von %n Account fehlgeschlagen: %2</numerusform>
            <numerusform>Upload für %1 von %n Accounts fehlgeschlagen: %2</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 waits for you (the site refused its data): update the client and the addon, then press Upload.</source>
        <translation>%1 wartet auf Sie (die Website hat seine Daten abgelehnt): Aktualisieren Sie den Client und das AddOn und klicken Sie dann auf „Hochladen“.</translation>
    </message>
    <message>
        <source>%1 waits for you (the site refused your sign-in): sign in again, then press Upload.</source>
        <translation>%1 wartet auf Sie (die Website hat Ihre Anmeldung abgelehnt): Melden Sie sich erneut an und klicken Sie dann auf „Hochladen“.</translation>
    </message>
    <message>
        <source>%1 waits for you (the upload address does not lead to the site): check lvclient_postURL in the settings, then press Upload.</source>
        <translation>%1 wartet auf Sie (die Upload-Adresse führt nicht zur Website): Prüfen Sie lvclient_postURL in den Einstellungen und klicken Sie dann auf „Hochladen“.</translation>
    </message>
    <message>
        <source>%1 waits for you (a cache file is corrupt): quit the game normally, so that it writes its cache anew, then press Upload.</source>
        <translation>%1 wartet auf Sie (eine Cache-Datei ist beschädigt): Beenden Sie das Spiel normal, damit es seinen Cache neu schreibt, und klicken Sie dann auf „Hochladen“.</translation>
    </message>
    <message>
        <source>%1 waits for you (its files could not be prepared): make room on the disk or free the file named above, then press Upload.</source>
        <translation>%1 wartet auf Sie (seine Dateien konnten nicht vorbereitet werden): Schaffen Sie Platz auf dem Datenträger oder geben Sie die oben genannte Datei frei und klicken Sie dann auf „Hochladen“.</translation>
    </message>
</context>
<context>
    <name>LVUploadTransport</name>
    <message>
        <source>Upload failed for account %1: %2</source>
        <translation>Upload für Account %1 fehlgeschlagen: %2</translation>
    </message>
    <message>
        <source>the site answered %1 %2 and moved to %3; the upload was not sent there</source>
        <translation>die Website antwortete %1 %2 und ist nach %3 umgezogen; der Upload wurde nicht dorthin gesendet</translation>
    </message>
    <message>
        <source>an unknown address</source>
        <translation>eine unbekannte Adresse</translation>
    </message>
    <message>
        <source>the site answered %1 %2</source>
        <translation>die Website antwortete %1 %2</translation>
    </message>
    <message>
        <source>the site answered %1 %2: %3</source>
        <translation>die Website antwortete %1 %2: %3</translation>
    </message>
    <message>
        <source>the upload address is not a valid URL</source>
        <translation>die Upload-Adresse ist keine gültige URL</translation>
    </message>
    <message>
        <source>Initiating POST request to: %1</source>
        <translation>POST-Anfrage wird gesendet an: %1</translation>
    </message>
    <message>
        <source>Upload complete. Result =  %1</source>
        <translation>Upload abgeschlossen. Ergebnis =  %1</translation>
    </message>
    <message>
        <source>the site stopped answering for %1 seconds</source>
        <translation>die Website hat %1 Sekunden lang nicht geantwortet</translation>
    </message>
    <message>
        <source>the site did not finish its answer within %1 seconds</source>
        <translation>die Website hat ihre Antwort nicht innerhalb von %1 Sekunden beendet</translation>
    </message>
</context>
<context>
    <name>LVWelcome</name>
    <message>
        <source>&amp;Choose the game…</source>
        <translation>Spiel &amp;wählen…</translation>
    </message>
    <message>
        <source>Sign &amp;in…</source>
        <translation>A&amp;nmelden…</translation>
    </message>
    <message>
        <source>The game: not found yet. Choose its program in Options.</source>
        <translation>Das Spiel: noch nicht gefunden. Wählen Sie sein Programm in den Optionen.</translation>
    </message>
    <message>
        <source>The game: %1.</source>
        <translation>Das Spiel: %1.</translation>
    </message>
    <message>
        <source>Your Lorvane account: sign in with your site user name and password.</source>
        <translation>Ihr Lorvane-Account: Melden Sie sich mit Benutzername und Passwort der Website an.</translation>
    </message>
    <message>
        <source>Your Lorvane account: signed in as %1.</source>
        <translation>Ihr Lorvane-Account: angemeldet als %1.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Welcome!&lt;/b&gt; Lorvane Client sends what the +Lorvane_Harvex addon records in the game to the Lorvane site, keeps the addon up to date, and can upload by itself whenever the game quits. It needs:</source>
        <translation>&lt;b&gt;Willkommen!&lt;/b&gt; Lorvane Client sendet, was das AddOn +Lorvane_Harvex im Spiel aufzeichnet, an die Lorvane-Website, hält das AddOn aktuell und kann nach jedem Beenden des Spiels von selbst hochladen. Dafür braucht es:</translation>
    </message>
</context>
<context>
    <name>LVWorkspace</name>
    <message>
        <source>The game was not found at %1</source>
        <translation>Das Spiel wurde unter %1 nicht gefunden</translation>
    </message>
    <message>
        <source>Nothing could open %1</source>
        <translation>Kein Programm konnte %1 öffnen</translation>
    </message>
</context>
<context>
    <name>Launchers</name>
    <message>
        <source>No Wine found to start the game: start it from your launcher</source>
        <translation>Kein Wine gefunden, um das Spiel zu starten: Starten Sie es aus Ihrem Launcher</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Lorvane Client</source>
        <translation>Lorvane Client</translation>
    </message>
    <message>
        <source>Lorvane, Harvex data companion</source>
        <translation>Lorvane, Begleiter für Harvex-Daten</translation>
    </message>
    <message>
        <source>&amp;Launch</source>
        <translation>&amp;Starten</translation>
    </message>
    <message>
        <source>Start the game, or its launcher when the options say so</source>
        <translation>Startet das Spiel oder, wenn in den Optionen so eingestellt, seinen Launcher</translation>
    </message>
    <message>
        <source>&amp;Upload</source>
        <translation>&amp;Hochladen</translation>
    </message>
    <message>
        <source>Upload what the addon recorded for every account</source>
        <translation>Lädt hoch, was das AddOn für jeden Account aufgezeichnet hat</translation>
    </message>
    <message>
        <source>&amp;History…</source>
        <translation>&amp;Verlauf…</translation>
    </message>
    <message>
        <source>Every upload of every account: when, how much, and what the site answered</source>
        <translation>Jeder Upload jedes Accounts: wann, wie viel und was die Website geantwortet hat</translation>
    </message>
    <message>
        <source>&amp;Sign in…</source>
        <translation>&amp;Anmelden…</translation>
    </message>
    <message>
        <source>Sign in to the site again, with another password or another user name</source>
        <translation>Erneut bei der Website anmelden, mit einem anderen Passwort oder Benutzernamen</translation>
    </message>
    <message>
        <source>&amp;Options…</source>
        <translation>&amp;Optionen…</translation>
    </message>
    <message>
        <source>Show log</source>
        <translation>Protokoll anzeigen</translation>
    </message>
    <message>
        <source>Show or hide the log</source>
        <translation>Protokoll ein- oder ausblenden</translation>
    </message>
    <message>
        <source>%p%</source>
        <translation>%p&#xa0;%</translation>
    </message>
    <message>
        <source>Upload progress</source>
        <translation>Fortschritt des Uploads</translation>
    </message>
    <message>
        <source>Log</source>
        <translation>Protokoll</translation>
    </message>
    <message>
        <source>Sign &amp;in…</source>
        <translation>A&amp;nmelden…</translation>
    </message>
    <message>
        <source>Sa&amp;ve log…</source>
        <translation>Protokoll s&amp;peichern…</translation>
    </message>
    <message>
        <source>Save the log to a text file, for a bug report say</source>
        <translation>Speichert das Protokoll in einer Textdatei, etwa für einen Fehlerbericht</translation>
    </message>
    <message>
        <source>Hide log</source>
        <translation>Protokoll ausblenden</translation>
    </message>
</context>
<context>
    <name>Preferences</name>
    <message>
        <source>Options</source>
        <translation>Optionen</translation>
    </message>
    <message>
        <source>&amp;Games (each checked one is watched and uploaded)</source>
        <translation>&amp;Spiele (jedes angehakte wird überwacht und seine Daten hochgeladen)</translation>
    </message>
    <message>
        <source>Flavor</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>Prefix</source>
        <translation>Präfix</translation>
    </message>
    <message>
        <source>Path</source>
        <translation>Pfad</translation>
    </message>
    <message>
        <source>&amp;Browse…</source>
        <translation>&amp;Durchsuchen…</translation>
    </message>
    <message>
        <source>When the site could not be reached or was busy, the accounts that did not go up are sent again later, while the client runs.</source>
        <translation>War die Website nicht erreichbar oder ausgelastet, werden die Accounts, deren Daten nicht hochgeladen wurden, später erneut gesendet, solange der Client läuft.</translation>
    </message>
    <message>
        <source>&amp;Detailed log (from the next start)</source>
        <translation>Ausführliches &amp;Protokoll (ab dem nächsten Start)</translation>
    </message>
    <message>
        <source>Start &amp;minimised to the tray</source>
        <translation>&amp;Minimiert im Infobereich starten</translation>
    </message>
    <message>
        <source>Start when I log &amp;in</source>
        <translation>B&amp;eim Anmelden am Desktop starten</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>&amp;Apply</source>
        <translation>&amp;Übernehmen</translation>
    </message>
    <message>
        <source>Uploads</source>
        <translation>Uploads</translation>
    </message>
    <message>
        <source>&amp;Upload when the game quits</source>
        <translation>Nach Spielende &amp;hochladen</translation>
    </message>
    <message>
        <source>&amp;Try failed uploads again</source>
        <translation>Fehlgeschlagene Uploads &amp;wiederholen</translation>
    </message>
    <message>
        <source>Send my c&amp;haracters&apos; data</source>
        <translation>Daten meiner &amp;Charaktere senden</translation>
    </message>
    <message>
        <source>Desktop &amp;notifications</source>
        <translation>Desktop-&amp;Benachrichtigungen</translation>
    </message>
    <message>
        <source>The client</source>
        <translation>Der Client</translation>
    </message>
    <message>
        <source>&amp;Launch starts the game&apos;s launcher</source>
        <translation>„Starten“ öffnet den &amp;Launcher des Spiels</translation>
    </message>
</context>
<context>
    <name>QCommandLineParser</name>
    <message>
        <source>Displays help on commandline options.</source>
        <translation>Zeigt Hilfe zu den Kommandozeilenoptionen an.</translation>
    </message>
    <message>
        <source>Displays help including Qt specific options.</source>
        <translation>Zeigt Hilfe einschließlich Qt-spezifischer Optionen an.</translation>
    </message>
</context>
<context>
    <name>SaveDialog</name>
    <message>
        <source>Not saved</source>
        <translation>Nicht gespeichert</translation>
    </message>
    <message>
        <source>%1 could not be written: %2</source>
        <translation>%1 konnte nicht geschrieben werden: %2</translation>
    </message>
</context>
<context>
    <name>UploadHistory</name>
    <message>
        <source>succeeded; newer data goes with the next upload</source>
        <translation>erfolgreich; neuere Daten gehen mit dem nächsten Upload mit</translation>
    </message>
    <message>
        <source>succeeded</source>
        <translation>erfolgreich</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>fehlgeschlagen</translation>
    </message>
    <message>
        <source>failed: %1</source>
        <translation>fehlgeschlagen: %1</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
    <message>
        <source>Install</source>
        <translation>Installation</translation>
    </message>
    <message>
        <source>Account</source>
        <translation>Account</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>Dateien</translation>
    </message>
    <message>
        <source>Before</source>
        <translation>Vorher</translation>
    </message>
    <message>
        <source>After</source>
        <translation>Nachher</translation>
    </message>
    <message>
        <source>Duration</source>
        <translation>Dauer</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Outcome</source>
        <translation>Ergebnis</translation>
    </message>
    <message>
        <source>%1 ms</source>
        <translation>%1 ms</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>%1 min %2 s</source>
        <translation>%1 min %2 s</translation>
    </message>
</context>
<context>
    <name>UploadReadiness</name>
    <message>
        <source>Choose the game in Options to upload</source>
        <translation>Wählen Sie das Spiel in den Optionen, um hochzuladen</translation>
    </message>
    <message>
        <source>An upload is running</source>
        <translation>Ein Upload läuft</translation>
    </message>
    <message>
        <source>The game is running: uploading waits until it quits</source>
        <translation>Das Spiel läuft: Der Upload wartet, bis es beendet wird</translation>
    </message>
    <message>
        <source>Waiting for you to sign in</source>
        <translation>Wartet auf Ihre Anmeldung</translation>
    </message>
    <message>
        <source>The site refused your password: sign in again</source>
        <translation>Die Website hat Ihr Passwort abgelehnt: Melden Sie sich erneut an</translation>
    </message>
    <message>
        <source>The site takes no new upload until %1</source>
        <translation>Die Website nimmt bis %1 keinen neuen Upload an</translation>
    </message>
    <message>
        <source>The site takes no new upload</source>
        <translation>Die Website nimmt derzeit keinen neuen Upload an</translation>
    </message>
    <message>
        <source>The upload tried again at %1</source>
        <translation>Der Upload: Neuer Versuch um %1</translation>
    </message>
    <message>
        <source>%1 tried again at %2</source>
        <translation>%1: Neuer Versuch um %2</translation>
    </message>
    <message>
        <source>The site does not answer: asked again at %1, or when you press Upload</source>
        <translation>Die Website antwortet nicht: Neue Anfrage um %1 oder wenn Sie auf „Hochladen“ klicken</translation>
    </message>
    <message>
        <source>The site does not answer: asked again, or when you press Upload</source>
        <translation>Die Website antwortet nicht: Neue Anfrage später oder wenn Sie auf „Hochladen“ klicken</translation>
    </message>
    <message>
        <source>The keychain is not available: Upload asks for your password for this session</source>
        <translation>Der Schlüsselbund ist nicht verfügbar: „Hochladen“ fragt nach Ihrem Passwort für diese Sitzung</translation>
    </message>
    <message>
        <source>Not signed in: Upload asks for your password</source>
        <translation>Nicht angemeldet: „Hochladen“ fragt nach Ihrem Passwort</translation>
    </message>
    <message>
        <source>Automatic uploads paused until %1</source>
        <translation>Automatische Uploads bis %1 pausiert</translation>
    </message>
    <message>
        <source>Automatic uploads paused until you resume them</source>
        <translation>Automatische Uploads pausiert, bis Sie sie fortsetzen</translation>
    </message>
    <message numerus="yes">
        <source>%1 of %n accounts: %2</source>
        <translation>
            <numerusform>%1 von %n Account: %2</numerusform>
            <numerusform>%1 von %n Accounts: %2</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>UploadedFlag</name>
    <message>
        <source>%1.rename holds no flag to set back</source>
        <translation>%1.rename enthält keine Markierung zum Zurücksetzen</translation>
    </message>
    <message>
        <source>Removed a link standing where the restore copy of %1 goes</source>
        <translation>Eine Verknüpfung an der Stelle der Wiederherstellungskopie von %1 wurde entfernt</translation>
    </message>
    <message>
        <source>Kept %1: the game saved newer data after an upload that did not finish; its old restore copy was removed</source>
        <translation>%1 beibehalten: Das Spiel hat nach einem nicht abgeschlossenen Upload neuere Daten gespeichert; die alte Wiederherstellungskopie wurde entfernt</translation>
    </message>
    <message>
        <source>Put %1 back as it was before an upload that did not finish</source>
        <translation>%1 wurde auf den Stand vor einem nicht abgeschlossenen Upload zurückgesetzt</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Try &apos;%1 --help&apos;.</source>
        <translation>Siehe „%1 --help“.</translation>
    </message>
    <message>
        <source>Uploads what the +Lorvane_Harvex addon recorded and keeps the addon up to date.</source>
        <translation>Lädt hoch, was das AddOn +Lorvane_Harvex aufgezeichnet hat, und hält das AddOn aktuell.</translation>
    </message>
    <message>
        <source>With --launch: the game to start.</source>
        <translation>Mit --launch: das zu startende Spiel.</translation>
    </message>
    <message>
        <source>Upload every account without a window, printing the log, and exit: 0 when all went up, 1 when an upload failed, 2 when it could not start.</source>
        <translation>Lädt alle Accounts ohne Fenster hoch, gibt dabei das Protokoll aus und endet: 0, wenn alles hochgeladen wurde, 1, wenn ein Upload fehlgeschlagen ist, 2, wenn er nicht starten konnte.</translation>
    </message>
    <message>
        <source>Store the site password read from standard input for the user NAME, test it and exit (0 when the site accepts it).</source>
        <translation>Speichert das von der Standardeingabe gelesene Website-Passwort für den Benutzer NAME, prüft es und endet (0, wenn die Website es akzeptiert).</translation>
    </message>
    <message>
        <source>With --upload: wait for an upload of another lorvane-client to end instead of giving up.</source>
        <translation>Mit --upload: Wartet auf das Ende des Uploads eines anderen lorvane-client, statt aufzugeben.</translation>
    </message>
    <message>
        <source>Print the upload history, newest first, and exit.</source>
        <translation>Gibt den Upload-Verlauf aus, neueste zuerst, und endet.</translation>
    </message>
    <message>
        <source>Print every install of the game found: flavor, where it came from, prefix, program, checked or not, and the command Launch would run.</source>
        <translation>Gibt jede gefundene Installation des Spiels aus: Version, Herkunft, Präfix, Programm, angehakt oder nicht, und den Befehl, den „Starten“ ausführen würde.</translation>
    </message>
    <message>
        <source>Start the first checked install, or the one of PROGRAM_PATH, as Launch does, and wait for the game: exit 0 when it runs, 1 when it did not start.</source>
        <translation>Startet die erste angehakte Installation oder die von PROGRAM_PATH, wie „Starten“ es tut, und wartet auf das Spiel: endet mit 0, wenn es läuft, mit 1, wenn es nicht gestartet ist.</translation>
    </message>
    <message>
        <source>With --history or --installs: print it as JSON, for scripts.</source>
        <translation>Mit --history oder --installs: Gibt es als JSON aus, für Skripte.</translation>
    </message>
    <message>
        <source>Start in the tray, without opening the window, where the desktop has a tray.</source>
        <translation>Startet im Infobereich, ohne das Fenster zu öffnen, wo der Desktop einen Infobereich hat.</translation>
    </message>
    <message>
        <source>Lorvane password for %1: </source>
        <translation>Lorvane-Passwort für %1: </translation>
    </message>
    <message>
        <source>Later starts cannot reach this one: %1</source>
        <translation>Spätere Starts können diesen nicht erreichen: %1</translation>
    </message>
</context>
</TS>
