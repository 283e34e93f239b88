#pragma once

#include "assist/spelling_words.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

// Spelling with Hunspell and the dictionaries the system installs (an .aff and a
// .dic file per language, the format every free office suite uses).
namespace Spelling {

struct Dictionary {
    QString name; // "fr_FR", "en_US", "fr"
    QString affPath;
    QString dicPath;
};

// Where systems install dictionaries; BALIZOR_DICTIONARY_PATH (folders separated
// by ':') comes first.
QStringList DictionaryFolders();
// The dictionaries found there, sorted by name, each name once.
std::vector<Dictionary> InstalledDictionaries(const QStringList &folders = DictionaryFolders());
// The dictionary of a language ("fr", "fr-CA", "en_GB"): the exact one, else the
// language's own ("fr"), else the first of that language; -1 when none.
int DictionaryFor(const std::vector<Dictionary> &dictionaries, const QString &language);
// "Français (France)" for "fr_FR".
QString DictionaryCaption(const QString &name);

// The user's own words, one per line (UTF-8), in a folder only the user can read.
QString PersonalWordsPath();
QStringList ReadPersonalWords(const QString &path);
// Adds a word to the file (folder 0700, file 0600, replaced atomically).
bool AddPersonalWord(const QString &path, const QString &word);

// A misspelt word found in a document.
struct Misspelling {
    qsizetype start = 0;
    qsizetype length = 0;
    int language = 0; // index into Checker::languages()
    friend bool operator==(const Misspelling &, const Misspelling &) = default;
};

// Checks words against the dictionaries of their languages. Words already
// looked up are remembered, so that a second pass over a document asks the
// dictionary only about the words that changed. Not thread-safe: one thread
// owns a checker (the dictionaries are loaded on first use).
class Checker {
public:
    explicit Checker(std::vector<Dictionary> dictionaries = InstalledDictionaries(),
                     const QString &defaultLanguage = QStringLiteral("fr"));
    ~Checker();
    Checker(const Checker &) = delete;
    Checker &operator=(const Checker &) = delete;

    const std::vector<Dictionary> &dictionaries() const { return m_dictionaries; }
    void setDefaultLanguage(const QString &language);
    QString defaultLanguage() const { return m_default; }
    // False when no dictionary serves the language ("" is the default one).
    bool canCheck(const QString &language);

    bool isCorrect(const QString &word, const QString &language);
    // Up to `max` replacements, the dictionary's best first.
    QStringList suggestions(const QString &word, const QString &language, int max = 8);

    // Words taken as right for the rest of the session, and the user's own words.
    void ignore(const QString &word);
    void addWord(const QString &word);
    void addWords(const QStringList &words);

    // Appends the misspelt words among words[from, to), in order.
    void check(const std::vector<Word> &words, size_t from, size_t to,
               std::vector<Misspelling> &out);
    // Appends the word when it is misspelt.
    void check(const Word &word, std::vector<Misspelling> &out);
    // The language tags misspellings name, by index (the first is the default: "").
    const QStringList &languages() const { return m_languages; }
    int languageIndex(const QString &language);

    // Words asked to the dictionaries since the checker was made (benchmarks, tests).
    qint64 lookups() const { return m_lookups; }

private:
    struct Loaded;
    Loaded *dictionaryOf(const QString &language);

    std::vector<Dictionary> m_dictionaries;
    QString m_default;
    std::vector<std::unique_ptr<Loaded>> m_loaded; // by dictionary index, made on first use
    QHash<QString, int> m_languageDictionary;      // language tag -> dictionary index or -1
    QSet<QString> m_ignored;
    QStringList m_added;
    QStringList m_languages{QString()};
    qint64 m_lookups = 0;
};

} // namespace Spelling
