#pragma once

#include "app/app_settings.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTabWidget;

// The search dialog; with 'replace' the replace dialog. Two pages: the current document
// and every open document; the texts and options are shared by both pages.
class TTextSearchDialog : public QDialog {
    Q_OBJECT
public:
    explicit TTextSearchDialog(QWidget *parent = nullptr, bool replace = false);

    // With one document or none, the page of all documents is removed.
    void setDocumentCount(int count);
    void setAllDocuments(bool on);
    bool allDocuments() const;

    void setFlags(const SearchFlags &f);
    SearchFlags flags() const;

    void setSearchText(const QString &text, const QStringList &history);
    QString searchText() const;
    void setReplaceText(const QString &text, const QStringList &history);
    QString replaceText() const;

    bool isReplace() const { return m_replace; }

private:
    void pageChanged(int index);
    QWidget *makePage(QGridLayout **grid);

    bool m_replace;
    QTabWidget *m_pages;
    QWidget *m_page1;
    QWidget *m_page2;
    QGridLayout *m_grid1;
    QGridLayout *m_grid2;
    QLabel *m_nbDocs;
    QLabel *m_searchLabel;
    QLabel *m_replaceLabel = nullptr;
    QComboBox *m_searchText;
    QComboBox *m_replaceText = nullptr;
    QRadioButton *m_up;
    QRadioButton *m_down;
    QCheckBox *m_caseSensitive;
    QCheckBox *m_wholeWords;
    QCheckBox *m_fromCursor;
    QCheckBox *m_selectedOnly;
    QCheckBox *m_regex;
};

class TTextReplaceDialog : public TTextSearchDialog {
    Q_OBJECT
public:
    explicit TTextReplaceDialog(QWidget *parent = nullptr) : TTextSearchDialog(parent, true) {}
};

// Asks before each replacement: Oui, Non, Tout, Annuler.
class TConfirmReplaceDialog : public QDialog {
    Q_OBJECT
public:
    enum Answer { Replace, Skip, ReplaceAll, Cancel };
    explicit TConfirmReplaceDialog(QWidget *parent = nullptr);
    void setSearchText(const QString &text);
    Answer answer() const { return m_answer; }
    void resetAnswer() { m_answer = Cancel; }

private:
    QLabel *m_label;
    Answer m_answer = Cancel;
};

// The go-to-line box: refuses a line beyond the last one and stays open.
class TBoiteLigne : public QDialog {
    Q_OBJECT
public:
    explicit TBoiteLigne(QWidget *parent = nullptr);
    void setup(int currentLine, int lineCount);
    // The line to go to once the box was accepted.
    int chosenLine() const;
    // False (after telling the user) when the typed line is beyond the last line.
    bool check();
    void accept() override;

private:
    QLabel *m_label;
    QLineEdit *m_edit;
    int m_lineCount = 0;
};
