#include "core/sqlquote.h"
#include "members/txinhuiyuan.h"
#include "members/txiugai.h"
#include "tests/support/programfixture.h"
#include "tests/support/wait.h"
#include "widgets/forms.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

using core::q;
using members::Txinhuiyuan;
using members::Txiugai;

namespace {

// Passes every box on to the scripted prompts and notes whether a write
// transaction was still open when it showed: a success box belongs after
// the commit, so an open transaction at that moment is a fault.
class CommitWitness : public ui::Prompts {
public:
    CommitWitness(ui::Prompts &inner, core::Database &db)
        : m_inner(inner), m_db(db), m_previous(install(this))
    {
    }
    ~CommitWitness() override { install(m_previous); }

    QList<bool> openAtBox;

    int message(QWidget *parent, ui::Icon icon, const QString &caption, const QString &text, int buttons) override
    {
        openAtBox << m_db.inTransaction();
        return m_inner.message(parent, icon, caption, text, buttons);
    }
    QString saveFileName(QWidget *p, const QString &c, const QString &d, const QString &f) override
    {
        return m_inner.saveFileName(p, c, d, f);
    }
    QString openFileName(QWidget *p, const QString &c, const QString &d, const QString &f) override
    {
        return m_inner.openFileName(p, c, d, f);
    }
    int exec(QDialog *dialog) override { return m_inner.exec(dialog); }
    void openDocument(const QUrl &url) override { m_inner.openDocument(url); }
    void printPreview(QWidget *p, const QString &c, const PaintPages &paint) override { m_inner.printPreview(p, c, paint); }

private:
    ui::Prompts &m_inner;
    core::Database &m_db;
    ui::Prompts *m_previous;
};

// The control that holds the keyboard focus (a date box or combo box rather
// than its inner line edit).
QWidget *focused()
{
    QWidget *w = QApplication::focusWidget();
    if (w && w->parentWidget()
        && (qobject_cast<QAbstractSpinBox *>(w->parentWidget()) || qobject_cast<QComboBox *>(w->parentWidget())))
        return w->parentWidget();
    return w;
}

QString focusedName()
{
    QWidget *w = focused();
    return w ? w->objectName() : QStringLiteral("<none>");
}

void pressEnter()
{
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
}

const QStringList kEditBoxes = {QStringLiteral("Edit1"), QStringLiteral("Edit2"), QStringLiteral("Edit3"),
                                QStringLiteral("Edit4"), QStringLiteral("Edit5"), QStringLiteral("Edit6"),
                                QStringLiteral("Edit7"), QStringLiteral("Edit8"), QStringLiteral("Edit9")};

} // namespace

class MembersTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        writeSettings(QStringLiteral("[程序参数]\r\n提醒=0\r\n"));
        ASSERT_TRUE(startAndLogIn());
        QApplication::setActiveWindow(mainWindow.get());
        prompts.clear();
    }

    Txinhuiyuan *openRegistration()
    {
        QWidget *w = mainWindow->openChild(QStringLiteral("新增/修改会员信息"),
                                           [](TMAIN *) { return new Txinhuiyuan; });
        QApplication::setActiveWindow(mainWindow.get());
        form = w;
        return qobject_cast<Txinhuiyuan *>(w);
    }

    // A member stored directly, with a category and points the windows must not touch.
    void addMember(const QString &card, const QString &name, double points = 0,
                   const QString &birthday = QStringLiteral("1980-05-06"))
    {
        exec(QStringLiteral("insert into 会员卡信息([会员卡号],[卡类别],[会员姓名],[性别],[邮编],[会员生日],[生日],[地址],"
                            "[固定电话],[手机],[积分],[起用日期],[引荐人卡号],[引荐人姓名],[备注],[口头挂失标志]) values "
                            "(%1,'金卡',%2,'男','100000',%3,'5-6','旧地址','010-1','139',%4,'2020-01-02','','','旧备注',false)")
                 .arg(q(card), q(name), q(birthday), core::qNumber(points)));
    }

    // One column of a member row as text ("" when there is no such member).
    QString field(const QString &card, const QString &column)
    {
        core::TDM1::select(dm->ADOall, QStringLiteral("select * from 会员卡信息 where 会员卡号=") + q(card));
        return dm->ADOall.asString(column);
    }
    QString count(const QString &table)
    {
        return scalar(QStringLiteral("select count(*) from ") + table);
    }

    template <typename T = QLineEdit>
    T *find(const QString &name) const
    {
        T *c = form->findChild<T *>(name);
        EXPECT_TRUE(c) << name.toStdString();
        return c;
    }
    QLineEdit *box(const char *name) const { return find(QString::fromLatin1(name)); }
    QDateEdit *picker(const char *name) const { return find<QDateEdit>(QString::fromLatin1(name)); }
    QComboBox *sexBox() const { return find<QComboBox>(QStringLiteral("ComboBox2")); }
    QPushButton *button(const char *name) const { return find<QPushButton>(QString::fromLatin1(name)); }

    void expectOneBox(const QString &text, const QString &caption, ui::Icon icon, const std::string &where = {})
    {
        ASSERT_EQ(prompts.shown.size(), 1) << where << " " << prompts.messageTexts().join(u'/').toStdString();
        EXPECT_EQ(prompts.shown[0].text, text) << where;
        EXPECT_EQ(prompts.shown[0].caption, caption) << where;
        EXPECT_EQ(prompts.shown[0].icon, icon) << where;
    }

    // Every box empty, both dates today, the first sex.
    void expectEmptyForm()
    {
        for (const QString &name : kEditBoxes)
            EXPECT_TRUE(find(name)->text().isEmpty()) << name.toStdString();
        EXPECT_EQ(sexBox()->currentText(), QStringLiteral("男"));
        EXPECT_EQ(picker("DateTimePicker1")->date(), QDate::currentDate());
        EXPECT_EQ(picker("DateTimePicker2")->date(), QDate::currentDate());
    }

    QWidget *form = nullptr;
};

