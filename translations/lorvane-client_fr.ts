<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>Authentication</name>
    <message>
        <source>Sign in to Lorvane</source>
        <translation>Connexion à Lorvane</translation>
    </message>
    <message>
        <source>Your Lorvane site account. The password stays in your system keychain, or in memory for this session only; the site only ever receives its hash.</source>
        <translation>Votre compte sur le site Lorvane. Le mot de passe reste dans le trousseau de votre système, ou en mémoire pour cette session seulement&#xa0;; le site n’en reçoit jamais que l’empreinte.</translation>
    </message>
    <message>
        <source>&amp;User name:</source>
        <translation>Nom d’&amp;utilisateur&#xa0;:</translation>
    </message>
    <message>
        <source>&amp;Password:</source>
        <translation>&amp;Mot de passe&#xa0;:</translation>
    </message>
    <message>
        <source>&amp;Keep the password for this session only</source>
        <translation>&amp;Garder le mot de passe pour cette session seulement</translation>
    </message>
    <message>
        <source>Held in memory until the client quits, never written anywhere; uploads from a launcher&apos;s script cannot use it.</source>
        <translation>Gardé en mémoire jusqu’à la fermeture du client, jamais écrit nulle part&#xa0;; les envois lancés par le script d’un lanceur ne peuvent pas s’en servir.</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Annuler</translation>
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
        <translation>%1 n’a pas pu être supprimé</translation>
    </message>
    <message>
        <source>the folder %1 could not be made</source>
        <translation>le dossier %1 n’a pas pu être créé</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>%1 and %2 cannot be used together.</source>
        <translation>%1 et %2 ne peuvent pas être utilisés ensemble.</translation>
    </message>
    <message>
        <source>--json needs --history or --installs.</source>
        <translation>--json s’utilise avec --history ou --installs.</translation>
    </message>
    <message>
        <source>--wait needs --upload.</source>
        <translation>--wait s’utilise avec --upload.</translation>
    </message>
    <message>
        <source>--minimized starts the window in the tray: it cannot be used with %1.</source>
        <translation>--minimized démarre la fenêtre dans la zone de notification&#xa0;: il ne peut pas être utilisé avec %1.</translation>
    </message>
    <message>
        <source>Unexpected argument &apos;%1&apos;.</source>
        <translation>Argument inattendu «&#xa0;%1&#xa0;».</translation>
    </message>
</context>
<context>
    <name>Compression</name>
    <message>
        <source>the compressed copy could not be saved: %1</source>
        <translation>la copie compressée n’a pas pu être enregistrée&#xa0;: %1</translation>
    </message>
    <message>
        <source>only %1 of %2 bytes could be written</source>
        <translation>seuls %1 octets sur %2 ont pu être écrits</translation>
    </message>
    <message>
        <source>only %1 of %2 bytes could be written (%3)</source>
        <translation>seuls %1 octets sur %2 ont pu être écrits (%3)</translation>
    </message>
    <message>
        <source>deflate could not start</source>
        <translation>deflate n’a pas pu démarrer</translation>
    </message>
    <message>
        <source>deflate failed</source>
        <translation>deflate a échoué</translation>
    </message>
    <message>
        <source>Unable to compress %1: %2</source>
        <translation>Impossible de compresser %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>the compressed copy could not be created: %1</source>
        <translation>la copie compressée n’a pas pu être créée&#xa0;: %1</translation>
    </message>
</context>
<context>
    <name>FileReading</name>
    <message>
        <source>Not reading %1: it is a named pipe, not a regular file</source>
        <translation>%1 n’est pas lu&#xa0;: c’est un tube nommé, pas un fichier ordinaire</translation>
    </message>
    <message>
        <source>Not reading %1: it is a socket, not a regular file</source>
        <translation>%1 n’est pas lu&#xa0;: c’est un socket, pas un fichier ordinaire</translation>
    </message>
    <message>
        <source>Not reading %1: it is a folder, not a regular file</source>
        <translation>%1 n’est pas lu&#xa0;: c’est un dossier, pas un fichier ordinaire</translation>
    </message>
    <message>
        <source>Not reading %1: it is a symbolic link, not a regular file</source>
        <translation>%1 n’est pas lu&#xa0;: c’est un lien symbolique, pas un fichier ordinaire</translation>
    </message>
    <message>
        <source>Not reading %1: it is a device, not a regular file</source>
        <translation>%1 n’est pas lu&#xa0;: c’est un périphérique, pas un fichier ordinaire</translation>
    </message>
</context>
<context>
    <name>FileWriting</name>
    <message>
        <source>the data was cut short</source>
        <translation>les données ont été tronquées</translation>
    </message>
    <message>
        <source>a folder stands in its place</source>
        <translation>un dossier occupe sa place</translation>
    </message>
    <message>
        <source>what stands in its place cannot be removed</source>
        <translation>ce qui occupe sa place ne peut pas être supprimé</translation>
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
        <translation>Royaume de test</translation>
    </message>
    <message>
        <source>Experimental test realm</source>
        <translation>Royaume de test expérimental</translation>
    </message>
    <message>
        <source>Beta</source>
        <translation>Bêta</translation>
    </message>
    <message>
        <source>Classic test realm</source>
        <translation>Royaume de test Classic</translation>
    </message>
    <message>
        <source>Game folder</source>
        <translation>Dossier du jeu</translation>
    </message>
    <message>
        <source>Custom prefix</source>
        <translation>Préfixe personnalisé</translation>
    </message>
    <message>
        <source>Chosen by hand</source>
        <translation>Choisi à la main</translation>
    </message>
