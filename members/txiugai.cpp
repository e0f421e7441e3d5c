#include "members/txiugai.h"

#include "core/tdm1.h"
#include "widgets/prompts.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using core::TDM1;

namespace members {

Txiugai::Txiugai(QWidget *parent)
    : QDialog(parent)
    , m_fields(this)
{
    setObjectName(QStringLiteral("xiugai"));
    setWindowTitle(QStringLiteral("修改会员信息"));

    m_fields.layout->addWidget(redNote(QStringLiteral("直接刷卡或输入卡号后回车"), this, 16), 0, 1, 1, 3);
    m_save = makeButton(QStringLiteral("保存"), "BitBtn1", this);
    m_delete = makeButton(QStringLiteral("删除"), "BitBtn2", this);
    auto *quit = makeButton(QStringLiteral("退出"), "BitBtn4", this);
    m_fields.layOut(this, {m_save, m_delete, quit});

    const MemberFields &f = m_fields;
    auto *keys = new EnterKeys(this);
    auto next = [](QWidget *w) { return [w] { w->setFocus(); }; };
    keys->on(f.card, [this] { load(); });
    f.walkParticulars(keys);
    keys->on(f.referrerCard, next(f.remark));
    keys->on(f.referrerName, nullptr);
    keys->on(f.remark, [this] {
        if (m_save->isEnabled())
            m_save->setFocus();
    });

    connect(m_save, &QPushButton::clicked, this, &Txiugai::save);
    connect(m_delete, &QPushButton::clicked, this, &Txiugai::remove);
    connect(quit, &QPushButton::clicked, this, &QDialog::reject);

    m_fields.clear();
    setLoaded(false);
    m_fields.card->setFocus();
}

void Txiugai::setLoaded(bool loaded)
{
    m_fields.card->setReadOnly(loaded);
    m_save->setEnabled(loaded);
    m_delete->setEnabled(loaded);
}

void Txiugai::load()
{
    const QString card = m_fields.card->text();
    MemberFields &f = m_fields;
    ui::guard(this, [&] {
        const MemberLoad r = loadMember(*TDM1::instance(), card);
        switch (r.status) {
        case LoadStatus::Replaced:
            ui::prompts().message(this, ui::Icon::Question, QStringLiteral("系统提示"),
                                  QStringLiteral("此卡已经挂失，不能使用！"), ui::Ok);
            return;
        case LoadStatus::Unknown:
            ui::error(this, QStringLiteral("提示！"), QStringLiteral("此卡号不存在！"));
            return;
        case LoadStatus::Lost:
            ui::prompts().message(this, ui::Icon::Question, QStringLiteral("系统提示"),
                                  QStringLiteral("此卡已经口头挂失，不能使用!"), ui::Ok);
            return;
        case LoadStatus::Found:
            break;
        }
        // Filled in order: a stored date that is no date stops here with the
        // boxes before it filled and nothing unlocked.
        const StoredMember &m = r.member;
        f.name->setText(m.name);
        f.setSex(m.sex);
        f.postcode->setText(m.postcode);
        f.birthday->setDate(storedDate(m.birthday));
        f.address->setText(m.address);
        f.phone->setText(m.phone);
        f.mobile->setText(m.mobile);
        f.startDate->setDate(storedDate(m.startDate));
        f.referrerCard->setText(m.referrerCard);
        f.referrerName->setText(m.referrerName);
        f.remark->setText(m.remark);
        setLoaded(true);
        f.name->setFocus();
    });
}

void Txiugai::save()
{
    TDM1 &dm = *TDM1::instance();
    const MemberEntry m = m_fields.entry();
    if (!ui::runTransaction(this, dm.ADOConnection1, [&] { updateSteps(dm, m); }))
        return;
    ui::information(this, QStringLiteral("提示"), QStringLiteral("修改成功！"));
    m_fields.clear();
    setLoaded(false);
    m_fields.card->setFocus();
}

void Txiugai::remove()
{
    if (!ui::askOkCancel(this, QStringLiteral("提示"), QStringLiteral("确实要删除该会员？该操作不可恢复！请谨慎操作！")))
        return;
    const QString card = m_fields.card->text();
    if (!ui::guard(this, [&] { deleteMember(*TDM1::instance(), card); }))
        return;
    ui::information(this, QStringLiteral("提示"), QStringLiteral("删除成功！"));
    setLoaded(false);
    m_fields.card->setFocus();
}

} // namespace members