// ---------------------------------------------------------------- registration

TEST_F(MembersTest, RegistrationOpensEmptyWithNamedInputs)
{
    Txinhuiyuan *w = openRegistration();
    ASSERT_TRUE(w);
    expectEmptyForm();
    EXPECT_EQ(sexBox()->count(), 2);
    EXPECT_EQ(sexBox()->itemText(1), QStringLiteral("女"));
    EXPECT_EQ(picker("DateTimePicker1")->displayFormat(), QStringLiteral("yyyy-MM-dd"));
    EXPECT_EQ(box("Edit7")->toolTip(), QStringLiteral("请刷卡或输入引荐人卡号后回车"));
    EXPECT_EQ(w->property("childPosition").toPoint(), QPoint(250, 0));
    EXPECT_TRUE(ui::unnamedInputs(w).isEmpty());
    EXPECT_EQ(box("Edit7")->accessibleName(), QStringLiteral("引荐人卡号"));
}

TEST_F(MembersTest, RegisteringStoresEveryParticularThenConfirmsAndResets)
{
    openRegistration();
    CommitWitness witness(prompts, dm->ADOConnection1);
    box("Edit1")->setFocus();
    QTest::keyClicks(box("Edit1"), QStringLiteral("A001"));
    pressEnter();
    EXPECT_EQ(focusedName(), QStringLiteral("Edit2"));
    box("Edit2")->setText(QStringLiteral("O'Neil 王"));
    sexBox()->setCurrentIndex(1);
    // An identity number in the 邮编 box gives the birthday when the box is left.
    box("Edit3")->setFocus();
    box("Edit3")->setText(QStringLiteral("11010119900605003X"));
    pressEnter();
    EXPECT_EQ(focusedName(), QStringLiteral("DateTimePicker1"));
    EXPECT_EQ(picker("DateTimePicker1")->date(), QDate(1990, 6, 5));
    box("Edit4")->setText(QStringLiteral("北京路1号"));
    box("Edit5")->setText(QStringLiteral("010-8888"));
    box("Edit6")->setText(QStringLiteral("13800000000"));
    picker("DateTimePicker2")->setDate(QDate(2024, 3, 1));
    box("Edit9")->setText(QStringLiteral("前台'代办'"));
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.messageTexts().join(u'/').toStdString();

    button("BitBtn1")->click();
    expectOneBox(QStringLiteral("新增会员成功！"), QStringLiteral("提示"), ui::Icon::Information);
    EXPECT_EQ(witness.openAtBox, QList<bool>{false});

    const QString card = QStringLiteral("A001");
    const struct { const char *column; QString value; } stored[] = {
        {"卡类别", QStringLiteral("积分卡")},
        {"会员姓名", QStringLiteral("O'Neil 王")},
        {"性别", QStringLiteral("女")},
        {"邮编", QStringLiteral("11010119900605003X")},
        {"会员生日", QStringLiteral("1990-06-05")},
        {"生日", QStringLiteral("6-5")},
        {"地址", QStringLiteral("北京路1号")},
        {"固定电话", QStringLiteral("010-8888")},
        {"手机", QStringLiteral("13800000000")},
        {"起用日期", QStringLiteral("2024-03-01")},
        {"引荐人卡号", QString()},
        {"引荐人姓名", QString()},
        {"备注", QStringLiteral("前台'代办'")},
        {"积分", QStringLiteral("0")},
        {"口头挂失标志", QStringLiteral("0")},
        {"身份证号", QString()},
    };
    for (const auto &s : stored)
        EXPECT_EQ(field(card, QString::fromUtf8(s.column)), s.value) << s.column;
    EXPECT_EQ(count(QStringLiteral("流水记录")), QStringLiteral("0"));

    expectEmptyForm();
    EXPECT_EQ(focusedName(), QStringLiteral("Edit1"));
}

