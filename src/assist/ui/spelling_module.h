#pragma once

#include "app/ui/app_context.h"
#include "assist/spell_checker.h"

#include <QObject>
#include <QStringList>
#include <QThread>

#include <atomic>
#include <vector>

class DocumentTypeModule;
class QAction;
class QMenu;
class SpellWorker;
class TMyMwCustomEdit;

// Spelling as one types: the misspelt words of the page's text get an underline of
// their own; the context menu on one offers suggestions, "Ignorer" and "Ajouter au
// dictionnaire". Outils > Orthographe turns it on and off (stored), and the language
// of text without a lang attribute is chosen in the menu beside it. The checking runs
// on a worker thread, a moment after the last change: the part on screen first,
// then the rest.
class SpellingModule : public QObject {
    Q_OBJECT
public:
    SpellingModule(AppContext &ctx, DocumentTypeModule *types);
    ~SpellingModule() override;

    // The editing component's indicator the underline uses (20 belongs to the page checker).
    static constexpr int Indicator = 21;
    // The pause after a change before the document is checked again.
    static constexpr int PauseMs = 350;

    bool isOn() const;
    // Checks the active document now rather than after the pause (tests, benchmarks).
    void checkNow();
    // The stored settings and where the personal word list lives (tests use their own).
    static QString settingsSection() { return QStringLiteral("Orthographe"); }
    void setPersonalWordsPath(const QString &path);

signals:
    // A pass over the whole document has been applied; the worker thread ran `microseconds`.
    void documentChecked(QObject *editor, qint64 microseconds);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    class EditorState;
    void startWorker();
    void stopWorker();
    void track(QObject *editor);
    void changed(QObject *editor);
    void requestPass(QObject *editor);
    // The pass over a copy of the editor's text, once the copy is whole.
    void sendPass(TMyMwCustomEdit *e, QByteArray text);
    void apply(QObject *editor, quint64 id, qsizetype from, qsizetype to,
               const std::vector<Spelling::Misspelling> &found, const QStringList &languages,
               bool complete, qint64 microseconds);
    void clearAll();
    void setOn(bool on);
    void fillLanguageMenu();
    void chooseLanguage(const QString &name);
    bool showMenu(QObject *editor, int position, const QPoint &globalPos);

    AppContext &m_ctx;
    DocumentTypeModule *m_types;
    QAction *m_toggle;
    QMenu *m_languageMenu;
    std::vector<Spelling::Dictionary> m_dictionaries;
    QString m_language;
    QString m_personalPath;
    QStringList m_languages{QString()}; // indicator value - 1 -> language tag
    QThread m_thread;
    SpellWorker *m_worker = nullptr;
    std::atomic<quint64> m_latest{0};
    quint64 m_serial = 0;
    bool m_ready = false; // the window has been drawn
};
