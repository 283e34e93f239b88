#include "assist/ui/scan_thread_form.h"

#include "app/ui/help.h"

#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QShortcut>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <Qsci/qsciscintilla.h>

TScanThreadForm::TScanThreadForm(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("TScanThreadForm"));
    setWindowTitle(QStringLiteral("Identificateurs"));
    setFixedSize(300, 340);

    auto *label = new QLabel(QStringLiteral("Liste des identificateurs :"), this);
    m_pages = new QTabWidget(this);
    const char *pages[3] = {"TBListe1", "TBListe2", "TBListe3"};
    const QString captions[3] = {QStringLiteral("Liste complète"),
                                 QStringLiteral("Eléments uniques"),
                                 QStringLiteral("Eléments associés")};
    for (int i = 0; i < 3; ++i) {
        auto *page = new QWidget(m_pages);
        page->setObjectName(QLatin1String(pages[i]));
        m_lists[i] = new QListWidget(page);
        m_lists[i]->setObjectName(QStringLiteral("ListBox%1").arg(i + 1));
        auto *l = new QVBoxLayout(page);
        l->setContentsMargins(2, 2, 2, 2);
        l->addWidget(m_lists[i]);
        m_pages->addTab(page, captions[i]);
    }
    m_ghost = new QListWidget(this);
    m_ghost->setObjectName(QStringLiteral("ListGhost"));
    m_ghost->hide();
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("ProgressBar1"));
    m_progress->setRange(0, 100);
    m_progress->setTextVisible(false);
    m_progress->setMaximumHeight(12);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_pages, 1);
    layout->addWidget(m_progress);

    auto *help = new QShortcut(QKeySequence::HelpContents, this);
    connect(help, &QShortcut::activated, this,
            [] { ShowHelpTopic(QStringLiteral("Ressources/identificateurs.htm")); });

    // Results are queued to this window; they die with it.
    m_thread = new TScanKeywordThread(this);
    connect(m_thread, &TScanKeywordThread::progressChanged, m_progress, &QProgressBar::setValue);
    connect(m_thread, &TScanKeywordThread::scanned, this, &TScanThreadForm::fill);
    m_thread->start();
}

TScanThreadForm::~TScanThreadForm() {
    m_thread->disconnect(this);
    m_thread->stop();
}

void TScanThreadForm::requestScan(const QByteArray &text) {
    m_scanning = true;
    m_lists[0]->clear();
    m_progress->setValue(0);
    m_progress->show();
    m_thread->request(text);
}

void TScanThreadForm::requestScan(QsciScintilla *editor) {
    m_scanning = true;
    m_lists[0]->clear();
    m_progress->setValue(0);
    m_progress->show();
    if (m_source != editor) {
        if (m_source) m_source->disconnect(this);
        m_source = editor;
        // A change while the text is being copied starts the copy again, once the change
        // is done (the editor reports changes before they are made).
        connect(editor, &QsciScintillaBase::SCN_MODIFIED, this, [this](int, int type) {
            if (!(type & (QsciScintillaBase::SC_MOD_BEFOREINSERT |
                          QsciScintillaBase::SC_MOD_BEFOREDELETE)))
                return;
            QTimer::singleShot(0, this, [this] {
                if (!m_copy.isNull() && m_source) requestScan(m_source.data());
            });
        });
    }
    m_copyLength = qsizetype(editor->SendScintilla(QsciScintillaBase::SCI_GETLENGTH));
    m_copy = QByteArray(""); // not null: a copy is under way
    m_copy.reserve(m_copyLength);
    if (!m_copyScheduled) {
        m_copyScheduled = true;
        QTimer::singleShot(0, this, &TScanThreadForm::copyStep);
    }
}

void TScanThreadForm::copyStep() {
    m_copyScheduled = false;
    if (!m_source || m_copy.isNull()) return;
    // A chunk never spans the editor's gap, so the text is never moved.
    constexpr qsizetype Chunk = 4 << 20;
    const qsizetype pos = m_copy.size();
    qsizetype n = std::min(Chunk, m_copyLength - pos);
    const qsizetype gap = qsizetype(m_source->SendScintilla(QsciScintillaBase::SCI_GETGAPPOSITION));
    if (pos < gap && pos + n > gap) n = gap - pos;
    if (n > 0) {
        const char *p = reinterpret_cast<const char *>(m_source->SendScintilla(
            QsciScintillaBase::SCI_GETRANGEPOINTER, (unsigned long)pos, long(n)));
        m_copy.append(p, n);
    }
    if (m_copy.size() < m_copyLength) {
        m_copyScheduled = true;
        QTimer::singleShot(0, this, &TScanThreadForm::copyStep);
        return;
    }
    QByteArray text;
    text.swap(m_copy); // null again: no copy under way
    m_thread->request(text);
}

void TScanThreadForm::fill(const IdentifierScan::Lists &lists) {
    m_scanning = false;
    m_progress->setValue(100);
    m_progress->hide();
    m_lists[0]->clear();
    m_lists[0]->addItems(lists.full);
    m_ghost->clear();
    m_ghost->addItems(lists.bare);
    m_lists[1]->clear();
    m_lists[1]->addItems(lists.unique);
    m_lists[2]->clear();
    m_lists[2]->addItems(lists.associated);
    emit listsFilled();
}