</context>
<context>
    <name>Headless</name>
    <message>
        <source>No game is set: open lorvane-client once and choose the game in Options.</source>
        <translation>Aucun jeu n’est choisi&#xa0;: ouvrez lorvane-client une fois et choisissez le jeu dans les options.</translation>
    </message>
    <message>
        <source>The game is running already.</source>
        <translation>Le jeu est déjà lancé.</translation>
    </message>
    <message>
        <source>%1: start one (install gnome-keyring, or use KDE&apos;s wallet) and sign in with lorvane-client --sign-in NAME, or upload from the window, which can keep the password for its session only.</source>
        <translation>%1&#xa0;: démarrez-en un (installez gnome-keyring, ou utilisez KWallet de KDE) et connectez-vous avec lorvane-client --sign-in NAME, ou envoyez depuis la fenêtre, qui peut garder le mot de passe pour sa session seulement.</translation>
    </message>
    <message>
        <source>The keychain is not available: %1</source>
        <translation>Le trousseau n’est pas disponible&#xa0;: %1</translation>
    </message>
    <message>
        <source>No password is stored: sign in first with lorvane-client --sign-in NAME.</source>
        <translation>Aucun mot de passe n’est enregistré&#xa0;: connectez-vous d’abord avec lorvane-client --sign-in NAME.</translation>
    </message>
    <message>
        <source>The game is running: upload once it has quit.</source>
        <translation>Le jeu est lancé&#xa0;: envoyez une fois qu’il sera fermé.</translation>
    </message>
    <message>
        <source>Another upload is running</source>
        <translation>Un autre envoi est en cours</translation>
    </message>
    <message>
        <source>No password given on standard input: nothing was changed.</source>
        <translation>Aucun mot de passe sur l’entrée standard&#xa0;: rien n’a été modifié.</translation>
    </message>
    <message>
        <source>The site does not accept this password for %1: the stored one is kept.</source>
        <translation>Le site refuse ce mot de passe pour %1&#xa0;: celui qui est enregistré est conservé.</translation>
    </message>
    <message>
        <source>The password is stored, but the site could not be reached to check it.</source>
        <translation>Le mot de passe est enregistré, mais le site était injoignable pour le vérifier.</translation>
    </message>
</context>
<context>
    <name>InstallChoices</name>
    <message>
        <source>Found another copy of the game: %1 (%2) in %3. Check it in Options to upload its data.</source>
        <translation>Autre copie du jeu trouvée&#xa0;: %1 (%2) dans %3. Cochez-la dans les options pour envoyer ses données.</translation>
    </message>
</context>
<context>
    <name>InstallsReport</name>
    <message>
        <source>%1, game %2</source>
        <translation>%1, jeu %2</translation>
    </message>
    <message>
        <source>[%1] %2, %3
    program  %4
    prefix   %5
    launch   %6
</source>
        <extracomment>One install in the list --installs prints; the values line up after the labels.</extracomment>
        <translation>[%1] %2, %3
    programme  %4
    préfixe    %5
    lancement  %6
</translation>
    </message>
    <message>
        <source>The game&apos;s launcher is not beside the game nor in the folder above it</source>
        <translation>Le lanceur du jeu n’est ni à côté du jeu ni dans le dossier au-dessus</translation>
    </message>
    <message>
        <source>No install of the game was found.</source>
        <translation>Aucune installation du jeu n’a été trouvée.</translation>
    </message>
</context>
<context>
    <name>LVAddonInstaller</name>
    <message>
        <source>Unable to install addon to WOW directory</source>
        <translation>Impossible d’installer l’AddOn dans le dossier de WoW</translation>
    </message>
    <message>
        <source>Checking for Lorvane Harvex addon updates…</source>
        <translation>Recherche de mises à jour de l’AddOn Lorvane Harvex…</translation>
    </message>
    <message>
        <source>The Lorvane Harvex update server is not responding at the moment.</source>
        <translation>Le serveur de mises à jour de Lorvane Harvex ne répond pas pour le moment.</translation>
    </message>
    <message>
        <source>The Lorvane Harvex update server is having some trouble at the moment.</source>
        <translation>Le serveur de mises à jour de Lorvane Harvex rencontre des difficultés pour le moment.</translation>
    </message>
    <message numerus="yes">
        <source>The update list names more than %n files: the addon update stopped after the first %n.</source>
        <translation>
            <numerusform>La liste des mises à jour nomme plus de %n fichier&#xa0;: la mise à jour de l’AddOn s’est arrêtée après le premier.</numerusform>
            <numerusform>La liste des mises à jour nomme plus de %n fichiers&#xa0;: la mise à jour de l’AddOn s’est arrêtée après les %n premiers.</numerusform>
        </translation>
    </message>
    <message>
        <source>Lorvane Harvex addon updated!</source>
        <translation>AddOn Lorvane Harvex mis à jour&#xa0;!</translation>
    </message>
    <message>
        <source>Looks like you&apos;re up-to-date!</source>
        <translation>Tout est à jour&#xa0;!</translation>
    </message>
    <message>
        <source>Refusing to write outside Interface/AddOns: %1</source>
        <translation>Écriture hors de Interface/AddOns refusée&#xa0;: %1</translation>
    </message>
    <message>
        <source>Refusing the download of %1: it is longer than the %2 bytes the update list gives.</source>
        <translation>Téléchargement de %1 refusé&#xa0;: il dépasse les %2 octets qu’indique la liste des mises à jour.</translation>
    </message>
    <message>
        <source>The addon update stopped: its downloads would come to more than %1.</source>
        <translation>La mise à jour de l’AddOn s’est arrêtée&#xa0;: ses téléchargements dépasseraient %1.</translation>
    </message>
    <message>
        <source>Updating Lorvane Harvex file: %1</source>
        <translation>Mise à jour du fichier de Lorvane Harvex&#xa0;: %1</translation>
    </message>
</context>
<context>
    <name>LVApplicationDelegate</name>
    <message>
        <source>No password is stored: sign in with lorvane-client --sign-in NAME.</source>
        <translation>Aucun mot de passe n’est enregistré&#xa0;: connectez-vous avec lorvane-client --sign-in NAME.</translation>
    </message>
</context>
<context>
    <name>LVAuthentication</name>
    <message>
        <source>%1: sign in and keep the password for this session only, or start one and sign in again.</source>
        <translation>%1&#xa0;: connectez-vous en gardant le mot de passe pour cette session seulement, ou démarrez un service de trousseau et reconnectez-vous.</translation>
    </message>
    <message>
        <source>The keychain is not available: %1</source>
        <translation>Le trousseau n’est pas disponible&#xa0;: %1</translation>
    </message>
    <message>
        <source>Authentication failed.</source>
        <translation>Échec de l’authentification.</translation>
    </message>
    <message>
        <source>no answer came</source>
        <translation>aucune réponse n’est arrivée</translation>
    </message>
    <message>
        <source>The site cannot be reached: %1</source>
        <translation>Le site est injoignable&#xa0;: %1</translation>
    </message>
    <message>
        <source>Buffer length should be 1, instead it is %1</source>
        <translation>La longueur du tampon devrait être 1, elle est de %1</translation>
    </message>
    <message>
        <source>Authentication succeeded.</source>
        <translation>Authentification réussie.</translation>
    </message>
    <message>
        <source>The site does not accept your user name and password.</source>
        <translation>Le site refuse votre nom d’utilisateur et votre mot de passe.</translation>
    </message>
    <message>
        <source>Authentication succeeded but cannot upload for about another minute. Will retry in 30 seconds.</source>
        <translation>Authentification réussie, mais l’envoi ne sera possible que dans une minute environ. Nouvel essai dans 30 secondes.</translation>
    </message>
    <message>
        <source>Buffer data should be 0, 1, or 2, instead it is %1</source>
        <translation>Les données du tampon devraient valoir 0, 1 ou 2, elles valent %1</translation>
    </message>
    <message>
        <source>The site gave no answer: it is asked again at %1.</source>
        <translation>Le site n’a pas répondu&#xa0;: nouvelle demande à %1.</translation>
    </message>
