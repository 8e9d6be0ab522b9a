#pragma once

#include <QObject>
#include <QStringList>
#include <QVariantMap>

#include <memory>
#include <optional>

class QSettings;
class LVWorkspace;

// The settings keys. "wow_" keys describe the game, "lvclient_" keys the client itself.
inline constexpr char kWowApplicationPathKey[] = "wow_application_path";
inline constexpr char kWowApplicationNameKey[] = "wow_application_name";
inline constexpr char kWowLauncherApplicationNameKey[] = "wow_launcher_application_name";
// The game programs of every install the user keeps, and those of them the user unchecked. The
// registered default of the first is the list of installs found on the machine at start-up.
inline constexpr char kWowInstallsKey[] = "wow_installs";
inline constexpr char kWowInstallsUncheckedKey[] = "wow_installs_unchecked";
inline constexpr char kFilesToUploadKey[] = "lvclient_filesToUpload";
inline constexpr char kPostURLKey[] = "lvclient_postURL";
inline constexpr char kAuthURLKey[] = "lvclient_authURL";
inline constexpr char kUpdateURLKey[] = "lvclient_updateURL";
inline constexpr char kValidRealmsKey[] = "lvclient_validrealms";
inline constexpr char kUsernameKey[] = "lvclient_username";
inline constexpr char kCharacterDataKey[] = "lvclient_characterdata";
inline constexpr char kAutoUploadKey[] = "lvclient_autoupload";
inline constexpr char kRunLauncherAppKey[] = "lvclient_runlauncherapp";
inline constexpr char kVerboseLoggingKey[] = "lvclient_verboseLogging";
inline constexpr char kStartMinimizedKey[] = "lvclient_startminimized";
inline constexpr char kAutostartKey[] = "lvclient_autostart";
inline constexpr char kNotificationsKey[] = "lvclient_notifications";
// Accounts whose upload failed for a passing reason are tried again while the client runs.
inline constexpr char kAutoRetryKey[] = "lvclient_autoretry";

// The per-user settings store. User values persist in QSettings; the registered defaults live in
// memory for this run only. Controls bound to keys edit a buffer that reaches the store on save().
class LVSettings : public QObject {
    Q_OBJECT
public:
    // The user's own store (organization "Lorvane", application "Lorvane Client").
    explicit LVSettings(QObject *parent = nullptr);
    // A store kept in the given INI file: tests and tools use it to stay away from the user's settings.
    explicit LVSettings(const QString &iniFilePath, QObject *parent = nullptr);
    ~LVSettings() override;

    void registerDefaults(const QVariantMap &defaults);
    const QVariantMap &registeredDefaults() const { return mDefaults; }

    // The user value when there is one, else the registered default; invalid when neither exists.
    QVariant valueForKey(const QString &key) const;
    // Null when absent or not text.
    QString stringForKey(const QString &key) const;
    // False when absent.
    bool boolForKey(const QString &key) const;
    // Empty when absent or neither a list nor text; text is a list of one (see lv::stringListOf()).
    std::optional<QStringList> arrayForKey(const QString &key) const;

    bool hasUserValueForKey(const QString &key) const;
    void setValue(const QString &key, const QVariant &value);
    void removeValueForKey(const QString &key);
    // Writes the store to disk; false when it could not be written, the failure saying why.
    bool synchronize(QString *error = nullptr);

    // Buffered edits of bound controls: what a control shows and changes, kept until save().
    QVariant editedValue(const QString &key) const;
    void setEditedValue(const QString &key, const QVariant &value);
    bool hasPendingEdits() const { return !mPendingEdits.isEmpty(); }
    // Stores the edits and writes them to disk, all or nothing: when the store cannot be written, its
    // values stay what they were and the edits stay pending. An invalid edit removes the user value.
    bool save(QString *error = nullptr);
    void discardPendingEdits() { mPendingEdits.clear(); }

signals:
    void editedValueChanged(const QString &key);

private:
    void reopenStore();

    std::unique_ptr<QSettings> mStore;
    QVariantMap mDefaults;
    QVariantMap mPendingEdits;
};

namespace lv {

// A list as the store gives it back: an INI file keeps a list of one as plain text, which is a list
// of one here (empty text is an empty list). Absent when the value is neither a list nor text.
std::optional<QStringList> stringListOf(const QVariant &value);

// Why the file at the path cannot be written: "<path>: <reason>".
QString writeFailure(const QString &path);

// Builds this run's defaults from the defaults file: a stored game path always wins; otherwise the
// file's path is kept when something exists there, and else the first install the workspace finds is
// the game (or, when it lists none, the application it knows by the game's name). Every install found
// becomes the default list of installs.
QVariantMap defaultsForRegistration(QVariantMap fileDefaults, const LVSettings &settings, const LVWorkspace &workspace);

// Reads the defaults file and registers it, as the program does once at start-up.
void registerDefaultsFromFile(LVSettings &settings, const QString &plistPath, const LVWorkspace &workspace);

} // namespace lv