TEST_F(MembersTest, AReferrerEarnsTheReferralPointsWithALedgerRow)
{
    exec(QStringLiteral("update 引荐积分 set 引荐积分=5"));
    addMember(QStringLiteral("A001"), QStringLiteral("D'Arcy"), 12.5);
    openRegistration();
    box("Edit1")->setText(QStringLiteral("B001"));
    box("Edit2")->setText(QStringLiteral("李四"));
    box("Edit7")->setFocus();
    QTest::keyClicks(box("Edit7"), QStringLiteral("A001"));
    pressEnter();
    EXPECT_EQ(box("Edit8")->text(), QStringLiteral("D'Arcy"));
    EXPECT_EQ(focusedName(), QStringLiteral("Edit9"));

    button("BitBtn1")->click();
    expectOneBox(QStringLiteral("新增会员成功！"), QStringLiteral("提示"), ui::Icon::Information);
    EXPECT_EQ(field(QStringLiteral("A001"), QStringLiteral("积分")), QStringLiteral("17.5"));
    EXPECT_EQ(field(QStringLiteral("B001"), QStringLiteral("积分")), QStringLiteral("0"));
    EXPECT_EQ(field(QStringLiteral("B001"), QStringLiteral("引荐人卡号")), QStringLiteral("A001"));
    EXPECT_EQ(field(QStringLiteral("B001"), QStringLiteral("引荐人姓名")), QStringLiteral("D'Arcy"));

    core::TDM1::select(dm->ADOall, QStringLiteral("select * from 流水记录"));
    ASSERT_EQ(dm->ADOall.recordCount(), 1);
    const core::Query &row = dm->ADOall;
    EXPECT_TRUE(row.value(QStringLiteral("编号")).isNull());
    EXPECT_EQ(row.asString(QStringLiteral("会员卡号")), QStringLiteral("A001"));
    EXPECT_EQ(row.asString(QStringLiteral("会员姓名")), QStringLiteral("D'Arcy"));
    EXPECT_EQ(row.asString(QStringLiteral("增减积分")), QStringLiteral("5"));
    EXPECT_EQ(row.asString(QStringLiteral("增减原因")), QStringLiteral("引荐会员"));
    EXPECT_EQ(row.asString(QStringLiteral("日期")), QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d$")).match(row.asString(QStringLiteral("时间"))).hasMatch());
    EXPECT_EQ(row.asString(QStringLiteral("经手人")), QStringLiteral("0001"));
}

TEST_F(MembersTest, RefusedRegistrationsWriteNothing)
{
    exec(QStringLiteral("update 引荐积分 set 引荐积分=5"));
    addMember(QStringLiteral("A001"), QStringLiteral("张三"), 10);
    // A retired number whose old member row still exists: the retirement is reported.
    addMember(QStringLiteral("R001"), QStringLiteral("旧卡"), 0);
    exec(QStringLiteral("insert into 挂失记录([旧卡号],[新卡号],[会员姓名]) values ('R001','R002','旧卡')"));
    openRegistration();

    const struct {
        const char *card;
        const char *referrer;
        const char *text;
        const char *caption;
        ui::Icon icon;
        bool cardEmptied;
        const char *focus;
    } cases[] = {
        {"", "", "卡号不能为空!", "系统提示", ui::Icon::Question, false, nullptr},
        {"R001", "", "此卡已经挂失，不能使用!", "系统提示", ui::Icon::Question, true, "Edit1"},
        {"A001", "", "此卡号已经存在！", "提示", ui::Icon::Error, true, "Edit1"},
        {"N001", "Z999", "引荐人卡号不存在！", "提示", ui::Icon::Error, false, "Edit7"},
        // The referrer check must not pass on a retired number either.
        {"N001", "R002", "引荐人卡号不存在！", "提示", ui::Icon::Error, false, "Edit7"},
    };
    for (const auto &c : cases) {
        const std::string where = std::string(c.card) + "/" + c.referrer;
        box("Edit9")->setFocus();
        box("Edit1")->setText(QString::fromLatin1(c.card));
        box("Edit2")->setText(QStringLiteral("新人"));
        box("Edit7")->setText(QString::fromLatin1(c.referrer));
        box("Edit8")->setText(QStringLiteral("手写"));
        prompts.clear();
        button("BitBtn1")->click();
        expectOneBox(QString::fromUtf8(c.text), QString::fromUtf8(c.caption), c.icon, where);
        EXPECT_EQ(box("Edit1")->text(), c.cardEmptied ? QString() : QString::fromLatin1(c.card)) << where;
        EXPECT_EQ(box("Edit2")->text(), QStringLiteral("新人")) << where;
        if (c.focus) {
            EXPECT_EQ(focusedName(), QString::fromLatin1(c.focus)) << where;
        }
        EXPECT_EQ(count(QStringLiteral("会员卡信息")), QStringLiteral("2")) << where;
        EXPECT_EQ(count(QStringLiteral("流水记录")), QStringLiteral("0")) << where;
        EXPECT_EQ(field(QStringLiteral("A001"), QStringLiteral("积分")), QStringLiteral("10")) << where;
    }
}

TEST_F(MembersTest, AFailingStatementRollsTheWholeRegistrationBack)
{
    exec(QStringLiteral("update 引荐积分 set 引荐积分=5"));
    addMember(QStringLiteral("A001"), QStringLiteral("张三"), 10);
    exec(QStringLiteral("create trigger ledger_locked before insert on 流水记录 begin select raise(abort, 'ledger locked'); end"));
    openRegistration();
    box("Edit1")->setText(QStringLiteral("B001"));
    box("Edit2")->setText(QStringLiteral("李四"));
    box("Edit7")->setText(QStringLiteral("A001"));
    box("Edit8")->setText(QStringLiteral("张三"));
    button("BitBtn1")->click();
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].icon, ui::Icon::None);
    EXPECT_EQ(prompts.shown[0].caption, QStringLiteral("voduradodazoza"));
    EXPECT_TRUE(prompts.shown[0].text.contains(QStringLiteral("ledger locked"))) << prompts.shown[0].text.toStdString();
    EXPECT_EQ(field(QStringLiteral("B001"), QStringLiteral("会员卡号")), QString());
    EXPECT_EQ(field(QStringLiteral("A001"), QStringLiteral("积分")), QStringLiteral("10"));
    EXPECT_FALSE(dm->ADOConnection1.inTransaction());
    EXPECT_EQ(box("Edit1")->text(), QStringLiteral("B001"));
    EXPECT_EQ(box("Edit8")->text(), QStringLiteral("张三"));
}

