#pragma once

#include "members/txinhuiyuan.h"

#include <QDialog>

namespace members {

// The editing dialog: loads a member by card number, saves changes to the
// particulars or deletes the member row.
class Txiugai : public QDialog {
    Q_OBJECT
public:
    explicit Txiugai(QWidget *parent = nullptr);

    // Enter in the card box.
    void load();
    // The "保存" button.
    void save();
    // The "删除" button.
    void remove();

private:
    void setLoaded(bool loaded);

    MemberFields m_fields;
    QPushButton *m_save;
    QPushButton *m_delete;
};

} // namespace members
