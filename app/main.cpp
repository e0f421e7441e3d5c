#include "app/singleinstance.h"
#include "app/startup.h"
#include "app/windows.h"
#include "core/session.h"
#include "core/tdm1.h"
#include "shell/tmain.h"

#include <QApplication>

#ifdef STARTUP_PROBE
#include "shell/tloginform.h"
#include <QMessageBox>
#include <QTimer>
#include <cstdio>
#endif

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(core::kAppTitle);

    SingleInstance instance(QStringLiteral("zudezerivorovudozadedureviviv"));
    if (!instance.acquired())
        return 0; // another copy runs: end silently

    installChineseTranslations(app);

#ifdef STARTUP_PROBE
    // Benchmark build only: report when the login window is on screen, then end.
    auto *probe = new QTimer(&app);
    QObject::connect(probe, &QTimer::timeout, [] {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (qobject_cast<Tloginform *>(w) && w->isVisible()) {
                std::printf("login-shown\n");
                std::fflush(stdout);
                std::_Exit(0);
            }
            if (qobject_cast<QMessageBox *>(w) && w->isVisible())
                std::_Exit(3); // a failure box instead of the login
        }
    });
    probe->start(0);
#endif

    core::TDM1 dm;
    TMAIN mainWindow;
    registerWindows(mainWindow);
    if (!mainWindow.startUp())
        return 0;
    return app.exec();
}
