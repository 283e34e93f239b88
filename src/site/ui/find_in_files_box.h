#pragma once

#include "site/file_search.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class SettingsStore;

// What the "Rechercher dans les fichiers" dialog asks for.
struct FindInFilesRequest {
    FileSearchOptions options;
    QString replacement;
    bool replace = false; // "Remplacer..." rather than "Rechercher"
};

// The dialog of the search in files: text, replacement, rules, folder, masks and
// excluded folders; its fields are remembered between uses.
class TRechercheFichiersBoite : public QDialog {
    Q_OBJECT
public:
    explicit TRechercheFichiersBoite(QWidget *parent);

    // Fills the fields from the stored settings; the folder is the one given.
    void load(const SettingsStore &store, const QString &folder, const QString &proposed);
    void save(SettingsStore &store) const;
    FindInFilesRequest request() const;

private:
    void chooseFolder();
    void finish(bool replace);

    QComboBox *m_text;
    QComboBox *m_replacement;
    QCheckBox *m_regex;
    QCheckBox *m_case;
    QCheckBox *m_words;
    QLineEdit *m_folder;
    QComboBox *m_masks;
    QLineEdit *m_excluded;
    bool m_replace = false;
};
