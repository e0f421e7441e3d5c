#include "shell/tloginform.h"

#include "core/session.h"
#include "core/sqlquote.h"
#include "core/tdm1.h"
#include "shell/tmain.h"
#include "widgets/forms.h"
#include "widgets/prompts.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

using core::q;
using core::TDM1;

Tloginform::Tloginform(TMAIN *main)
    : QDialog(main)
    , m_main(main)
{
    setObjectName(QStringLiteral("loginform"));
    setWindowTitle(QStringLiteral("进入系统"));

    m_operator = new QComboBox(this);
    m_operator->setObjectName(QStringLiteral("cbusername"));
    m_operator->setEditable(true);
    m_operator->setInsertPolicy(QComboBox::NoInsert);
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("Edit1"));
    m_name->setReadOnly(true);
    m_password = new QLineEdit(this);
    m_password->setObjectName(QStringLiteral("edtpassword"));
    m_password->setEchoMode(QLineEdit::Password);
    auto *note = new QLabel(QStringLiteral("系统管理员初始密码为 空"), this);
    note->setObjectName(QStringLiteral("Label3"));
    m_enter = new QPushButton(QStringLiteral("进入"), this);
    m_enter->setObjectName(QStringLiteral("button1"));
    m_exit = new QPushButton(QStringLiteral("退出"), this);
    m_exit->setObjectName(QStringLiteral("button2"));
    m_enter->setAutoDefault(false);
    m_exit->setAutoDefault(false);

    auto *grid = new QGridLayout(this);
    const QList<QPair<QString, QWidget *>> rows = {{QStringLiteral("操作员编号"), m_operator},
                                                   {QStringLiteral("操作员姓名"), m_name},
                                                   {QStringLiteral("操作员密码"), m_password}};
    for (int i = 0; i < rows.size(); ++i) {
        auto *label = new QLabel(rows[i].first, this);
        ui::labelFor(label, rows[i].second);
        grid->addWidget(label, i, 0);
        grid->addWidget(rows[i].second, i, 1, 1, 2);
    }
    grid->addWidget(note, 3, 0, 1, 3);
    grid->addWidget(m_enter, 4, 1);
    grid->addWidget(m_exit, 4, 2);
    grid->setContentsMargins(24, 20, 24, 16);
    setFixedSize(340, sizeHint().height());

    connect(m_operator, &QComboBox::editTextChanged, this, &Tloginform::lookUpName);
    // A choice from the list moves on to the password; typing stays put so
    // that a multi-character number can be typed.
    connect(m_operator, &QComboBox::activated, this, [this] { m_password->setFocus(); });
    connect(qApp, &QApplication::focusChanged, this, &Tloginform::onFocusChanged);
    connect(m_enter, &QPushButton::clicked, this, &Tloginform::logIn);
    connect(m_exit, &QPushButton::clicked, this, &QDialog::reject);
    m_operator->lineEdit()->installEventFilter(this);
    m_password->installEventFilter(this);
}

void Tloginform::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Centred on the screen: the main window is still hidden behind it.
    if (const QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    loadOperators();
}

void Tloginform::loadOperators()
{
    const bool ok = ui::guard(this, [this] {
        QSignalBlocker block(m_operator);
        m_operator->clear();
        m_passwords.clear();
        core::Query &all = TDM1::instance()->ADOall;
        TDM1::select(all, QStringLiteral("Select * from 操作员"));
        for (all.first(); !all.eof(); all.next()) {
            m_operator->addItem(all.asString(QStringLiteral("操作员")));
            m_passwords << all.asString(QStringLiteral("密码"));
        }
        all.close();
        m_operator->setCurrentIndex(m_operator->count() > 0 ? 0 : -1);
    });
    Q_UNUSED(ok);
    m_password->clear();
    m_operator->setFocus();
    m_name->clear();
    lookUpName();
}

void Tloginform::lookUpName()
{
    ui::guard(this, [this] {
        core::Query &all = TDM1::instance()->ADOall;
        TDM1::select(all, QStringLiteral("Select * from 操作员 where 操作员=") + q(m_operator->currentText()));
        m_name->setText(all.asString(QStringLiteral("姓名")));
    });
}

int Tloginform::selectedIndex() const
{
    return m_operator->findText(m_operator->currentText(), Qt::MatchExactly | Qt::MatchCaseSensitive);
}

void Tloginform::onFocusChanged(QWidget *old, QWidget *now)
{
    if (!isVisible() || !old || (old != m_operator && old != m_operator->lineEdit()))
        return;
    if (now == m_operator || now == m_operator->lineEdit())
        return;
    const int i = m_operator->findText(m_operator->currentText(), Qt::MatchFixedString); // case-insensitive
    if (i >= 0) {
        if (m_operator->itemText(i) != m_operator->currentText())
            m_operator->setCurrentIndex(i), m_operator->setEditText(m_operator->itemText(i));
        return;
    }
    if (now == m_password) {
        ui::error(this, QStringLiteral("提示"), QStringLiteral("不存在的用户！"));
        m_operator->setFocus();
        m_operator->lineEdit()->selectAll();
    }
}

bool Tloginform::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == m_password) {
                logIn();
                return true;
            }
            if (watched == m_operator->lineEdit()) {
                m_password->setFocus();
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool Tloginform::passwordMatches(const QString &typed, const QString &stored)
{
    if (typed.size() != stored.size())
        return false;
    for (int i = 0; i < typed.size(); ++i) {
        QChar a = typed[i], b = stored[i];
        if (a >= u'a' && a <= u'z')
            a = QChar(a.unicode() - 32);
        if (b >= u'a' && b <= u'z')
            b = QChar(b.unicode() - 32);
        if (a != b)
            return false;
    }
    return true;
}

void Tloginform::logIn()
{
    const int i = selectedIndex();
    if (i < 0) {
        ui::error(this, QStringLiteral("提示"), QStringLiteral("不存在的用户！"));
        m_operator->setFocus();
        m_operator->lineEdit()->selectAll();
        return;
    }
    if (!passwordMatches(m_password->text(), m_passwords.value(i))) {
        ++m_wrong;
        if (m_wrong > 4) {
            ui::error(this, QStringLiteral("提示"), QStringLiteral("密码错误超过五次，软件将被关闭！"));
            reject();
            return;
        }
        ui::error(this, QStringLiteral("提示"), QStringLiteral("密码错误，请重新输入！"));
        m_password->clear();
        return;
    }
    core::loggedInOperator() = m_operator->currentText();
    core::loginPassword() = m_password->text();
    m_main->setOperatorText(QStringLiteral("当前用户为:") + core::loggedInOperator());
    m_main->disableGovernedCommands();
    ui::guard(this, [this] {
        core::Query &all = TDM1::instance()->ADOall;
        TDM1::select(all, QStringLiteral("select * from 操作员 where 操作员=") + q(core::loggedInOperator()));
        for (int flag = 1; flag <= 26; ++flag)
            if (all.asBool(QString::number(flag)))
                m_main->enableFlag(flag);
    });
    accept();
}