</context>
<context>
    <name>LVAutomaticUploads</name>
    <message>
        <source>The upload: press Upload to try again (trying again by itself is off in the options).</source>
        <translation>L’envoi&#xa0;: cliquez sur «&#xa0;Envoyer&#xa0;» pour réessayer (les nouvelles tentatives automatiques sont désactivées dans les options).</translation>
    </message>
    <message>
        <source>%1: press Upload to try again (trying again by itself is off in the options).</source>
        <translation>%1&#xa0;: cliquez sur «&#xa0;Envoyer&#xa0;» pour réessayer (les nouvelles tentatives automatiques sont désactivées dans les options).</translation>
    </message>
    <message>
        <source>The upload: tried again at %1.</source>
        <translation>L’envoi&#xa0;: nouvelle tentative à %1.</translation>
    </message>
    <message>
        <source>%1: tried again at %2.</source>
        <translation>%1&#xa0;: nouvelle tentative à %2.</translation>
    </message>
</context>
<context>
    <name>LVDesktopNotifier</name>
    <message>
        <source>No account had anything new.</source>
        <translation>Aucun compte n’avait de nouvelles données.</translation>
    </message>
    <message>
        <source>1 account went up: %1</source>
        <translation>1 compte envoyé&#xa0;: %1</translation>
    </message>
    <message numerus="yes">
        <source>%n accounts went up: %1</source>
        <translation>
            <numerusform>%n compte envoyé&#xa0;: %1</numerusform>
            <numerusform>%n comptes envoyés&#xa0;: %1</numerusform>
        </translation>
    </message>
    <message>
        <source>Upload complete</source>
        <translation>Envoi terminé</translation>
    </message>
    <message>
        <source>the upload did not get through</source>
        <translation>l’envoi n’est pas parvenu au site</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <comment>who failed: why</comment>
        <translation>%1&#xa0;: %2</translation>
    </message>
    <message>
        <source>Upload failed</source>
        <translation>Échec de l’envoi</translation>
    </message>
    <message>
        <source>Try again now</source>
        <translation>Réessayer maintenant</translation>
    </message>
    <message>
        <source>History</source>
        <translation>Historique</translation>
    </message>
    <message>
        <source>Sign-in problem</source>
        <translation>Problème de connexion</translation>
    </message>
    <message>
        <source>Sign in</source>
        <translation>Se connecter</translation>
    </message>
</context>
<context>
    <name>LVGameInstall</name>
    <message>
        <source>Checking for supported realms…</source>
        <translation>Recherche des royaumes pris en charge…</translation>
    </message>
    <message>
        <source>Found valid realm: %1</source>
        <translation>Royaume valide trouvé&#xa0;: %1</translation>
    </message>
    <message>
        <source>No valid realm found.</source>
        <translation>Aucun royaume valide trouvé.</translation>
    </message>
</context>
<context>
    <name>LVGameWatch</name>
    <message>
        <source>The game&apos;s launcher is not in %1 nor in the folder above it</source>
        <translation>Le lanceur du jeu n’est ni dans %1 ni dans le dossier au-dessus</translation>
    </message>
    <message>
        <source>Starting the game: %1</source>
        <translation>Lancement du jeu&#xa0;: %1</translation>
    </message>
</context>
<context>
    <name>LVHistoryWindow</name>
    <message>
        <source>Upload History</source>
        <translation>Historique des envois</translation>
    </message>
    <message>
        <source>Choose an upload to see all the history keeps of it.</source>
        <translation>Choisissez un envoi pour voir tout ce que l’historique en garde.</translation>
    </message>
    <message>
        <source>&amp;Export…</source>
        <translation>E&amp;xporter…</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Copier</translation>
    </message>
    <message>
        <source>Export the upload history</source>
        <translation>Exporter l’historique des envois</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>Fichiers CSV (*.csv)</translation>
    </message>
    <message>
        <source>(nothing)</source>
        <translation>(rien)</translation>
    </message>
    <message>
        <source>No answer came from the site.</source>
        <translation>Le site n’a pas répondu.</translation>
    </message>
    <message>
        <source>The site answered %1: %2</source>
        <translation>Le site a répondu %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>%1 · %2 · %3
%4%5
Files: %6 (%7, %8 compressed) in %9
%10</source>
        <translation>%1 · %2 · %3
%4%5
Fichiers&#xa0;: %6 (%7, %8 compressés) en %9
%10</translation>
    </message>
</context>
<context>
    <name>LVKeychainCredentialStore</name>
    <message>
        <source>No keychain service is running (GNOME Keyring or KWallet)</source>
        <translation>Aucun service de trousseau n’est lancé (GNOME Keyring ou KWallet)</translation>
    </message>
</context>
<context>
    <name>LVLaunchOutcome</name>
    <message>
        <source>The launcher did not start the game: %1</source>
        <translation>Le lanceur n’a pas lancé le jeu&#xa0;: %1</translation>
    </message>
    <message>
        <source>The launcher did not start the game: %1 ended with status %2</source>
        <translation>Le lanceur n’a pas lancé le jeu&#xa0;: %1 s’est terminé avec le code %2</translation>
    </message>
    <message>
        <source>The launcher did not start the game: %1 ended with status %2: %3</source>
        <translation>Le lanceur n’a pas lancé le jeu&#xa0;: %1 s’est terminé avec le code %2&#xa0;: %3</translation>
    </message>
