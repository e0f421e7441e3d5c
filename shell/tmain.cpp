#include "shell/tmain.h"

#include "core/formats.h"
#include "core/inifile.h"
#include "core/paths.h"
#include "core/session.h"
#include "core/tdm1.h"
#include "shell/tabout.h"
#include "shell/tloginform.h"
#include "widgets/marquee.h"
#include "widgets/prompts.h"

#include <QAction>
#include <QCloseEvent>
#include <QDate>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPixmap>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTime>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

namespace {

const QString kDefaultStore = QStringLiteral("青禾国医养生馆");
const QString kCaptionSuffix = QStringLiteral("rodevarodV5.0.0.0");

struct EntryDef {
    const char *name;
    const char16_t *caption;
    bool visible;
    bool separatorBefore;
};

struct MenuDef {
    const char *name;
    const char16_t *caption;
    QList<EntryDef> entries;
};

const QList<MenuDef> &menuDefs()
{
    static const QList<MenuDef> defs = {
        {"N1", u"系统设置",
         {{"N2", u"操作人员及权限设置", true, false},
          {"N11", u"修改密码", true, false},
          {"N7", u"店铺名称及小票打印设置", true, false},
          {"N3", u"数据备份", true, false},
          {"N12", u"数据恢复", true, false},
          {"N5", u"积分手动清零", true, false},
          {"N6", u"历史数据清除", true, false},
          {"N4", u"数据初始化", true, false},
          {"N8", u"退出系统", true, false}}},
        {"N45", u"基本信息设置",
         {{"N46", u"商品档案预录入", true, false}, {"N17", u"兑换项目设置", true, false}}},
        {"N9", u"会员卡管理",
         {{"N10", u"会员卡类别设置", false, false},
          {"N44", u"引荐人增加积分设置", true, false},
          {"N29", u"新增修改会员信息", true, false},
          {"N30", u"会员查询", true, false},
          {"N31", u"全部会员信息", true, false},
          {"N32", u"会员卡挂失及取消", true, false},
          {"N33", u"会员卡更换", true, false}}},
        {"N34", u"基本业务",
         {{"N35", u"购买积分", true, false},
          {"N13", u"其他途径获取积分", false, false},
          {"N36", u"退/换货减积分", false, true},
          {"N37", u"积分兑换", true, false},
          {"N16", u"消费积分", false, true}}},
        {"N38", u"查询报表",
         {{"N39", u"会员积分增减历史记录", true, false},
          {"N43", u"会员消费记录", true, false},
          {"N40", u"会员卡挂失记录", true, false},
          {"N41", u"会员卡更换历史记录", true, false},
          {"N42", u"会员生日提醒", true, false}}},
        {"N26", u"系统帮助", {{"N27", u"帮助", true, false}, {"N28", u"关于", true, false}}},
    };
    return defs;
}

struct ButtonDef {
    const char *name;
    const char16_t *caption;
    bool visible;
    const char *entry; // invoked entry, nullptr for the two own actions
    QStyle::StandardPixmap icon;
    bool separatorBefore;
};

const QList<ButtonDef> &buttonDefs()
{
    static const QList<ButtonDef> defs = {
        {"RzToolButton9", u"购买积分", true, "N35", QStyle::SP_DialogApplyButton, false},
        {"RzToolButton11", u"退/换货减积分", false, "N36", QStyle::SP_ArrowBack, false},
        {"RzToolButton10", u"积分兑换", true, "N37", QStyle::SP_DialogYesButton, false},
        {"RzToolButton4", u"会员管理", true, "N29", QStyle::SP_FileDialogNewFolder, true},
        {"RzToolButton12", u"会员查询", true, "N30", QStyle::SP_FileDialogContentsView, false},
        {"RzToolButton7", u"会员卡挂失及取消", true, "N32", QStyle::SP_MessageBoxWarning, true},
        {"RzToolButton8", u"会员卡更换", true, "N33", QStyle::SP_BrowserReload, false},
        {"RzToolButton13", u"生日提醒", true, "N42", QStyle::SP_FileDialogInfoView, true},
        {"RzToolButton14", u"系统帮助", true, "N27", QStyle::SP_DialogHelpButton, true},
        {"RzToolButton5", u"暂时离开", true, nullptr, QStyle::SP_DialogCloseButton, true},
        {"RzToolButton6", u"退出", true, nullptr, QStyle::SP_DialogCancelButton, false},
    };
    return defs;
}

} // namespace

