#pragma once

#include <QDialog>
#include <QStringList>

class QComboBox;
class QLineEdit;
class QPushButton;
class TMAIN;

// The login: operator number, name, password. A successful login records
// the operator and enables the commands the operator's flags allow.
class Tloginform : public QDialog {
    Q_OBJECT
public:
    explicit Tloginform(TMAIN *main);

    int wrongPasswords() const { return m_wrong; }

    // Case of A to Z ignored, everything else equal, same length.
    static bool passwordMatches(const QString &typed, const QString &stored);

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void loadOperators();
    void lookUpName();
    void onFocusChanged(QWidget *old, QWidget *now);
    int selectedIndex() const;
    void logIn();

    TMAIN *m_main;
    QComboBox *m_operator;
    QLineEdit *m_name;
    QLineEdit *m_password;
    QPushButton *m_enter;
    QPushButton *m_exit;
    QStringList m_passwords;
    int m_wrong = 0;
};