</context>
<context>
    <name>LVLauncherProcess</name>
    <message>
        <source>Could not start %1: %2</source>
        <translation>Impossible de lancer %1&#xa0;: %2</translation>
    </message>
</context>
<context>
    <name>LVMainWindow</name>
    <message>
        <source>Save the log</source>
        <translation>Enregistrer le journal</translation>
    </message>
    <message>
        <source>Text files (*.txt)</source>
        <translation>Fichiers texte (*.txt)</translation>
    </message>
</context>
<context>
    <name>LVPreferencesController</name>
    <message>
        <source>Choose the game</source>
        <translation>Choisir le jeu</translation>
    </message>
    <message>
        <source>No copy of the game was found. Pick its Wow.exe inside your Wine, Lutris, Steam or Bottles prefix:</source>
        <translation>Aucune copie du jeu n’a été trouvée. Choisissez son Wow.exe dans votre préfixe Wine, Lutris, Steam ou Bottles&#xa0;:</translation>
    </message>
    <message>
        <source>Not listed? Pick its Wow.exe inside your Wine, Lutris, Steam or Bottles prefix:</source>
        <translation>Absent de la liste&#xa0;? Choisissez son Wow.exe dans votre préfixe Wine, Lutris, Steam ou Bottles&#xa0;:</translation>
    </message>
    <message>
        <source>Applications (*.app)</source>
        <translation>Applications (*.app)</translation>
    </message>
    <message>
        <source>Windows programs (*.exe)</source>
        <translation>Programmes Windows (*.exe)</translation>
    </message>
    <message>
        <source>Your desktop shows no tray icons.</source>
        <translation>Votre bureau n’affiche pas d’icônes dans la zone de notification.</translation>
    </message>
    <message>
        <source>Unable to save the settings: %1</source>
        <translation>Impossible d’enregistrer les réglages&#xa0;: %1</translation>
    </message>
    <message>
        <source>Unable to start the client at log-in: %1</source>
        <translation>Impossible de lancer le client à l’ouverture de session&#xa0;: %1</translation>
    </message>
</context>
<context>
    <name>LVRunReports</name>
    <message>
        <source>Tried again at %1.</source>
        <translation>Nouvelle tentative à %1.</translation>
    </message>
    <message>
        <source>The upload</source>
        <translation>L’envoi</translation>
    </message>
</context>
<context>
    <name>LVSettings</name>
    <message>
        <source>%1: this is a folder</source>
        <translation>%1&#xa0;: c’est un dossier</translation>
    </message>
    <message>
        <source>%1: the file could not be written</source>
        <translation>%1&#xa0;: le fichier n’a pas pu être écrit</translation>
    </message>
</context>
<context>
    <name>LVSingleInstance</name>
    <message>
        <source>Another Lorvane Client is running (process %1) but does not answer</source>
        <translation>Un autre Lorvane Client est lancé (processus %1) mais ne répond pas</translation>
    </message>
</context>
<context>
    <name>LVSyncGet</name>
    <message>
        <source>The server at %1 did not answer within %2 seconds.</source>
        <translation>Le serveur %1 n’a pas répondu dans les %2 secondes.</translation>
    </message>
    <message>
        <source>The server at %1 did not finish its answer within %2 seconds.</source>
        <translation>Le serveur %1 n’a pas terminé sa réponse dans les %2 secondes.</translation>
    </message>
    <message>
        <source>The download from %1 was stopped.</source>
        <translation>Le téléchargement depuis %1 a été interrompu.</translation>
    </message>
    <message>
        <source>The server answered %1 %2.</source>
        <translation>Le serveur a répondu %1 %2.</translation>
    </message>
    <message>
        <source>The server at %1 sent more than %2 bytes.</source>
        <translation>Le serveur %1 a envoyé plus de %2 octets.</translation>
    </message>
    <message>
        <source>The server at %1 stopped sending for %2 seconds.</source>
        <translation>Le serveur %1 n’a rien envoyé pendant %2 secondes.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a valid address.</source>
        <translation>«&#xa0;%1&#xa0;» n’est pas une adresse valide.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not an http or https address.</source>
        <translation>«&#xa0;%1&#xa0;» n’est pas une adresse http ou https.</translation>
    </message>
</context>
<context>
    <name>LVTrayIcon</name>
    <message>
        <source>&amp;History…</source>
        <translation>&amp;Historique…</translation>
    </message>
    <message>
        <source>&amp;Options…</source>
        <translation>&amp;Options…</translation>
    </message>
    <message>
        <source>&amp;Upload now</source>
        <translation>&amp;Envoyer maintenant</translation>
    </message>
    <message>
        <source>&amp;Launch</source>
        <translation>&amp;Lancer</translation>
    </message>
    <message>
        <source>Sign &amp;in…</source>
        <translation>Se co&amp;nnecter…</translation>
    </message>
    <message>
        <source>&amp;Show window</source>
        <translation>Afficher la &amp;fenêtre</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Quitter</translation>
    </message>
    <message>
        <source>&amp;Pause automatic uploads</source>
        <translation>&amp;Suspendre les envois automatiques</translation>
    </message>
    <message>
        <source>For an &amp;hour</source>
        <translation>Pendant une &amp;heure</translation>
    </message>
    <message>
        <source>&amp;Until I resume them</source>
        <translation>&amp;Jusqu’à ce que je les reprenne</translation>
    </message>
    <message>
        <source>&amp;Resume automatic uploads</source>
        <translation>&amp;Reprendre les envois automatiques</translation>
    </message>
    <message>
        <source>Watching the game</source>
        <translation>Surveille le jeu</translation>
    </message>
    <message>
        <source>The game is running</source>
        <translation>Le jeu est lancé</translation>
    </message>
    <message>
        <source>Uploading…</source>
        <translation>Envoi en cours…</translation>
    </message>
    <message>
        <source>Last upload %1 failed</source>
        <translation>Dernier envoi %1&#xa0;: échec</translation>
    </message>
    <message>
        <source>Last upload %1, 1 account</source>
        <translation>Dernier envoi %1, 1 compte</translation>
    </message>
    <message numerus="yes">
        <source>Last upload %1, %n accounts</source>
        <translation>
            <numerusform>Dernier envoi %1, %n compte</numerusform>
            <numerusform>Dernier envoi %1, %n comptes</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>LVUploadHistory</name>
    <message>
        <source>it is not an upload history of version %1</source>
        <translation>ce n’est pas un historique des envois de version %1</translation>
    </message>
    <message>
        <source>damaged: %1</source>
        <translation>endommagé&#xa0;: %1</translation>
    </message>
    <message>
        <source>The upload history cannot be kept: the SQLite driver of Qt is missing.</source>
        <translation>L’historique des envois ne peut pas être tenu&#xa0;: le pilote SQLite de Qt est absent.</translation>
    </message>
    <message>
        <source>%1 cannot be written</source>
        <translation>%1 ne peut pas être écrit</translation>
    </message>
    <message>
        <source>%1 is in use by another program (%2)</source>
        <translation>%1 est utilisé par un autre programme (%2)</translation>
    </message>
    <message>
        <source>%1 is unreadable (%2) and could not be set aside (%3)</source>
        <translation>%1 est illisible (%2) et n’a pas pu être mis de côté (%3)</translation>
    </message>
    <message>
        <source>no new history could be started at %1 (%2)</source>
        <translation>aucun nouvel historique n’a pu être commencé dans %1 (%2)</translation>
    </message>
    <message>
        <source>The upload history %1 could not be read (%2). It was kept as %3 and a new one started.</source>
        <translation>L’historique des envois %1 n’a pas pu être lu (%2). Il a été conservé sous %3 et un nouveau a été commencé.</translation>
    </message>
    <message>
        <source>The upload history cannot be kept: %1; %2.</source>
        <translation>L’historique des envois ne peut pas être tenu&#xa0;: %1&#xa0;; %2.</translation>
    </message>
    <message>
        <source>The upload history is kept in memory for this run only: %1.</source>
        <translation>L’historique des envois n’est tenu qu’en mémoire pour cette session&#xa0;: %1.</translation>
    </message>
    <message>
        <source>renaming it to %1 failed</source>
        <translation>le renommage en %1 a échoué</translation>
    </message>
    <message>
        <source>the upload history is not open</source>
        <translation>l’historique des envois n’est pas ouvert</translation>
    </message>