TEST_F(MembersTest, IdentityNumbersInThePostcodeBoxGiveTheBirthday)
{
    openRegistration();
    const QDate before(2001, 1, 1);
    const struct { const char *text; QDate expected; const char *error; } cases[] = {
        {"11010119900605003X", QDate(1990, 6, 5), nullptr},
        {"110101900605003", QDate(1990, 6, 5), nullptr},
        {"110101000228003", QDate(1900, 2, 28), nullptr},
        // 1900 was no leap year, 2000 was: the short form means the 1900s.
        {"110101000229003", before, "'1900-02-29' 不是有效的日期"},
        {"110101199013450012", before, "'1990-13-45' 不是有效的日期"},
        {"11010119900605003", before, nullptr}, // 17 characters
        {"100080", before, nullptr},
        {"", before, nullptr},
    };
    for (const auto &c : cases) {
        picker("DateTimePicker1")->setDate(before);
        box("Edit3")->setFocus();
        box("Edit3")->setText(QString::fromLatin1(c.text));
        prompts.clear();
        box("Edit4")->setFocus();
        EXPECT_EQ(picker("DateTimePicker1")->date(), c.expected) << c.text;
        if (c.error)
            expectOneBox(QString::fromUtf8(c.error), QStringLiteral("voduradodazoza"), ui::Icon::Error, c.text);
        else
            EXPECT_TRUE(prompts.shown.isEmpty()) << c.text;
        EXPECT_EQ(box("Edit3")->text(), QString::fromLatin1(c.text));
    }
}