const QList<QPair<int, QString>> &TMAIN::flagEntries()
{
    static const QList<QPair<int, QString>> v = {
        {1, "N2"},   {2, "N7"},   {3, "N3"},   {4, "N12"},  {5, "N6"},   {6, "N4"},   {7, "N10"},
        {8, "N29"},  {9, "N30"},  {10, "N31"}, {11, "N32"}, {12, "N33"}, {13, "N35"}, {14, "N37"},
        {15, "N36"}, {16, "N39"}, {17, "N40"}, {18, "N41"}, {19, "N42"}, {20, "N5"},  {21, "N43"},
        {22, "N46"}, {23, "N44"}, {24, "N13"}, {25, "N16"}, {26, "N17"}};
    return v;
}

const QList<QPair<int, QString>> &TMAIN::flagButtons()
{
    static const QList<QPair<int, QString>> v = {
        {8, "RzToolButton4"},   {9, "RzToolButton12"},  {11, "RzToolButton7"}, {12, "RzToolButton8"},
        {13, "RzToolButton9"},  {14, "RzToolButton10"}, {15, "RzToolButton11"}, {19, "RzToolButton13"}};
    return v;
}

namespace {
TMAIN *g_main = nullptr;
}

TMAIN *TMAIN::instance()
{
    return g_main;
}

void TMAIN::registerClass(const QString &className, WindowFactory factory)
{
    m_classes.insert(className, std::move(factory));
}

QWidget *TMAIN::openClass(const QString &className, const QString &title)
{
    const WindowFactory f = m_classes.value(className);
    if (!f)
        return nullptr;
    return openChild(title, f);
}

TMAIN::TMAIN(QWidget *parent)
    : QMainWindow(parent)
{
    g_main = this;
    setObjectName(QStringLiteral("MAIN"));
    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName(QStringLiteral("MdiArea"));
    setCentralWidget(m_mdi);
    buildMenus();
    buildToolBar();
    buildStatusBar();
    buildBackground();

    for (QTimer *t : {&m_timer1, &m_timer2}) {
        t->setParent(this);
        t->setSingleShot(true);
        t->setInterval(100);
    }
    m_timer1.setObjectName(QStringLiteral("Timer1"));
    m_timer2.setObjectName(QStringLiteral("Timer2"));
    connect(&m_timer1, &QTimer::timeout, this, &TMAIN::onTimer1);
    connect(&m_timer2, &QTimer::timeout, this, &TMAIN::onTimer2);
}

TMAIN::~TMAIN()
{
    if (g_main == this)
        g_main = nullptr;
}