</context>
<context>
    <name>LVUploadRun</name>
    <message>
        <source>Install: %1 (%2) in %3</source>
        <translation>Installation&#xa0;: %1 (%2) dans %3</translation>
    </message>
    <message>
        <source>Using account %1</source>
        <translation>Compte&#xa0;: %1</translation>
    </message>
    <message>
        <source>Sending %1…</source>
        <translation>Envoi de %1…</translation>
    </message>
    <message>
        <source>No copy of the game is checked: check one in Options to upload its data.</source>
        <translation>Aucune copie du jeu n’est cochée&#xa0;: cochez-en une dans les options pour envoyer ses données.</translation>
    </message>
    <message>
        <source>Invalid Lorvane credentials</source>
        <translation>Identifiants Lorvane non valides</translation>
    </message>
    <message>
        <source>The site takes no new upload for about a minute.</source>
        <translation>Le site n’accepte pas de nouvel envoi pendant une minute environ.</translation>
    </message>
    <message>
        <source>The site refused your password: sign in again, then press Upload.</source>
        <translation>Le site a refusé votre mot de passe&#xa0;: reconnectez-vous, puis cliquez sur «&#xa0;Envoyer&#xa0;».</translation>
    </message>
    <message>
        <source>Nothing was uploaded: the site cannot be reached</source>
        <translation>Rien n’a été envoyé&#xa0;: le site est injoignable</translation>
    </message>
    <message>
        <source>Another upload is running</source>
        <translation>Un autre envoi est en cours</translation>
    </message>
    <message>
        <source>This version of WoW uses an unsupported realm</source>
        <translation>Cette version de WoW utilise un royaume non pris en charge</translation>
    </message>
    <message>
        <source>Checking for uploaded flag…</source>
        <translation>Vérification de l’indicateur d’envoi…</translation>
    </message>
    <message>
        <source>Nothing to upload to the server</source>
        <translation>Rien à envoyer au serveur</translation>
    </message>
    <message>
        <source>Validating cache files…</source>
        <translation>Validation des fichiers du cache…</translation>
    </message>
    <message>
        <source>Validating data…</source>
        <translation>Validation des données…</translation>
    </message>
    <message>
        <source>One or more .wdb cache files are corrupt</source>
        <translation>Un ou plusieurs fichiers de cache .wdb sont corrompus</translation>
    </message>
    <message>
        <source>one or more .wdb cache files are corrupt</source>
        <translation>un ou plusieurs fichiers de cache .wdb sont corrompus</translation>
    </message>
    <message>
        <source>Initiating upload…</source>
        <translation>Début de l’envoi…</translation>
    </message>
    <message>
        <source>Unable to put back %1: %2</source>
        <translation>Impossible de remettre %1 en place&#xa0;: %2</translation>
    </message>
    <message>
        <source>Removed %1.gz, left by an upload that did not finish</source>
        <translation>%1.gz supprimé, laissé par un envoi inachevé</translation>
    </message>
    <message>
        <source>rvUploaded variable seems to be malformed.</source>
        <translation>La variable rvUploaded semble mal formée.</translation>
    </message>
    <message>
        <source>Invalid cache file: %1</source>
        <translation>Fichier de cache non valide&#xa0;: %1</translation>
    </message>
    <message>
        <source>Validating cache file: %1</source>
        <translation>Validation du fichier de cache&#xa0;: %1</translation>
    </message>
    <message>
        <source>Compressing %1…</source>
        <translation>Compression de %1…</translation>
    </message>
    <message>
        <source>Url is…</source>
        <translation>L’URL est…</translation>
    </message>
    <message>
        <source>Cleaning up…</source>
        <translation>Nettoyage…</translation>
    </message>
    <message>
        <source>%1: the game saved new data during the upload; it goes with the next upload</source>
        <translation>%1&#xa0;: le jeu a sauvegardé de nouvelles données pendant l’envoi&#xa0;; elles partiront avec le prochain envoi</translation>
    </message>
    <message>
        <source>its name is not valid in the encoding of this system&apos;s file names</source>
        <translation>son nom n’est pas valide dans l’encodage des noms de fichiers de ce système</translation>
    </message>
    <message>
        <source>Unable to read the account folder %1: %2</source>
        <translation>Impossible de lire le dossier du compte %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>Upload successful. You can upload again after 1 minute.</source>
        <translation>Envoi réussi. Vous pourrez envoyer à nouveau dans 1 minute.</translation>
    </message>
    <message numerus="yes">
        <source>Upload failed for %1 of %n accounts: %2</source>
        <translation>
            <numerusform>Échec de l’envoi pour %1 compte sur %n&#xa0;: %2</numerusform>
            <numerusform>Échec de l’envoi pour %1 des %n comptes&#xa0;: %2</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 waits for you (the site refused its data): update the client and the addon, then press Upload.</source>
        <translation>%1 vous attend (le site a refusé ses données)&#xa0;: mettez à jour le client et l’AddOn, puis cliquez sur «&#xa0;Envoyer&#xa0;».</translation>
    </message>
    <message>
        <source>%1 waits for you (the site refused your sign-in): sign in again, then press Upload.</source>
        <translation>%1 vous attend (le site a refusé votre connexion)&#xa0;: reconnectez-vous, puis cliquez sur «&#xa0;Envoyer&#xa0;».</translation>
    </message>
    <message>
        <source>%1 waits for you (the upload address does not lead to the site): check lvclient_postURL in the settings, then press Upload.</source>
        <translation>%1 vous attend (l’adresse d’envoi ne mène pas au site)&#xa0;: vérifiez lvclient_postURL dans les réglages, puis cliquez sur «&#xa0;Envoyer&#xa0;».</translation>
    </message>
    <message>
        <source>%1 waits for you (a cache file is corrupt): quit the game normally, so that it writes its cache anew, then press Upload.</source>
        <translation>%1 vous attend (un fichier de cache est corrompu)&#xa0;: quittez le jeu normalement pour qu’il réécrive son cache, puis cliquez sur «&#xa0;Envoyer&#xa0;».</translation>
    </message>
    <message>
        <source>%1 waits for you (its files could not be prepared): make room on the disk or free the file named above, then press Upload.</source>
        <translation>%1 vous attend (ses fichiers n’ont pas pu être préparés)&#xa0;: libérez de la place sur le disque ou libérez le fichier nommé plus haut, puis cliquez sur «&#xa0;Envoyer&#xa0;».</translation>
    </message>
