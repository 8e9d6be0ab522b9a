#include "prefs/LVPreferencesController.h"

#include "app/LVApplicationDelegate.h"
#include "game/PathTemplates.h"
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

LVPreferencesController::LVPreferencesController(LVApplicationDelegate *delegate, LVSettings &settings, QWidget *parent)
    : QDialog(parent)
    , mUi(std::make_unique<Ui::Preferences>())
    , mDelegate(delegate)
    , mSettings(settings) {
    mUi->setupUi(this);
    mApplicationPathLabel = mUi->applicationPathLabel;
    mApplyButton = mUi->applyButton;
    connect(mUi->browseButton, &QPushButton::clicked, this, &LVPreferencesController::performBrowse);
    connect(mUi->cancelButton, &QPushButton::clicked, this, &LVPreferencesController::performCancel);
    connect(mUi->applyButton, &QPushButton::clicked, this, &LVPreferencesController::performApply);
    connect(this, &QDialog::rejected, this, &LVPreferencesController::performCancel);
    bindCheckBox(mUi->autoUploadBox, mSettings, QString::fromLatin1(kAutoUploadKey));
    bindCheckBox(mUi->characterDataBox, mSettings, QString::fromLatin1(kCharacterDataKey));
    bindCheckBox(mUi->runLauncherBox, mSettings, QString::fromLatin1(kRunLauncherAppKey));
    bindCheckBox(mUi->verboseLoggingBox, mSettings, QString::fromLatin1(kVerboseLoggingKey));
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
    const QString startFolder = mWowPath.isEmpty() ? QDir::homePath() : deletingLastPathComponent(mWowPath);
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
    mSettings.save();
    mSettings.setValue(kWowApplicationPathKey, mWowPath);
    mSettings.synchronize();
    LVApplicationDelegate *delegate = std::exchange(mDelegate, nullptr);
    sheetDidEnd();
    if (delegate)
        delegate->gatherInstallAndCheck();
}

// A cancelled sheet's option edits are dropped, so that a later confirmation elsewhere never stores them.
void LVPreferencesController::performCancel() {
    if (!mDelegate)
        return;
    mDelegate = nullptr;
    mSettings.discardPendingEdits();
    sheetDidEnd();
}

void LVPreferencesController::sheetDidEnd() {
    hide();
    deleteLater();
}