void TMAIN::buildMenus()
{
    for (const MenuDef &m : menuDefs()) {
        QMenu *menu = menuBar()->addMenu(QString::fromUtf16(m.caption));
        menu->setObjectName(QString::fromLatin1(m.name));
        for (const EntryDef &e : m.entries) {
            if (e.separatorBefore)
                menu->addSeparator();
            auto *a = new QAction(QString::fromUtf16(e.caption), this);
            a->setObjectName(QString::fromLatin1(e.name));
            // An entry that is never shown still works when invoked; a
            // hidden QAction would be disabled, so it stays out of the menu.
            if (e.visible)
                menu->addAction(a);
            else
                addAction(a);
            m_entries.insert(a->objectName(), a);
        }
    }
    connect(entry("N8"), &QAction::triggered, this, &QWidget::close);
    connect(entry("N3"), &QAction::triggered, this, &TMAIN::manualBackup);
    connect(entry("N27"), &QAction::triggered, this, &TMAIN::showHelp);
    connect(entry("N28"), &QAction::triggered, this, &TMAIN::showAbout);

    // Entries that open a window class under a title; the classes register
    // their factories as they are built.
    const QList<QPair<const char *, const char16_t *>> titled = {
        {"N2", u"操作人员设置"},        {"N11", u"修改密码"},
        {"N7", u"店铺名称及小票打印设置"}, {"N6", u"数据整理"},
        {"N46", u"商品档案预录入"},      {"N17", u"兑换项目设置"},
        {"N10", u"会员卡类别设置"},      {"N44", u"引荐人增加积分设置"},
        {"N29", u"新增/修改会员信息"},   {"N30", u"会员查询"},
        {"N31", u"全部会员信息"},        {"N32", u"会员卡挂失及取消"},
        {"N33", u"会员卡更换"},          {"N35", u"购物或换货增加积分"},
        {"N13", u"其他途径获得积分"},    {"N36", u"退/换货减积分"},
        {"N37", u"积分兑换"},            {"N16", u"消费积分"},
        {"N39", u"会员积分增减历史记录"}, {"N43", u"查询会员消费记录"},
        {"N40", u"会员卡挂失记录"},      {"N41", u"会员卡更换历史记录"},
        {"N42", u"会员生日提醒"},
    };
    for (const auto &[name, title] : titled)
        registerWindow(QString::fromLatin1(name), QString::fromUtf16(title), nullptr);
}

void TMAIN::registerWindow(const QString &entryName, const QString &title, WindowFactory factory)
{
    QAction *a = entry(entryName);
    if (!a)
        return;
    a->setProperty("windowTitle", title);
    disconnect(a, &QAction::triggered, this, nullptr);
    connect(a, &QAction::triggered, this, [this, title, factory] {
        if (factory)
            openChild(title, factory);
        else
            ShowChildWindow(title);
    });
}

QWidget *TMAIN::openChild(const QString &title, const WindowFactory &factory)
{
    if (ShowChildWindow(title)) {
        for (QMdiSubWindow *s : m_mdi->subWindowList())
            if (s->windowTitle() == title)
                return s->widget();
    }
    QWidget *w = nullptr;
    if (!ui::guard(this, [&] { w = factory(this); }) || !w)
        return nullptr;
    w->setWindowTitle(title);
    QMdiSubWindow *sub = m_mdi->addSubWindow(w);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowTitle(title);
    // A window that knows its place says so; the others cascade.
    const QVariant pos = w->property("childPosition");
    if (pos.isValid())
        sub->move(pos.toPoint());
    sub->show();
    return w;
}

bool TMAIN::ShowChildWindow(const QString &title)
{
    for (QMdiSubWindow *s : m_mdi->subWindowList(QMdiArea::CreationOrder)) {
        if (s->windowTitle() == title) {
            s->showNormal();
            s->setEnabled(true);
            s->show();
            m_mdi->setActiveSubWindow(s);
            s->setFocus();
            return true;
        }
    }
    return false;
}

QAction *TMAIN::entry(const QString &name) const
{
    return m_entries.value(name);
}

QToolButton *TMAIN::toolButton(const QString &name) const
{
    return m_buttons.value(name);
}

void TMAIN::triggerEntry(const QString &name)
{
    if (QAction *a = entry(name))
        a->trigger(); // a disabled entry does nothing
}

void TMAIN::buildToolBar()
{
    auto *bar = addToolBar(QStringLiteral("工具栏"));
    bar->setObjectName(QStringLiteral("RzToolbar1"));
    bar->setMovable(false);
    bar->setFixedHeight(64);
    bar->setIconSize(QSize(32, 32));
    for (const ButtonDef &b : buttonDefs()) {
        if (b.separatorBefore)
            bar->addSeparator();
        auto *btn = new QToolButton(bar);
        btn->setObjectName(QString::fromLatin1(b.name));
        btn->setText(QString::fromUtf16(b.caption));
        btn->setIcon(style()->standardIcon(b.icon));
        btn->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        // 60 x 60 as a rule; a long caption widens its button rather than being cut.
        btn->setFixedHeight(60);
        btn->setMinimumWidth(60);
        btn->setStyleSheet(QStringLiteral("QToolButton { color: blue; font-weight: bold; }"));
        btn->setAccessibleName(btn->text());
        QAction *holder = bar->addWidget(btn);
        holder->setVisible(b.visible);
        m_buttons.insert(btn->objectName(), btn);
        if (b.entry) {
            const QString e = QString::fromLatin1(b.entry);
            connect(btn, &QToolButton::clicked, this, [this, e] { triggerEntry(e); });
        }
    }
    connect(m_buttons.value("RzToolButton6"), &QToolButton::clicked, this, &QWidget::close);
    // "暂时离开" shows the temporary lock window; it arrives with that window.
}