</context>
<context>
    <name>LVUploadTransport</name>
    <message>
        <source>Upload failed for account %1: %2</source>
        <translation>Échec de l’envoi pour le compte %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>the site answered %1 %2 and moved to %3; the upload was not sent there</source>
        <translation>le site a répondu %1 %2 et a déménagé vers %3&#xa0;; l’envoi n’y a pas été transmis</translation>
    </message>
    <message>
        <source>an unknown address</source>
        <translation>une adresse inconnue</translation>
    </message>
    <message>
        <source>the site answered %1 %2</source>
        <translation>le site a répondu %1 %2</translation>
    </message>
    <message>
        <source>the site answered %1 %2: %3</source>
        <translation>le site a répondu %1 %2&#xa0;: %3</translation>
    </message>
    <message>
        <source>the upload address is not a valid URL</source>
        <translation>l’adresse d’envoi n’est pas une URL valide</translation>
    </message>
    <message>
        <source>Initiating POST request to: %1</source>
        <translation>Envoi de la requête POST à&#xa0;: %1</translation>
    </message>
    <message>
        <source>Upload complete. Result =  %1</source>
        <translation>Envoi terminé. Résultat =  %1</translation>
    </message>
    <message>
        <source>the site stopped answering for %1 seconds</source>
        <translation>le site n’a plus répondu pendant %1 secondes</translation>
    </message>
    <message>
        <source>the site did not finish its answer within %1 seconds</source>
        <translation>le site n’a pas terminé sa réponse dans les %1 secondes</translation>
    </message>
</context>
<context>
    <name>LVWelcome</name>
    <message>
        <source>&amp;Choose the game…</source>
        <translation>&amp;Choisir le jeu…</translation>
    </message>
    <message>
        <source>Sign &amp;in…</source>
        <translation>Se co&amp;nnecter…</translation>
    </message>
    <message>
        <source>The game: not found yet. Choose its program in Options.</source>
        <translation>Le jeu&#xa0;: pas encore trouvé. Choisissez son programme dans les options.</translation>
    </message>
    <message>
        <source>The game: %1.</source>
        <translation>Le jeu&#xa0;: %1.</translation>
    </message>
    <message>
        <source>Your Lorvane account: sign in with your site user name and password.</source>
        <translation>Votre compte Lorvane&#xa0;: connectez-vous avec le nom d’utilisateur et le mot de passe du site.</translation>
    </message>
    <message>
        <source>Your Lorvane account: signed in as %1.</source>
        <translation>Votre compte Lorvane&#xa0;: connecté en tant que %1.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Welcome!&lt;/b&gt; Lorvane Client sends what the +Lorvane_Harvex addon records in the game to the Lorvane site, keeps the addon up to date, and can upload by itself whenever the game quits. It needs:</source>
        <translation>&lt;b&gt;Bienvenue&#xa0;!&lt;/b&gt; Lorvane Client envoie au site Lorvane ce que l’AddOn +Lorvane_Harvex enregistre dans le jeu, tient l’AddOn à jour et peut envoyer de lui-même chaque fois que le jeu se ferme. Il lui faut&#xa0;:</translation>
    </message>
</context>
<context>
    <name>LVWorkspace</name>
    <message>
        <source>The game was not found at %1</source>
        <translation>Le jeu est introuvable à cet emplacement&#xa0;: %1</translation>
    </message>
    <message>
        <source>Nothing could open %1</source>
        <translation>Aucun programme n’a pu ouvrir %1</translation>
    </message>