TEST_F(MembersTest, LeavingTheCardBoxChecksTheNumber)
{
    addMember(QStringLiteral("A001"), QStringLiteral("张三"));
    exec(QStringLiteral("insert into 挂失记录([旧卡号],[新卡号]) values ('R001','R002')"));
    openRegistration();
    const struct { const char *card; const char *text; const char *caption; ui::Icon icon; } cases[] = {
        {"A001", "此卡号已经存在！", "提示", ui::Icon::Error},
        {"R001", "此卡已经挂失，不能使用!", "系统提示", ui::Icon::Question},
        {"N001", nullptr, nullptr, ui::Icon::None},
        {"", nullptr, nullptr, ui::Icon::None},
    };
    for (const auto &c : cases) {
        box("Edit1")->setFocus();
        box("Edit1")->setText(QString::fromLatin1(c.card));
        prompts.clear();
        box("Edit5")->setFocus();
        if (c.text) {
            expectOneBox(QString::fromUtf8(c.text), QString::fromUtf8(c.caption), c.icon, c.card);
            EXPECT_TRUE(box("Edit1")->text().isEmpty()) << c.card;
            EXPECT_EQ(focusedName(), QStringLiteral("Edit1")) << c.card;
        } else {
            EXPECT_TRUE(prompts.shown.isEmpty()) << c.card;
            EXPECT_EQ(box("Edit1")->text(), QString::fromLatin1(c.card));
            EXPECT_EQ(focusedName(), QStringLiteral("Edit5")) << c.card;
        }
    }
    // Going to another window is no leaving of the box.
    box("Edit1")->setFocus();
    box("Edit1")->setText(QStringLiteral("A001"));
    prompts.clear();
    QWidget other;
    QLineEdit elsewhere(&other);
    other.show();
    QApplication::setActiveWindow(&other);
    elsewhere.setFocus();
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_EQ(box("Edit1")->text(), QStringLiteral("A001"));
}

TEST_F(MembersTest, EnterWalksTheRegistrationBoxesAndLooksUpTheReferrer)
{
    addMember(QStringLiteral("A001"), QStringLiteral("张三"));
    openRegistration();
    box("Edit1")->setFocus();
    const QStringList order = {QStringLiteral("Edit1"), QStringLiteral("Edit2"), QStringLiteral("ComboBox2"),
                               QStringLiteral("Edit3"), QStringLiteral("DateTimePicker1"), QStringLiteral("Edit4"),
                               QStringLiteral("Edit5"), QStringLiteral("Edit6"), QStringLiteral("DateTimePicker2"),
                               QStringLiteral("Edit7")};
    for (int i = 0; i + 1 < order.size(); ++i) {
        ASSERT_EQ(focusedName(), order[i]);
        pressEnter();
    }
    EXPECT_EQ(focusedName(), QStringLiteral("Edit7"));
    EXPECT_EQ(sexBox()->count(), 2); // Enter adds nothing to the sex list
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.messageTexts().join(u'/').toStdString();

    // An unknown referrer: the box keeps the focus, the name box its text.
    box("Edit8")->setText(QStringLiteral("手写"));
    QTest::keyClicks(box("Edit7"), QStringLiteral("Z999"));
    pressEnter();
    expectOneBox(QStringLiteral("引荐人卡号不存在！"), QStringLiteral("提示"), ui::Icon::Error);
    EXPECT_EQ(focusedName(), QStringLiteral("Edit7"));
    EXPECT_EQ(box("Edit8")->text(), QStringLiteral("手写"));

    box("Edit7")->setText(QStringLiteral("A001"));
    pressEnter();
    EXPECT_EQ(box("Edit8")->text(), QStringLiteral("张三"));
    EXPECT_EQ(focusedName(), QStringLiteral("Edit9"));
    pressEnter();
    EXPECT_EQ(focusedName(), QStringLiteral("BitBtn1"));
    box("Edit8")->setFocus();
    pressEnter();
    EXPECT_EQ(focusedName(), QStringLiteral("BitBtn1"));
    // Enter on the focused button saves.
    box("Edit1")->setText(QStringLiteral("B001"));
    prompts.clear();
    pressEnter();
    EXPECT_EQ(prompts.messageTexts(), QStringList{QStringLiteral("新增会员成功！")});
    EXPECT_EQ(field(QStringLiteral("B001"), QStringLiteral("引荐人卡号")), QStringLiteral("A001"));
}

TEST_F(MembersTest, QuitClosesTheRegistrationWindow)
{
    openRegistration();
    ASSERT_EQ(mainWindow->mdiArea()->subWindowList().size(), 1);
    button("BitBtn4")->click();
    processUntil([&] { return mainWindow->mdiArea()->subWindowList().isEmpty(); });
    EXPECT_TRUE(mainWindow->mdiArea()->subWindowList().isEmpty());
}

