#include "prefs/LVPreferencesController.h"

#include "common/PathComponents.h"
#include "prefs/Autostart.h"
#include "settings/LVSettings.h"
#include "settings/LVSettingsBinding.h"
#include "status/LVStatusBus.h"
#include "ui_Preferences.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>

namespace {

QString gameFileFilter() {
#ifdef Q_OS_MACOS
    return QStringLiteral("Applications (*.app)");
#else
    return QStringLiteral("Windows programs (*.exe)");
#endif
}

} // namespace

LVPreferencesController::LVPreferencesController(LVSettings &settings, QWidget *parent)
    : QDialog(parent)
    , mUi(std::make_unique<Ui::Preferences>())
    , mSettings(settings) {
    mUi->setupUi(this);
    mApplicationPathLabel = mUi->applicationPathLabel;
    mApplyButton = mUi->applyButton;
    connect(mUi->browseButton, &QPushButton::clicked, this, &LVPreferencesController::performBrowse);
    connect(mUi->cancelButton, &QPushButton::clicked, this, &LVPreferencesController::performCancel);
    connect(mUi->applyButton, &QPushButton::clicked, this, &LVPreferencesController::performApply);
    connect(this, &QDialog::rejected, this, &LVPreferencesController::performCancel);
    lv::bindCheckBox(mUi->autoUploadBox, mSettings, QString::fromLatin1(kAutoUploadKey));
    lv::bindCheckBox(mUi->characterDataBox, mSettings, QString::fromLatin1(kCharacterDataKey));
    lv::bindCheckBox(mUi->runLauncherBox, mSettings, QString::fromLatin1(kRunLauncherAppKey));
    lv::bindCheckBox(mUi->verboseLoggingBox, mSettings, QString::fromLatin1(kVerboseLoggingKey));
    lv::bindCheckBox(mUi->startMinimizedBox, mSettings, QString::fromLatin1(kStartMinimizedKey));
    lv::bindCheckBox(mUi->autostartBox, mSettings, QString::fromLatin1(kAutostartKey));
    lv::bindCheckBox(mUi->notificationsBox, mSettings, QString::fromLatin1(kNotificationsKey));
    mUi->saveErrorLabel->hide();
    awakeFromNib();
}

LVPreferencesController::~LVPreferencesController() = default;

void LVPreferencesController::awakeFromNib() {
    const QVariant stored = mSettings.valueForKey(kWowApplicationPathKey);
    if (stored.typeId() == QMetaType::QString)
        mWowPath = stored.toString();
    setupAppPath();
}

void LVPreferencesController::setupAppPath() {
    mApplicationPathLabel->setText(mWowPath.isNull() ? QStringLiteral("") : mWowPath);
    mApplyButton->setEnabled(!mWowPath.isEmpty());
}

void LVPreferencesController::performBrowse() {
    const QString startFolder = mWowPath.isEmpty() ? QDir::homePath() : lv::deletingLastPathComponent(mWowPath);
    auto *dialog = new QFileDialog(this, tr("Choose the game"), startFolder, gameFileFilter());
    dialog->setObjectName(QStringLiteral("browseDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setFileMode(QFileDialog::ExistingFile);
    // Wine prefixes live in hidden folders (~/.wine, ~/.local/share/…): they must be reachable.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setFilter(QDir::AllEntries | QDir::AllDirs | QDir::Hidden | QDir::NoDotAndDotDot);
    connect(dialog, &QFileDialog::fileSelected, this, &LVPreferencesController::chooseApplicationPath);
    dialog->open();
}

void LVPreferencesController::chooseApplicationPath(const QString &path) {
    if (path.isEmpty())
        return;
    mWowPath = path;
    setupAppPath();
}

void LVPreferencesController::setSystemTrayAvailable(bool available) {
    mUi->startMinimizedBox->setEnabled(available);
    mUi->startMinimizedBox->setToolTip(available ? QString() : QStringLiteral("Your desktop shows no tray icons."));
}

// Settings that cannot be written leave the sheet open with the user's choices, so that nothing
// looks saved that is not.
void LVPreferencesController::performApply() {
    if (mEnded)
        return;
    mSettings.setEditedValue(QString::fromLatin1(kWowApplicationPathKey), mWowPath);
    QString failure;
    if (!mSettings.save(&failure)) {
        const QString message = QStringLiteral("Unable to save the settings: %1").arg(failure);
        mUi->saveErrorLabel->setText(message);
        mUi->saveErrorLabel->show();
        LVStatusBus::sendErrorMessage(message);
        return;
    }
    mEnded = true;
    if (!lv::setStartAtLogin(mSettings.boolForKey(kAutostartKey), QCoreApplication::applicationFilePath(), &failure))
        LVStatusBus::sendErrorMessage(QStringLiteral("Unable to start the client at log-in: %1").arg(failure));
    sheetDidEnd();
    emit applied();
}

// A cancelled sheet's option edits are dropped, so that a later confirmation elsewhere never stores them.
void LVPreferencesController::performCancel() {
    if (std::exchange(mEnded, true))
        return;
    mSettings.discardPendingEdits();
    sheetDidEnd();
}

void LVPreferencesController::sheetDidEnd() {
    hide();
    deleteLater();
}