</context>
<context>
    <name>Launchers</name>
    <message>
        <source>No Wine found to start the game: start it from your launcher</source>
        <translation>Wine est introuvable pour lancer le jeu&#xa0;: lancez-le depuis votre lanceur</translation>
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
        <translation>Lorvane, compagnon des données Harvex</translation>
    </message>
    <message>
        <source>&amp;Launch</source>
        <translation>&amp;Lancer</translation>
    </message>
    <message>
        <source>Start the game, or its launcher when the options say so</source>
        <translation>Lance le jeu, ou son lanceur si les options le demandent</translation>
    </message>
    <message>
        <source>&amp;Upload</source>
        <translation>&amp;Envoyer</translation>
    </message>
    <message>
        <source>Upload what the addon recorded for every account</source>
        <translation>Envoie ce que l’AddOn a enregistré pour chaque compte</translation>
    </message>
    <message>
        <source>&amp;History…</source>
        <translation>&amp;Historique…</translation>
    </message>
    <message>
        <source>Every upload of every account: when, how much, and what the site answered</source>
        <translation>Chaque envoi de chaque compte&#xa0;: quand, combien, et ce que le site a répondu</translation>
    </message>
    <message>
        <source>&amp;Sign in…</source>
        <translation>&amp;Se connecter…</translation>
    </message>
    <message>
        <source>Sign in to the site again, with another password or another user name</source>
        <translation>Se reconnecter au site, avec un autre mot de passe ou un autre nom d’utilisateur</translation>
    </message>
    <message>
        <source>&amp;Options…</source>
        <translation>&amp;Options…</translation>
    </message>
    <message>
        <source>Show log</source>
        <translation>Afficher le journal</translation>
    </message>
    <message>
        <source>Show or hide the log</source>
        <translation>Afficher ou masquer le journal</translation>
    </message>
    <message>
        <source>%p%</source>
        <translation>%p&#xa0;%</translation>
    </message>
    <message>
        <source>Upload progress</source>
        <translation>Progression de l’envoi</translation>
    </message>
    <message>
        <source>Log</source>
        <translation>Journal</translation>
    </message>
    <message>
        <source>Sign &amp;in…</source>
        <translation>Se co&amp;nnecter…</translation>
    </message>
    <message>
        <source>Sa&amp;ve log…</source>
        <translation>Enregistrer le &amp;journal…</translation>
    </message>
    <message>
        <source>Save the log to a text file, for a bug report say</source>
        <translation>Enregistre le journal dans un fichier texte, pour un rapport de bogue par exemple</translation>
    </message>
    <message>
        <source>Hide log</source>
        <translation>Masquer le journal</translation>
    </message>
</context>
<context>
    <name>Preferences</name>
    <message>
        <source>Options</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>&amp;Games (each checked one is watched and uploaded)</source>
        <translation>&amp;Jeux (chaque jeu coché est surveillé et ses données envoyées)</translation>
    </message>
    <message>
        <source>Flavor</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>Prefix</source>
        <translation>Préfixe</translation>
    </message>
    <message>
        <source>Path</source>
        <translation>Chemin</translation>
    </message>
    <message>
        <source>&amp;Browse…</source>
        <translation>&amp;Parcourir…</translation>
    </message>
    <message>
        <source>When the site could not be reached or was busy, the accounts that did not go up are sent again later, while the client runs.</source>
        <translation>Si le site était injoignable ou occupé, les comptes dont les données ne sont pas passées sont renvoyés plus tard, tant que le client tourne.</translation>
    </message>
    <message>
        <source>&amp;Detailed log (from the next start)</source>
        <translation>Journal &amp;détaillé (à partir du prochain démarrage)</translation>
    </message>
    <message>
        <source>Start &amp;minimised to the tray</source>
        <translation>Démarrer réduit dans la zone de &amp;notification</translation>
    </message>
    <message>
        <source>Start when I log &amp;in</source>
        <translation>Démarrer à l’ou&amp;verture de session</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Annuler</translation>
    </message>
    <message>
        <source>&amp;Apply</source>
        <translation>Appli&amp;quer</translation>
    </message>
    <message>
        <source>Uploads</source>
        <translation>Envois</translation>
    </message>
    <message>
        <source>&amp;Upload when the game quits</source>
        <translation>&amp;Envoyer quand le jeu se ferme</translation>
    </message>
    <message>
        <source>&amp;Try failed uploads again</source>
        <translation>&amp;Réessayer les envois qui ont échoué</translation>
    </message>
    <message>
        <source>Send my c&amp;haracters&apos; data</source>
        <translation>Envoyer les données de mes per&amp;sonnages</translation>
    </message>
    <message>
        <source>Desktop &amp;notifications</source>
        <translation>Notifications du &amp;bureau</translation>
    </message>
    <message>
        <source>The client</source>
        <translation>Le client</translation>
    </message>
    <message>
        <source>&amp;Launch starts the game&apos;s launcher</source>
        <translation>«&#xa0;Lancer&#xa0;» ouvre le &amp;lanceur du jeu</translation>
    </message>
</context>
<context>
    <name>QCommandLineParser</name>
    <message>
        <source>Displays help on commandline options.</source>
        <translation>Afficher l’aide sur les options de la ligne de commande.</translation>
    </message>
    <message>
        <source>Displays help including Qt specific options.</source>
        <translation>Afficher l’aide, y compris les options propres à Qt.</translation>
    </message>
</context>
<context>
    <name>SaveDialog</name>
    <message>
        <source>Not saved</source>
        <translation>Non enregistré</translation>
    </message>
    <message>
        <source>%1 could not be written: %2</source>
        <translation>%1 n’a pas pu être écrit&#xa0;: %2</translation>
    </message>
