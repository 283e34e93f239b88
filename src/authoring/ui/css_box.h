#pragma once

#include "authoring/css_commands.h"

#include <QDialog>
#include <QStringList>

#include <functional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The style-sheet dialog: an embedded style sheet, or a link to a file whose address
// is typed or chosen. The address box keeps the last six addresses for the run.
class TCSSBox : public QDialog {
    Q_OBJECT
public:
    explicit TCSSBox(QWidget *parent = nullptr);

    // Browsing: returns the address of the chosen file, empty when cancelled.
    void setBrowser(std::function<QString()> browser) { m_browser = std::move(browser); }

    bool external() const;
    QString address() const;
    const QStringList &history() const { return m_history; }
    // After OK: the address moves to the top of the history.
    void rememberAddress();

    // Runs at each showing: the address box is emptied.
    void prepareForShow();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void browse();

    QRadioButton *m_internal;
    QRadioButton *m_external;
    QComboBox *m_address;
    QStringList m_history;
    std::function<QString()> m_browser;
};

// The dialogs of the rule skeletons: a tag (TFormBalise), a class (TFormClasse) or an
// identifier (TFormIdent). OK stays disabled while the required box is empty.
class TCssRuleBox : public QDialog {
    Q_OBJECT
public:
    explicit TCssRuleBox(Authoring::CssRuleKind kind, QWidget *parent = nullptr);

    Authoring::CssRuleKind kind() const { return m_kind; }
    QString selector() const;
    QString name() const;
    bool restricted() const;
    // The opening of the skeleton under the tag case.
    QString opening(bool casse) const;

private:
    void updateOk();

    Authoring::CssRuleKind m_kind;
    QComboBox *m_selector;
    QLineEdit *m_name = nullptr;
    QCheckBox *m_restrict = nullptr;
    QPushButton *m_ok;
};
