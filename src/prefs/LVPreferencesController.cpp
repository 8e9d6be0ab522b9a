#include "prefs/LVPreferencesController.h"

#include "common/PathComponents.h"
#include "platform/GameInstallations.h"
#include "platform/LVWorkspace.h"
#include "prefs/Autostart.h"
#include "settings/LVSettings.h"
#include "settings/LVSettingsBinding.h"
#include "status/LVStatusBus.h"
#include "ui_Preferences.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QScreen>
#include <QTreeWidget>

namespace {

QString gameFileFilter() {
#ifdef Q_OS_MACOS
    return LVPreferencesController::tr("Applications (*.app)");
#else
    return LVPreferencesController::tr("Windows programs (*.exe)");
#endif
}

enum InstallColumn { kFlavorColumn = 0, kPrefixColumn = 1, kPathColumn = 2 };

} // namespace

LVPreferencesController::LVPreferencesController(LVSettings &settings, LVWorkspace &workspace, QWidget *parent)
    : QDialog(parent)
    , mUi(std::make_unique<Ui::Preferences>())
    , mSettings(settings)
    , mWorkspace(workspace) {
    mUi->setupUi(this);
    mInstallsList = mUi->installsList;
    mApplyButton = mUi->applyButton;
    connect(mUi->browseButton, &QPushButton::clicked, this, &LVPreferencesController::performBrowse);
    connect(mUi->cancelButton, &QPushButton::clicked, this, &LVPreferencesController::performCancel);
    connect(mUi->applyButton, &QPushButton::clicked, this, &LVPreferencesController::performApply);
    connect(this, &QDialog::rejected, this, &LVPreferencesController::performCancel);
    connect(mInstallsList, &QTreeWidget::itemChanged, this, &LVPreferencesController::updateApplyButton);
    // A name longer than its column, after Browse say, would show as "…".
    connect(mInstallsList->model(), &QAbstractItemModel::rowsInserted, this, &LVPreferencesController::fitColumns);
    connect(mInstallsList->model(), &QAbstractItemModel::dataChanged, this, &LVPreferencesController::fitColumns);
    lv::bindCheckBox(mUi->autoUploadBox, mSettings, QString::fromLatin1(kAutoUploadKey));
    lv::bindCheckBox(mUi->autoRetryBox, mSettings, QString::fromLatin1(kAutoRetryKey));
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
    mInstallsList->clear();
    for (const LVInstallChoice &choice : lv::installChoices(mSettings))
        addInstallRow(choice.executable, choice.checked);
    fitColumns();
    updateApplyButton();
}

void LVPreferencesController::fitColumns() {
    mInstallsList->resizeColumnToContents(kFlavorColumn);
    mInstallsList->resizeColumnToContents(kPrefixColumn);
    mUi->installsHint->setText(mInstallsList->topLevelItemCount() == 0
                                   ? tr("No copy of the game was found. Pick its Wow.exe inside your Wine, Lutris, "
                                        "Steam or Bottles prefix:")
                                   : tr("Not listed? Pick its Wow.exe inside your Wine, Lutris, Steam or Bottles "
                                        "prefix:"));
}

// The columns fit the font and style the sheet has on the screen; the sheet fits the screen, where the
// options scroll rather than push the buttons out of sight. Side by side, the option groups may be
// wider than the screen (in a longer language, at a larger scale): they then go one above the other.
void LVPreferencesController::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    fitColumns();
    const QSize room = screen() ? screen()->availableSize() - kWindowFrame : wantedSize();
    if (wantedSize().width() > room.width())
        mUi->optionGroups->setDirection(QBoxLayout::TopToBottom);
    resize(wantedSize().boundedTo(room).expandedTo(minimumSizeHint()));
}

// The size that shows everything; the scroll area's own size hint is the one its contents had before
// they had their style.
QSize LVPreferencesController::wantedSize() const {
    return sizeHint() - mUi->scrollArea->sizeHint() + mUi->scrollContents->sizeHint();
}

// The prefix is described as Launch will find it: an install picked by hand inside a launcher's
// prefix is started through that launcher all the same.
void LVPreferencesController::addInstallRow(const QString &executable, bool checked) {
    const LVGameInstallation installation = mWorkspace.installationOf(executable);
    auto *item = new QTreeWidgetItem(mInstallsList);
    item->setText(kFlavorColumn, lv::flavorName(installation.flavor));
    item->setText(kPrefixColumn, lv::installSourceName(installation));
    item->setText(kPathColumn, executable);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    item->setCheckState(kFlavorColumn, checked ? Qt::Checked : Qt::Unchecked);
    item->setToolTip(kPathColumn, executable);
    item->setToolTip(kPrefixColumn, installation.prefix);
}

QList<LVInstallChoice> LVPreferencesController::installChoices() const {
    QList<LVInstallChoice> choices;
    for (int row = 0; row < mInstallsList->topLevelItemCount(); ++row) {
        const QTreeWidgetItem *item = mInstallsList->topLevelItem(row);
        choices.append({item->text(kPathColumn), item->checkState(kFlavorColumn) == Qt::Checked});
    }
    return choices;
}

void LVPreferencesController::updateApplyButton() {
    const QList<LVInstallChoice> choices = installChoices();
    mApplyButton->setEnabled(
        std::any_of(choices.cbegin(), choices.cend(), [](const LVInstallChoice &choice) { return choice.checked; }));
}

void LVPreferencesController::performBrowse() {
    const QString wowPath = mSettings.stringForKey(kWowApplicationPathKey);
    const QString startFolder = wowPath.isEmpty() ? QDir::homePath() : lv::deletingLastPathComponent(wowPath);
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
    const QString cleaned = QDir::cleanPath(path);
    for (int row = 0; row < mInstallsList->topLevelItemCount(); ++row) {
        QTreeWidgetItem *item = mInstallsList->topLevelItem(row);
        if (QDir::cleanPath(item->text(kPathColumn)) == cleaned) {
            item->setCheckState(kFlavorColumn, Qt::Checked);
            return;
        }
    }
    addInstallRow(path, true);
    updateApplyButton();
}

void LVPreferencesController::setSystemTrayAvailable(bool available) {
    mUi->startMinimizedBox->setEnabled(available);
    mUi->startMinimizedBox->setToolTip(available ? QString() : tr("Your desktop shows no tray icons."));
}

// Settings that cannot be written leave the sheet open with the user's choices, so that nothing
// looks saved that is not.
void LVPreferencesController::performApply() {
    if (mEnded || !mApplyButton->isEnabled())
        return;
    QString failure;
    if (!lv::storeInstallChoices(mSettings, installChoices(), &failure)) {
        const QString message = tr("Unable to save the settings: %1").arg(failure);
        mUi->saveErrorLabel->setText(message);
        mUi->saveErrorLabel->show();
        LVStatusBus::sendErrorMessage(message);
        return;
    }
    mEnded = true;
    if (!lv::setStartAtLogin(mSettings.boolForKey(kAutostartKey), QCoreApplication::applicationFilePath(), &failure))
        LVStatusBus::sendErrorMessage(tr("Unable to start the client at log-in: %1").arg(failure));
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
