#pragma once

#include <QHash>
#include <QMainWindow>
#include <QTimer>
#include <functional>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QToolButton;

namespace ui { class Marquee; }

// The main window: menu, toolbar, status bar, the background with the store
// name, and the child windows. Opens windows; owns no business rules.
class TMAIN : public QMainWindow {
    Q_OBJECT
public:
    explicit TMAIN(QWidget *parent = nullptr);
    ~TMAIN() override;

    // Creation steps: settings, caption, background, connection, login.
    // Returns false when the program must end (no connection, no login).
    bool startUp();

    // Brings forward an open child window with exactly this caption.
    bool ShowChildWindow(const QString &title);

    // A window class opened by a menu entry under a title. Entries whose
    // window is not registered open nothing.
    using WindowFactory = std::function<QWidget *(TMAIN *)>;
    void registerWindow(const QString &entry, const QString &title, WindowFactory factory);
    // Opens (or brings forward) a child window under `title`.
    QWidget *openChild(const QString &title, const WindowFactory &factory);

    // Window classes by name, for windows that open other windows (a
    // history under a caption of its own). An unregistered class opens nothing.
    void registerClass(const QString &className, WindowFactory factory);
    QWidget *openClass(const QString &className, const QString &title);
    static TMAIN *instance(); // the main window of the run

    QAction *entry(const QString &name) const; // N2 ... N46
    QToolButton *toolButton(const QString &name) const;
    QMdiArea *mdiArea() const { return m_mdi; }

    // Used by the login.
    void setOperatorText(const QString &text);
    void disableGovernedCommands();
    void enableFlag(int flag);
    static const QList<QPair<int, QString>> &flagEntries();  // flag -> menu entry
    static const QList<QPair<int, QString>> &flagButtons();  // flag -> toolbar button

    bool reminderFlag() const { return m_reminder; }
    QString backgroundPath() const { return m_backgroundPath; }
    QString backupDefaultName() const { return m_backupDefaultName; }
    QLabel *titleLabel() const { return m_label1; }

    // Ends the program without the exit question and backup (after a restore).
    void quitWithoutQuestion();

    // Manual backup to a file the operator names (entry "数据备份").
    void manualBackup();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildMenus();
    void buildToolBar();
    void buildStatusBar();
    void buildBackground();
    void centreTitles();
    void onTimer1();
    void onTimer2();
    void showHelp();
    void showAbout();
    void triggerEntry(const QString &name);

    QMdiArea *m_mdi = nullptr;
    QLabel *m_image = nullptr;
    QLabel *m_label1 = nullptr;
    QLabel *m_label2 = nullptr;
    QLabel *m_statusPane = nullptr;
    ui::Marquee *m_marquee = nullptr;
    QLabel *m_clock = nullptr;
    QTimer m_clockTimer;
    QTimer m_timer1;
    QTimer m_timer2;
    QHash<QString, QAction *> m_entries;
    QHash<QString, WindowFactory> m_classes;
    QHash<QString, QToolButton *> m_buttons;
    bool m_reminder = true;
    QString m_backgroundPath;
    QString m_backupDefaultName;
    bool m_shownOnce = false;
    bool m_noQuestion = false;
};