</context>
<context>
    <name>UploadHistory</name>
    <message>
        <source>succeeded; newer data goes with the next upload</source>
        <translation>réussi&#xa0;; les données plus récentes partiront avec le prochain envoi</translation>
    </message>
    <message>
        <source>succeeded</source>
        <translation>réussi</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>échoué</translation>
    </message>
    <message>
        <source>failed: %1</source>
        <translation>échoué&#xa0;: %1</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Install</source>
        <translation>Installation</translation>
    </message>
    <message>
        <source>Account</source>
        <translation>Compte</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>Fichiers</translation>
    </message>
    <message>
        <source>Before</source>
        <translation>Avant</translation>
    </message>
    <message>
        <source>After</source>
        <translation>Après</translation>
    </message>
    <message>
        <source>Duration</source>
        <translation>Durée</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Statut</translation>
    </message>
    <message>
        <source>Outcome</source>
        <translation>Résultat</translation>
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
        <translation>Choisissez le jeu dans les options pour envoyer</translation>
    </message>
    <message>
        <source>An upload is running</source>
        <translation>Un envoi est en cours</translation>
    </message>
    <message>
        <source>The game is running: uploading waits until it quits</source>
        <translation>Le jeu est lancé&#xa0;: l’envoi attend qu’il se ferme</translation>
    </message>
    <message>
        <source>Waiting for you to sign in</source>
        <translation>En attente de votre connexion</translation>
    </message>
    <message>
        <source>The site refused your password: sign in again</source>
        <translation>Le site a refusé votre mot de passe&#xa0;: reconnectez-vous</translation>
    </message>
    <message>
        <source>The site takes no new upload until %1</source>
        <translation>Le site n’accepte pas de nouvel envoi avant %1</translation>
    </message>
    <message>
        <source>The site takes no new upload</source>
        <translation>Le site n’accepte pas de nouvel envoi pour le moment</translation>
    </message>
    <message>
        <source>The upload tried again at %1</source>
        <translation>L’envoi&#xa0;: nouvelle tentative à %1</translation>
    </message>
    <message>
        <source>%1 tried again at %2</source>
        <translation>%1&#xa0;: nouvelle tentative à %2</translation>
    </message>
    <message>
        <source>The site does not answer: asked again at %1, or when you press Upload</source>
        <translation>Le site ne répond pas&#xa0;: nouvelle demande à %1, ou quand vous cliquez sur «&#xa0;Envoyer&#xa0;»</translation>
    </message>
    <message>
        <source>The site does not answer: asked again, or when you press Upload</source>
        <translation>Le site ne répond pas&#xa0;: nouvelle demande plus tard, ou quand vous cliquez sur «&#xa0;Envoyer&#xa0;»</translation>
    </message>
    <message>
        <source>The keychain is not available: Upload asks for your password for this session</source>
        <translation>Le trousseau n’est pas disponible&#xa0;: «&#xa0;Envoyer&#xa0;» demande votre mot de passe pour cette session</translation>
    </message>
    <message>
        <source>Not signed in: Upload asks for your password</source>
        <translation>Non connecté&#xa0;: «&#xa0;Envoyer&#xa0;» demande votre mot de passe</translation>
    </message>
    <message>
        <source>Automatic uploads paused until %1</source>
        <translation>Envois automatiques suspendus jusqu’à %1</translation>
    </message>
    <message>
        <source>Automatic uploads paused until you resume them</source>
        <translation>Envois automatiques suspendus jusqu’à ce que vous les repreniez</translation>
    </message>
    <message numerus="yes">
        <source>%1 of %n accounts: %2</source>
        <translation>
            <numerusform>%1 sur %n compte&#xa0;: %2</numerusform>
            <numerusform>%1 sur %n comptes&#xa0;: %2</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>UploadedFlag</name>
    <message>
        <source>%1.rename holds no flag to set back</source>
        <translation>%1.rename ne contient aucun indicateur à rétablir</translation>
    </message>
    <message>
        <source>Removed a link standing where the restore copy of %1 goes</source>
        <translation>Lien supprimé à la place de la copie de restauration de %1</translation>
    </message>
    <message>
        <source>Kept %1: the game saved newer data after an upload that did not finish; its old restore copy was removed</source>
        <translation>%1 conservé&#xa0;: le jeu a sauvegardé des données plus récentes après un envoi inachevé&#xa0;; son ancienne copie de restauration a été supprimée</translation>
    </message>
    <message>
        <source>Put %1 back as it was before an upload that did not finish</source>
        <translation>%1 a été remis dans l’état d’avant un envoi inachevé</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Try &apos;%1 --help&apos;.</source>
        <translation>Voir «&#xa0;%1 --help&#xa0;».</translation>
    </message>
    <message>
        <source>Uploads what the +Lorvane_Harvex addon recorded and keeps the addon up to date.</source>
        <translation>Envoie ce que l’AddOn +Lorvane_Harvex a enregistré et tient l’AddOn à jour.</translation>
    </message>
    <message>
        <source>With --launch: the game to start.</source>
        <translation>Avec --launch&#xa0;: le jeu à lancer.</translation>
    </message>
    <message>
        <source>Upload every account without a window, printing the log, and exit: 0 when all went up, 1 when an upload failed, 2 when it could not start.</source>
        <translation>Envoyer tous les comptes sans fenêtre, en affichant le journal, puis quitter&#xa0;: 0 quand tout est envoyé, 1 quand un envoi a échoué, 2 quand il n’a pas pu démarrer.</translation>
    </message>
    <message>
        <source>Store the site password read from standard input for the user NAME, test it and exit (0 when the site accepts it).</source>
        <translation>Enregistrer le mot de passe du site lu sur l’entrée standard pour l’utilisateur NAME, le vérifier et quitter (0 quand le site l’accepte).</translation>
    </message>
    <message>
        <source>With --upload: wait for an upload of another lorvane-client to end instead of giving up.</source>
        <translation>Avec --upload&#xa0;: attendre la fin de l’envoi d’un autre lorvane-client au lieu d’abandonner.</translation>
    </message>
    <message>
        <source>Print the upload history, newest first, and exit.</source>
        <translation>Afficher l’historique des envois, du plus récent au plus ancien, puis quitter.</translation>
    </message>
    <message>
        <source>Print every install of the game found: flavor, where it came from, prefix, program, checked or not, and the command Launch would run.</source>
        <translation>Afficher chaque installation du jeu trouvée&#xa0;: version, provenance, préfixe, programme, cochée ou non, et la commande que «&#xa0;Lancer&#xa0;» exécuterait.</translation>
    </message>
    <message>
        <source>Start the first checked install, or the one of PROGRAM_PATH, as Launch does, and wait for the game: exit 0 when it runs, 1 when it did not start.</source>
        <translation>Lancer la première installation cochée, ou celle de PROGRAM_PATH, comme le fait «&#xa0;Lancer&#xa0;», et attendre le jeu&#xa0;: quitter avec 0 quand il tourne, avec 1 quand il n’a pas démarré.</translation>
    </message>
    <message>
        <source>With --history or --installs: print it as JSON, for scripts.</source>
        <translation>Avec --history ou --installs&#xa0;: l’afficher en JSON, pour les scripts.</translation>
    </message>
    <message>
        <source>Start in the tray, without opening the window, where the desktop has a tray.</source>
        <translation>Démarrer dans la zone de notification, sans ouvrir la fenêtre, là où le bureau en a une.</translation>
    </message>
    <message>
        <source>Lorvane password for %1: </source>
        <translation>Mot de passe Lorvane pour %1&#xa0;: </translation>
    </message>
    <message>
        <source>Later starts cannot reach this one: %1</source>
        <translation>Les lancements suivants ne peuvent pas joindre celui-ci&#xa0;: %1</translation>
    </message>
</context>
</TS>