void TMAIN::buildStatusBar()
{
    QStatusBar *sb = statusBar();
    m_statusPane = new QLabel(sb);
    m_statusPane->setObjectName(QStringLiteral("RzStatusPane1"));
    m_statusPane->setFixedWidth(248);
    m_statusPane->setAlignment(Qt::AlignCenter);
    m_marquee = new ui::Marquee(sb);
    m_marquee->setObjectName(QStringLiteral("RzMarqueeStatus2"));
    m_marquee->setFixedWidth(384);
    m_clock = new QLabel(sb);
    m_clock->setObjectName(QStringLiteral("RzClockStatus1"));
    m_clock->setFixedWidth(287);
    m_clock->setAlignment(Qt::AlignCenter);
    sb->addWidget(m_statusPane);
    sb->addWidget(m_marquee);
    sb->addWidget(m_clock);
    auto tick = [this] {
        const QLocale zh(QLocale::Chinese, QLocale::China);
        m_clock->setText(zh.toString(QDate::currentDate(), QLocale::LongFormat) + u' '
                         + core::timeToText(QTime::currentTime()));
    };
    tick();
    m_clockTimer.setInterval(1000);
    connect(&m_clockTimer, &QTimer::timeout, this, tick);
    m_clockTimer.start();
}

void TMAIN::buildBackground()
{
    QWidget *vp = m_mdi->viewport();
    m_image = new QLabel(vp);
    m_image->setObjectName(QStringLiteral("Image1"));
    m_image->setScaledContents(true);
    m_image->hide();
    const QString titleStyle = QStringLiteral("color: teal; background: transparent;");
    QFont f(QStringLiteral("华文行楷"));
    f.setPixelSize(60);
    m_label1 = new QLabel(vp);
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label2 = new QLabel(QStringLiteral("会 员 及 积 分 管 理 系 统"), vp);
    m_label2->setObjectName(QStringLiteral("Label2"));
    for (QLabel *l : {m_label1, m_label2}) {
        l->setFont(f);
        l->setStyleSheet(titleStyle);
        l->setAttribute(Qt::WA_TransparentForMouseEvents);
        l->adjustSize();
    }
    m_image->lower();
}

void TMAIN::centreTitles()
{
    const QSize outer = frameGeometry().size();
    const int w = outer.width(), h = outer.height();
    m_label1->adjustSize();
    m_label2->adjustSize();
    m_label1->move((w - m_label1->width()) / 2, (h - 4 * m_label1->height()) / 2);
    m_label2->move((w - m_label2->width()) / 2, (h - m_label2->height()) / 2);
    m_image->setGeometry(m_mdi->viewport()->rect());
}

void TMAIN::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    centreTitles();
}

bool TMAIN::startUp()
{
    m_backupDefaultName = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));

    const core::Settings ini;
    m_reminder = ini.readBool(QStringLiteral("提醒"), true);
    const QString store = ini.readString(QStringLiteral("店铺名称"), kDefaultStore);
    m_marquee->setText(ini.readString(QStringLiteral("广告语"), QString()));
    m_backgroundPath = ini.readString(QStringLiteral("背景图片"), core::defaultBackgroundPath());
    if (m_backgroundPath.isEmpty())
        m_backgroundPath = core::defaultBackgroundPath();

    setWindowTitle(store + kCaptionSuffix);
    m_label1->setText(store);

    m_image->hide();
    QPixmap pic;
    if (pic.load(m_backgroundPath)) {
        m_image->setPixmap(pic);
        m_image->show();
    }
    centreTitles();

    try {
        core::TDM1::instance()->connectTo(core::databasePath());
    } catch (const std::exception &) {
        ui::error(this, QStringLiteral("错误"), QStringLiteral("无法连接到指定的数据库！请重试！"));
        return false;
    }

    Tloginform login(this);
    if (ui::prompts().exec(&login) != QDialog::Accepted)
        return false;
    if (const QScreen *screen = this->screen())
        setGeometry(screen->availableGeometry()); // where no window manager maximises
    showMaximized();
    return true;
}

