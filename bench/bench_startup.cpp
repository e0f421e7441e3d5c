// Time from process start to the login window shown, offscreen. Runs a build
// of the program that ends the moment its login window is visible.
#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

extern char **environ;

namespace {

struct Folder {
    QTemporaryDir dir;
    QString exe;
    Folder()
    {
        QDir d(dir.path());
        d.mkpath(QStringLiteral("prog/database"));
        d.mkpath(QStringLiteral("prog/backup"));
        d.mkpath(QStringLiteral("prog/image"));
        d.mkpath(QStringLiteral("tmp"));
        exe = d.filePath(QStringLiteral("prog/memberdesk"));
        QFile::copy(QStringLiteral(STARTPROBE_EXE), exe);
        QFile::copy(QStringLiteral(DELIVERED_DB), d.filePath(QStringLiteral("prog/database/database.mdb")));
        QFile::copy(QStringLiteral(DELIVERED_BMP), d.filePath(QStringLiteral("prog/image/001.bmp")));
        QFile::setPermissions(d.filePath(QStringLiteral("prog/database/database.mdb")),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QFile ini(d.filePath(QStringLiteral("prog/myini.ini")));
        ini.open(QIODevice::WriteOnly);
        ini.write("[程序参数]\r\n店铺名称=测试店\r\n提醒=0\r\n");
    }
};

void BM_ProcessStartToLoginShown(benchmark::State &state)
{
    Folder folder;
    const QByteArray exe = QFile::encodeName(folder.exe);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("TMPDIR", QFile::encodeName(folder.dir.filePath(QStringLiteral("tmp"))).constData(), 1);
    for (auto _ : state) {
        pid_t pid = 0;
        char *argv[] = {const_cast<char *>(exe.constData()), nullptr};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        if (posix_spawn(&pid, exe.constData(), &actions, nullptr, argv, environ) != 0) {
            state.SkipWithError("spawn failed");
            break;
        }
        posix_spawn_file_actions_destroy(&actions);
        int status = 0;
        waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the program did not reach its login window");
            break;
        }
    }
}
BENCHMARK(BM_ProcessStartToLoginShown)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

} // namespace

BENCHMARK_MAIN();