// ---------------------------------------------------------------- editing

class EditingTest : public MembersTest {
protected:
    void SetUp() override
    {
        MembersTest::SetUp();
        addMember(QStringLiteral("A001"), QStringLiteral("张三"), 88.5);
        exec(QStringLiteral("insert into 团队([团队成员卡号],[团队成员姓名],[卡号],[姓名]) values ('A001','张三','T001','队长')"));
        exec(QStringLiteral("insert into 团队([团队成员卡号],[团队成员姓名],[卡号],[姓名]) values ('C001','别人','T001','队长')"));
        dialog = std::make_unique<Txiugai>();
        form = dialog.get();
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
    }
    void TearDown() override
    {
        dialog.reset();
        MembersTest::TearDown();
    }

    void swipe(const QString &card)
    {
        box("Edit1")->setFocus();
        box("Edit1")->setText(card);
        prompts.clear();
        QTest::keyClick(box("Edit1"), Qt::Key_Return);
    }
    bool loaded() const
    {
        return box("Edit1")->isReadOnly() && button("BitBtn1")->isEnabled() && button("BitBtn2")->isEnabled();
    }
    bool locked() const
    {
        return !box("Edit1")->isReadOnly() && !button("BitBtn1")->isEnabled() && !button("BitBtn2")->isEnabled();
    }
    QString team(const QString &member)
    {
        return scalar(QStringLiteral("select 团队成员姓名 || '/' || 卡号 || '/' || 姓名 from 团队 where 团队成员卡号=") + q(member));
    }

    std::unique_ptr<Txiugai> dialog;
};

TEST_F(EditingTest, OpensEmptyAndLocked)
{
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("修改会员信息"));
    expectEmptyForm();
    EXPECT_TRUE(locked());
    EXPECT_TRUE(ui::unnamedInputs(dialog.get()).isEmpty());
}

TEST_F(EditingTest, LoadingFillsTheBoxesAndUnlocks)
{
    exec(QStringLiteral("update 会员卡信息 set 性别='女',引荐人卡号='X001',引荐人姓名='引荐者',备注='VIP' where 会员卡号='A001'"));
    swipe(QStringLiteral("A001"));
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.messageTexts().join(u'/').toStdString();
    EXPECT_TRUE(loaded());
    EXPECT_EQ(focusedName(), QStringLiteral("Edit2"));
    const struct { const char *box; const char *value; } shown[] = {
        {"Edit2", "张三"}, {"Edit3", "100000"}, {"Edit4", "旧地址"}, {"Edit5", "010-1"}, {"Edit6", "139"},
        {"Edit7", "X001"}, {"Edit8", "引荐者"}, {"Edit9", "VIP"},
    };
    for (const auto &s : shown)
        EXPECT_EQ(box(s.box)->text(), QString::fromUtf8(s.value)) << s.box;
    EXPECT_EQ(sexBox()->currentText(), QStringLiteral("女"));
    EXPECT_EQ(picker("DateTimePicker1")->date(), QDate(1980, 5, 6));
    EXPECT_EQ(picker("DateTimePicker2")->date(), QDate(2020, 1, 2));
}

TEST_F(EditingTest, RefusedCardsLoadNothing)
{
    addMember(QStringLiteral("R001"), QStringLiteral("旧卡"));
    exec(QStringLiteral("insert into 挂失记录([旧卡号],[新卡号]) values ('R001','R002')"));
    addMember(QStringLiteral("L001"), QStringLiteral("挂失者"));
    exec(QStringLiteral("update 会员卡信息 set 口头挂失标志=true where 会员卡号='L001'"));
    const struct { const char *card; const char *text; const char *caption; ui::Icon icon; } cases[] = {
        {"R001", "此卡已经挂失，不能使用！", "系统提示", ui::Icon::Question},
        {"Z999", "此卡号不存在！", "提示！", ui::Icon::Error},
        {"L001", "此卡已经口头挂失，不能使用!", "系统提示", ui::Icon::Question},
    };
    for (const auto &c : cases) {
        swipe(QString::fromLatin1(c.card));
        expectOneBox(QString::fromUtf8(c.text), QString::fromUtf8(c.caption), c.icon, c.card);
        EXPECT_TRUE(locked()) << c.card;
        EXPECT_TRUE(box("Edit2")->text().isEmpty()) << c.card;
    }
}

