#include "platform/LVLauncherProcess.h"

#include "common/FileContents.h"

#include <QProcess>

namespace {

constexpr int kPollMilliseconds = 100;
constexpr int kGraceTicks = 5; // how long error output may lag behind a failing status
constexpr int kLongestErrorLine = 400;

// Runs "$@" with its output dropped and its error output going to a pipe whose first non-empty
// line is kept in $1 (the rest is read and dropped, so the command never blocks on it nor dies of a
// closed pipe), and writes its exit status and a line break to $2 once it has ended. Shell builtins
// only: the command's PATH need not hold anything.
const QString kWrapper = QStringLiteral(R"(err=$1 status=$2
shift 2
{ "$@" 2>&1 >/dev/null; echo $? >"$status"; } | {
  while IFS= read -r line && [ -z "$line" ]; do :; done
  printf '%s\n' "$line" >"$err"
  while IFS= read -r line; do :; done
})");

} // namespace

LVLauncherProcess::LVLauncherProcess(const LVLaunchCommand &command, QObject *parent)
    : QObject(parent)
    , mCommand(command) {
    mPoll.setInterval(kPollMilliseconds);
    connect(&mPoll, &QTimer::timeout, this, &LVLauncherProcess::lookForTheEnd);
}

LVLauncherProcess::~LVLauncherProcess() = default;

bool LVLauncherProcess::start(const QProcessEnvironment &environment, QString *error) {
    QProcess process;
    prepare(process, environment);
    if (process.startDetached())
        return true;
    mPoll.stop();
    if (error)
        *error = tr("Could not start %1: %2").arg(mCommand.program, process.errorString());
    return false;
}

// Where a shell can watch it, the command runs inside the watching wrapper.
void LVLauncherProcess::prepare(QProcess &process, const QProcessEnvironment &environment) {
    QProcessEnvironment processEnvironment = environment;
    for (auto variable = mCommand.environment.cbegin(); variable != mCommand.environment.cend(); ++variable)
        processEnvironment.insert(variable.key(), variable.value());
    process.setProcessEnvironment(processEnvironment);
    process.setWorkingDirectory(mCommand.workingFolder);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.setProgram(mCommand.program);
    process.setArguments(mCommand.arguments);
#ifdef Q_OS_UNIX
    if (!mFolder.isValid())
        return;
    process.setProgram(QStringLiteral("/bin/sh"));
    process.setArguments(QStringList{QStringLiteral("-c"), kWrapper, QStringLiteral("sh"),
                                     mFolder.filePath(QStringLiteral("error")),
                                     mFolder.filePath(QStringLiteral("status")), mCommand.program} +
                         mCommand.arguments);
    mPoll.start();
#endif
}

void LVLauncherProcess::lookForTheEnd() {
    const std::optional<QByteArray> status = lv::contentsOfFile(mFolder.filePath(QStringLiteral("status")));
    if (!status || !status->endsWith('\n'))
        return;
    bool isNumber = false;
    const int exitStatus = status->trimmed().toInt(&isNumber);
    const QString line = firstErrorLine();
    if (isNumber && exitStatus != 0 && line.isEmpty() && mGraceTicks++ < kGraceTicks)
        return;
    mPoll.stop();
    emit finished(isNumber ? exitStatus : -1, line);
}

QString LVLauncherProcess::firstErrorLine() const {
    const QByteArray line = lv::contentsOfFile(mFolder.filePath(QStringLiteral("error"))).value_or(QByteArray());
    return QString::fromLocal8Bit(line.trimmed()).left(kLongestErrorLine);
}