void TMAIN::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_shownOnce) {
        m_shownOnce = true;
        m_timer1.start();
        m_timer2.start();
    }
    centreTitles();
}

void TMAIN::onTimer1()
{
    m_timer1.stop();
    if (m_reminder)
        triggerEntry(QStringLiteral("N42"));
}

void TMAIN::onTimer2()
{
    m_timer2.stop();
    if (m_label1->text() == kDefaultStore) {
        ui::error(this, QStringLiteral("提示"), QStringLiteral("请设置您的店铺名称！"));
        triggerEntry(QStringLiteral("N7"));
    }
}

void TMAIN::setOperatorText(const QString &text)
{
    m_statusPane->setText(text);
}

void TMAIN::disableGovernedCommands()
{
    for (const auto &[flag, name] : flagEntries())
        entry(name)->setEnabled(false);
    for (const auto &[flag, name] : flagButtons())
        toolButton(name)->setEnabled(false);
}

void TMAIN::enableFlag(int flag)
{
    for (const auto &[f, name] : flagEntries())
        if (f == flag)
            entry(name)->setEnabled(true);
    for (const auto &[f, name] : flagButtons())
        if (f == flag)
            toolButton(name)->setEnabled(true);
}

void TMAIN::showHelp()
{
    const QString path = core::helpPath();
    if (QFileInfo::exists(path))
        ui::prompts().openDocument(QUrl::fromLocalFile(path));
}

void TMAIN::showAbout()
{
    TAbout about(this);
    ui::prompts().exec(&about);
}

void TMAIN::manualBackup()
{
    const QString name = ui::prompts().saveFileName(this, QStringLiteral("数据备份"), m_backupDefaultName,
                                                    QStringLiteral("BAK文件|*.BAK|所有文件|*.*"));
    if (name.isEmpty())
        return;
    const QString target = name + QStringLiteral(".bak");
    try {
        core::TDM1::instance()->ADOConnection1.backupTo(target);
    } catch (const std::exception &) {
        ui::error(this, QStringLiteral("错误！"), QStringLiteral("备份数据失败，请重试！!"));
        return;
    }
    ui::information(this, QStringLiteral("提示！"), QStringLiteral("备份数据成功！"));
}

void TMAIN::quitWithoutQuestion()
{
    m_noQuestion = true;
    close();
}

void TMAIN::closeEvent(QCloseEvent *event)
{
    if (m_noQuestion) {
        event->accept();
        return;
    }
    if (!ui::askOkCancel(this, QStringLiteral("系统提示"), QStringLiteral("确实要退出本系统吗？"))) {
        event->ignore();
        return;
    }
    bool copied = true;
    try {
        core::TDM1::instance()->ADOConnection1.backupTo(core::exitBackupPath(QDate::currentDate()));
    } catch (const std::exception &) {
        copied = false;
    }
    if (!copied) {
        ui::error(this, QStringLiteral("错误"), QStringLiteral("备份数据失败，请重试！"));
    } else if (ui::askOkCancel(
                   this, QStringLiteral("提示"),
                   QStringLiteral("退出系统前软件已经自动进行数据备份！备份文件名称为当前日期，备份文件存放地址为软件安装目录下的“backup”文件夹下。您还需要再次手动备份，以便保留备份文件副本吗？点击“确定”再次进行备份，点击“取消”不再次备份！"))) {
        triggerEntry(QStringLiteral("N3"));
    }
    event->accept();
}