TEST_F(EditingTest, AStoredBirthdayThatIsNoDateStopsTheLoading)
{
    exec(QStringLiteral("update 会员卡信息 set 会员生日='1980-02-30' where 会员卡号='A001'"));
    swipe(QStringLiteral("A001"));
    expectOneBox(QStringLiteral("'1980-02-30' 不是有效的日期"), QStringLiteral("voduradodazoza"), ui::Icon::Error);
    // Filled up to the birthday, nothing after it, nothing unlocked.
    EXPECT_EQ(box("Edit3")->text(), QStringLiteral("100000"));
    EXPECT_EQ(picker("DateTimePicker1")->date(), QDate::currentDate());
    EXPECT_TRUE(box("Edit4")->text().isEmpty());
    EXPECT_TRUE(locked());
}

TEST_F(EditingTest, SavingChangesTheParticularsAndTheTeamRowOnly)
{
    CommitWitness witness(prompts, dm->ADOConnection1);
    swipe(QStringLiteral("A001"));
    ASSERT_TRUE(loaded());
    box("Edit2")->setText(QStringLiteral("D'Arcy"));
    sexBox()->setCurrentIndex(1);
    picker("DateTimePicker1")->setDate(QDate(2000, 2, 1));
    box("Edit3")->setText(QStringLiteral("200000"));
    box("Edit7")->setText(QStringLiteral("B001"));
    box("Edit8")->setText(QStringLiteral("O'Hara"));
    box("Edit9")->setText(QStringLiteral("改'过"));
    picker("DateTimePicker2")->setDate(QDate(2021, 7, 8));
    prompts.clear();
    button("BitBtn1")->click();
    expectOneBox(QStringLiteral("修改成功！"), QStringLiteral("提示"), ui::Icon::Information);
    EXPECT_EQ(witness.openAtBox, QList<bool>{false});

    const struct { const char *column; const char *value; } stored[] = {
        {"会员姓名", "D'Arcy"}, {"性别", "女"},         {"会员生日", "2000-02-01"}, {"生日", "2-1"},
        {"邮编", "200000"},    {"引荐人卡号", "B001"}, {"引荐人姓名", "O'Hara"},   {"备注", "改'过"},
        {"起用日期", "2021-07-08"}, {"地址", "旧地址"},
        // Never touched by the editing.
        {"卡类别", "金卡"}, {"积分", "88.5"},
    };
    for (const auto &s : stored)
        EXPECT_EQ(field(QStringLiteral("A001"), QString::fromUtf8(s.column)), QString::fromUtf8(s.value)) << s.column;
    EXPECT_EQ(team(QStringLiteral("A001")), QStringLiteral("D'Arcy/B001/O'Hara"));
    EXPECT_EQ(team(QStringLiteral("C001")), QStringLiteral("别人/T001/队长"));

    expectEmptyForm();
    EXPECT_TRUE(locked());
}

TEST_F(EditingTest, AMemberWithoutATeamRowStillSaves)
{
    addMember(QStringLiteral("S001"), QStringLiteral("单人"));
    swipe(QStringLiteral("S001"));
    box("Edit2")->setText(QStringLiteral("单人改"));
    prompts.clear();
    button("BitBtn1")->click();
    expectOneBox(QStringLiteral("修改成功！"), QStringLiteral("提示"), ui::Icon::Information);
    EXPECT_EQ(field(QStringLiteral("S001"), QStringLiteral("会员姓名")), QStringLiteral("单人改"));
    EXPECT_EQ(count(QStringLiteral("团队")), QStringLiteral("2"));
}

TEST_F(EditingTest, AFailingTeamUpdateRollsTheMemberUpdateBack)
{
    exec(QStringLiteral("create trigger team_locked before update on 团队 begin select raise(abort, 'team locked'); end"));
    swipe(QStringLiteral("A001"));
    box("Edit2")->setText(QStringLiteral("新名"));
    prompts.clear();
    button("BitBtn1")->click();
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].icon, ui::Icon::None);
    EXPECT_EQ(prompts.shown[0].caption, QStringLiteral("voduradodazoza"));
    EXPECT_TRUE(prompts.shown[0].text.contains(QStringLiteral("team locked")));
    EXPECT_EQ(field(QStringLiteral("A001"), QStringLiteral("会员姓名")), QStringLiteral("张三"));
    EXPECT_EQ(box("Edit2")->text(), QStringLiteral("新名"));
    EXPECT_TRUE(loaded());
}

