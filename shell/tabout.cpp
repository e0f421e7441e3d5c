#include "shell/tabout.h"

#include <QLabel>
#include <QVBoxLayout>

TAbout::TAbout(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Tabout"));
    setWindowTitle(QStringLiteral("关于本系统"));
    auto *lay = new QVBoxLayout(this);
    auto *title = new QLabel(QStringLiteral("青禾voduradodazoza"), this);
    title->setObjectName(QStringLiteral("Label1"));
    QFont f = title->font();
    f.setPointSize(f.pointSize() + 6);
    f.setBold(true);
    title->setFont(f);
    auto *version = new QLabel(QStringLiteral("程序版本：5.0.0.0"), this);
    version->setObjectName(QStringLiteral("Label2"));
    for (QLabel *l : {title, version}) {
        l->setAlignment(Qt::AlignCenter);
        l->setAttribute(Qt::WA_TransparentForMouseEvents);
        lay->addWidget(l);
    }
    lay->setContentsMargins(40, 30, 40, 30);
    setFixedSize(sizeHint());
}

void TAbout::mousePressEvent(QMouseEvent *)
{
    accept();
}
