#pragma once

#include "assist/spell_checker.h"

#include <QObject>
#include <QPointer>

#include <atomic>
#include <functional>
#include <memory>

class DocumentTypes;

// The spelling checker's thread side: it owns the dictionaries (Hunspell is not
// thread-safe) and its own copy of the document types' scanners, and answers
// requests queued to it one at a time. Every answer is handed back to the
// receiver's thread.
class SpellWorker : public QObject {
    Q_OBJECT
public:
    struct Pass {
        quint64 id = 0;
        QByteArray text; // the document's UTF-8 text when the pass was asked for
        int type = -1;   // the document-type table's entry, -1: plain text
        qsizetype visibleFrom = 0, visibleTo = 0;
    };
    struct Result {
        quint64 id = 0;
        qsizetype from = 0, to = 0; // the part of the text the misspellings cover
        std::vector<Spelling::Misspelling> found;
        QStringList languages;   // Checker::languages() after the part
        bool complete = false;   // the whole text
        qint64 microseconds = 0; // time the worker thread ran since the pass started
    };

    // `latest` is the newest pass asked for: an older one stops as soon as it sees it.
    SpellWorker(QObject *receiver, const std::atomic<quint64> *latest,
                std::vector<Spelling::Dictionary> dictionaries, const QString &personalPath);
    ~SpellWorker() override;

    // Called in the worker's thread (queue them with QMetaObject::invokeMethod).
    void check(const Pass &pass, const QString &defaultLanguage,
               const std::function<void(const Result &)> &done);
    void suggest(const QString &word, const QString &language,
                 const std::function<void(const QStringList &)> &done);
    void ignore(const QString &word);
    // Adds the word to the personal list and its file; done(false) when the file
    // could not be written.
    void addWord(const QString &word, const std::function<void(bool)> &done);

private:
    Spelling::Checker &checker();
    void answer(std::function<void()> f);

    QPointer<QObject> m_receiver;
    const std::atomic<quint64> *m_latest;
    std::vector<Spelling::Dictionary> m_dictionaries;
    QString m_personalPath;
    std::unique_ptr<Spelling::Checker> m_checker;
    std::unique_ptr<DocumentTypes> m_types;
};