TEST_F(EditingTest, DeletingAsksFirstAndKeepsTheLedger)
{
    exec(QStringLiteral("insert into 流水记录([编号],[会员卡号],[会员姓名],[增减积分],[增减原因]) values ('0000000001','A001','张三',88.5,'购物消费')"));
    swipe(QStringLiteral("A001"));
    prompts.answer(ui::Cancel);
    button("BitBtn2")->click();
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].text, QStringLiteral("确实要删除该会员？该操作不可恢复！请谨慎操作！"));
    EXPECT_EQ(prompts.shown[0].caption, QStringLiteral("提示"));
    EXPECT_EQ(prompts.shown[0].icon, ui::Icon::Question);
    EXPECT_EQ(prompts.shown[0].buttons, ui::Ok | ui::Cancel);
    EXPECT_EQ(field(QStringLiteral("A001"), QStringLiteral("会员姓名")), QStringLiteral("张三"));
    EXPECT_TRUE(loaded());

    prompts.clear();
    button("BitBtn2")->click();
    ASSERT_EQ(prompts.messageTexts(),
              (QStringList{QStringLiteral("确实要删除该会员？该操作不可恢复！请谨慎操作！"), QStringLiteral("删除成功！")}));
    EXPECT_EQ(prompts.shown[1].caption, QStringLiteral("提示"));
    EXPECT_EQ(prompts.shown[1].icon, ui::Icon::Information);
    EXPECT_EQ(count(QStringLiteral("会员卡信息")), QStringLiteral("0"));
    EXPECT_EQ(count(QStringLiteral("流水记录")), QStringLiteral("1"));
    EXPECT_EQ(count(QStringLiteral("团队")), QStringLiteral("2"));
    EXPECT_TRUE(locked());
    EXPECT_EQ(box("Edit2")->text(), QStringLiteral("张三"));
}

TEST_F(EditingTest, EnterWalksTheBoxesToSave)
{
    box("Edit9")->setFocus();
    pressEnter();
    EXPECT_EQ(focusedName(), QStringLiteral("Edit9")); // nothing loaded: 保存 is disabled

    swipe(QStringLiteral("A001"));
    const QStringList order = {QStringLiteral("Edit2"), QStringLiteral("ComboBox2"), QStringLiteral("Edit3"),
                               QStringLiteral("DateTimePicker1"), QStringLiteral("Edit4"), QStringLiteral("Edit5"),
                               QStringLiteral("Edit6"), QStringLiteral("DateTimePicker2"), QStringLiteral("Edit7"),
                               QStringLiteral("Edit9"), QStringLiteral("BitBtn1")};
    for (int i = 0; i + 1 < order.size(); ++i) {
        ASSERT_EQ(focusedName(), order[i]);
        pressEnter();
    }
    EXPECT_EQ(focusedName(), QStringLiteral("BitBtn1"));
    EXPECT_TRUE(prompts.shown.isEmpty()) << prompts.messageTexts().join(u'/').toStdString();
    box("Edit2")->setText(QStringLiteral("键盘改"));
    button("BitBtn1")->setFocus();
    pressEnter();
    EXPECT_EQ(prompts.messageTexts(), QStringList{QStringLiteral("修改成功！")});
    EXPECT_EQ(field(QStringLiteral("A001"), QStringLiteral("会员姓名")), QStringLiteral("键盘改"));
    EXPECT_TRUE(dialog->isVisible()); // Enter never closes the dialog
}

TEST_F(MembersTest, TheEditingButtonOpensTheDialogModallyAndDropsItAfter)
{
    addMember(QStringLiteral("A001"), QStringLiteral("张三"));
    openRegistration();
    QPointer<QDialog> seen;
    bool editing = false;
    QString loadedName;
    prompts.dialog([&](QDialog *dlg) {
        seen = dlg;
        editing = qobject_cast<Txiugai *>(dlg) != nullptr;
        dlg->show();
        QApplication::setActiveWindow(dlg);
        auto *card = dlg->findChild<QLineEdit *>(QStringLiteral("Edit1"));
        card->setFocus();
        QTest::keyClicks(card, QStringLiteral("A001"));
        QTest::keyClick(card, Qt::Key_Return);
        loadedName = dlg->findChild<QLineEdit *>(QStringLiteral("Edit2"))->text();
        dlg->findChild<QPushButton *>(QStringLiteral("BitBtn4"))->click();
        return dlg->result();
    });
    button("BitBtn3")->click();
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].kind, QStringLiteral("dialog"));
    EXPECT_EQ(prompts.shown[0].caption, QStringLiteral("修改会员信息"));
    EXPECT_EQ(loadedName, QStringLiteral("张三"));
    EXPECT_TRUE(editing);
    EXPECT_TRUE(seen.isNull()); // destroyed once closed
}
