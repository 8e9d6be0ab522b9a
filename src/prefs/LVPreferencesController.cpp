#include "prefs/LVPreferencesController.h"

#include "common/PathComponents.h"
#include "settings/LVSettings.h"
#include "settings/LVSettingsBinding.h"
#include "ui_Preferences.h"

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

void LVPreferencesController::performApply() {
    if (std::exchange(mEnded, true))
        return;
    mSettings.save();
    mSettings.setValue(kWowApplicationPathKey, mWowPath);
    mSettings.synchronize();
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
