#include "app/ui/editor_view.h"

#include "editor/ui/editor_accessibility.h"
#include "editor/ui/highlight_lexer.h"

#include <Qsci/qscicommand.h>
#include <Qsci/qscicommandset.h>
#include <Qsci/qscilexer.h>

#include <QContextMenuEvent>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>

#include <cstring>
#include <QUrl>

namespace {
int componentEolMode(LineBreak lb)
{
    switch (lb) {
    case LineBreak::Lf:
        return QsciScintillaBase::SC_EOL_LF;
    case LineBreak::Cr:
        return QsciScintillaBase::SC_EOL_CR;
    case LineBreak::CrLf:
        break;
    }
    return QsciScintillaBase::SC_EOL_CRLF;
}

// A shortcut in the form the editor's command table uses: the Qt key and modifiers.
int componentKey(const QKeySequence &seq)
{
    if (seq.isEmpty())
        return 0;
    const QKeyCombination kc = seq[0];
    int key = kc.key();
    switch (key) {
    case Qt::Key_Down: key = QsciScintillaBase::SCK_DOWN; break;
    case Qt::Key_Up: key = QsciScintillaBase::SCK_UP; break;
    case Qt::Key_Left: key = QsciScintillaBase::SCK_LEFT; break;
    case Qt::Key_Right: key = QsciScintillaBase::SCK_RIGHT; break;
    case Qt::Key_Home: key = QsciScintillaBase::SCK_HOME; break;
    case Qt::Key_End: key = QsciScintillaBase::SCK_END; break;
    case Qt::Key_PageUp: key = QsciScintillaBase::SCK_PRIOR; break;
    case Qt::Key_PageDown: key = QsciScintillaBase::SCK_NEXT; break;
    case Qt::Key_Delete: key = QsciScintillaBase::SCK_DELETE; break;
    case Qt::Key_Insert: key = QsciScintillaBase::SCK_INSERT; break;
    case Qt::Key_Escape: key = QsciScintillaBase::SCK_ESCAPE; break;
    case Qt::Key_Backspace: key = QsciScintillaBase::SCK_BACK; break;
    case Qt::Key_Tab: key = QsciScintillaBase::SCK_TAB; break;
    case Qt::Key_Return: key = QsciScintillaBase::SCK_RETURN; break;
    case Qt::Key_Enter: key = QsciScintillaBase::SCK_RETURN; break;
    default: break;
    }
    if (key > 0xFFFF)
        return -1; // the component cannot bind it
    // The component's key definitions carry the modifiers in the high word: without
    // the shift, Ctrl+Shift+L would name the plain key "O".
    const Qt::KeyboardModifiers m = kc.keyboardModifiers();
    int mods = 0;
    if (m & Qt::ShiftModifier)
        mods |= QsciScintillaBase::SCMOD_SHIFT;
    if (m & Qt::ControlModifier)
        mods |= QsciScintillaBase::SCMOD_CTRL;
    if (m & Qt::AltModifier)
        mods |= QsciScintillaBase::SCMOD_ALT;
    if (m & Qt::MetaModifier)
        mods |= QsciScintillaBase::SCMOD_META;
    return key | (mods << 16);
}
} // namespace

TMyMwCustomEdit::TMyMwCustomEdit(QWidget *parent) : QsciScintilla(parent)
{
    EditorAccessibility::install();
    setUtf8(true);
    setFrameShape(QFrame::StyledPanel);
    viewport()->setCursor(Qt::IBeamCursor);
    SendScintilla(SCI_SETEOLMODE, componentEolMode(lineBreak));
    SendScintilla(SCI_SETEXTRADESCENT, 1);
    SendScintilla(SCI_SETSCROLLWIDTHTRACKING, 1);
    SendScintilla(SCI_SETSCROLLWIDTH, 1);
    SendScintilla(SCI_SETLAYOUTCACHE, SC_CACHE_PAGE);
    // Only the notices sent before a change (and of markers and folds): the component's
    // own handling of the notices sent after one counts characters from the start of
    // the document, which makes a keystroke cost time in proportion to its size. The
    // "performed by" bits stay out of the mask, or every change would be reported.
    SendScintilla(SCI_SETMODEVENTMASK, SC_MOD_BEFOREINSERT | SC_MOD_BEFOREDELETE |
                                           SC_MOD_CHANGEMARKER | SC_MOD_CHANGEFOLD);
    setMarginWidth(1, 0);
    setMarginWidth(2, 0);

    // The word to the right of the caret goes with Ctrl+Delete.
    if (QsciCommand *c = standardCommands()->find(QsciCommand::DeleteWordRight))
        c->setKey(Qt::Key_Delete | Qt::CTRL);
    releaseKeys({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Y),
                 QKeySequence(Qt::CTRL | Qt::Key_T), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C),
                 QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_L),
                 QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_U),
                 QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_I)});

    connect(this, &QsciScintilla::cursorPositionChanged, this, &TMyMwCustomEdit::statusChange);
    connect(this, &QsciScintilla::selectionChanged, this, &TMyMwCustomEdit::statusChange);
    connect(this, &QsciScintilla::modificationChanged, this, &TMyMwCustomEdit::statusChange);
    // Loading or typing can add a digit to the line count: widen the line numbers.
    connect(this, &QsciScintillaBase::SCN_UPDATEUI, this, &TMyMwCustomEdit::fitGutter);
    // textChanged never comes (it hangs on the notices sent after a change, which the
    // mask above leaves out): those who follow the text listen to textChanging instead.
    connect(this, &QsciScintillaBase::SCN_MODIFIED, this,
            [this](int, int type, const char *, int length) {
                if ((type & (SC_MOD_BEFOREINSERT | SC_MOD_BEFOREDELETE)) && length > 0)
                    emit textChanging();
            });

    applyPreferences(m_prefs);
}

// ---- files ----

ReadStatus TMyMwCustomEdit::loadFromFile(const QString &path)
{
    LoadedText t;
    const ReadStatus st = readTextFile(path, &t);
    if (st == ReadStatus::Ok)
        setLoadedText(t);
    return st;
}

void TMyMwCustomEdit::setLoadedText(const LoadedText &t)
{
    encoding = t.encoding;
    lineBreak = t.lineBreak;
    const bool ro = isReadOnly();
    setReadOnly(false);
    SendScintilla(SCI_SETUNDOCOLLECTION, 0L);
    SendScintilla(SCI_CLEARALL);
    // Room to type: a buffer with no free space left is copied whole into a larger
    // one at the first keystroke (a long stall on a large file).
    const qsizetype room = std::max<qsizetype>(t.utf8.size() / 6, 64 * 1024);
    SendScintilla(SCI_ALLOCATE, static_cast<unsigned long>(t.utf8.size() + room));
    SendScintilla(SCI_APPENDTEXT, static_cast<unsigned long>(t.utf8.size()), t.utf8.constData());
    SendScintilla(SCI_SETUNDOCOLLECTION, 1L);
    SendScintilla(SCI_SETEOLMODE, componentEolMode(lineBreak));
    setReadOnly(ro);
    clearUndoHistory();
    setModified(false);
    fitGutter();
}

void TMyMwCustomEdit::reloadText(const LoadedText &t) {
    encoding = t.encoding;
    lineBreak = t.lineBreak;
    const bool ro = isReadOnly();
    setReadOnly(false);
    SendScintilla(SCI_BEGINUNDOACTION);
    SendScintilla(SCI_CLEARALL);
    SendScintilla(SCI_APPENDTEXT, static_cast<unsigned long>(t.utf8.size()), t.utf8.constData());
    SendScintilla(SCI_ENDUNDOACTION);
    SendScintilla(SCI_SETEOLMODE, componentEolMode(lineBreak));
    setReadOnly(ro);
    setModified(false);
    fitGutter();
}

void TMyMwCustomEdit::markModified() {
    if (isModified()) return;
    // The component has no "modified" switch: a save point is put on an empty
    // step that is undone, so that the next empty step drops the branch that held
    // it. No text changes; the save point can no longer be reached by undo.
    SendScintilla(SCI_ADDUNDOACTION, 0L, 0L);
    SendScintilla(SCI_SETSAVEPOINT);
    SendScintilla(SCI_UNDO);
    SendScintilla(SCI_ADDUNDOACTION, 0L, 0L);
}

bool TMyMwCustomEdit::fileBytes(QByteArray *out, qsizetype *badOffset) const
{
    return encodeForFile(utf8Data(), utf8Length(), encoding, lineBreak, out, badOffset);
}

// ---- text ----

void TMyMwCustomEdit::copyUtf8(char *to, qsizetype from, qsizetype n) const
{
    if (n <= 0)
        return;
    auto *self = const_cast<TMyMwCustomEdit *>(this);
    std::memcpy(to,
                reinterpret_cast<const char *>(self->SendScintilla(
                    SCI_GETRANGEPOINTER, static_cast<unsigned long>(from), static_cast<long>(n))),
                size_t(n));
}

qsizetype TMyMwCustomEdit::gapPosition() const
{
    return const_cast<TMyMwCustomEdit *>(this)->SendScintilla(SCI_GETGAPPOSITION);
}

QByteArray TMyMwCustomEdit::utf8Copy() const
{
    auto *self = const_cast<TMyMwCustomEdit *>(this);
    const long length = self->SendScintilla(SCI_GETLENGTH);
    const long gap = qBound(0L, self->SendScintilla(SCI_GETGAPPOSITION), length);
    QByteArray out(length, Qt::Uninitialized);
    // Each side of the gap is contiguous: neither range makes the component move it.
    if (gap > 0)
        std::memcpy(out.data(),
                    reinterpret_cast<const char *>(self->SendScintilla(
                        SCI_GETRANGEPOINTER, 0UL, static_cast<long>(gap))),
                    size_t(gap));
    if (length > gap)
        std::memcpy(out.data() + gap,
                    reinterpret_cast<const char *>(self->SendScintilla(
                        SCI_GETRANGEPOINTER, static_cast<unsigned long>(gap), length - gap)),
                    size_t(length - gap));
    return out;
}

const char *TMyMwCustomEdit::utf8Data() const
{
    return reinterpret_cast<const char *>(
        const_cast<TMyMwCustomEdit *>(this)->SendScintilla(SCI_GETCHARACTERPOINTER));
}

qsizetype TMyMwCustomEdit::utf8Length() const { return SendScintilla(SCI_GETLENGTH); }

int TMyMwCustomEdit::lineStartPos(int line0) const
{
    return int(SendScintilla(SCI_POSITIONFROMLINE, line0));
}

int TMyMwCustomEdit::lineEndPos(int line0) const
{
    return int(SendScintilla(SCI_GETLINEENDPOSITION, line0));
}

QString TMyMwCustomEdit::lineTextRaw(int line0) const
{
    const int a = lineStartPos(line0);
    const int b = lineEndPos(line0);
    return QString::fromUtf8(utf8Data() + a, b - a);
}

int TMyMwCustomEdit::lineCountAsList() const
{
    const int n = int(SendScintilla(SCI_GETLINECOUNT));
    // A final line break does not start a further line; an empty text has none.
    if (lineStartPos(n - 1) == utf8Length())
        return n - 1;
    return n;
}

QString TMyMwCustomEdit::lineAt(int index) const { return lineTextRaw(index); }

QString TMyMwCustomEdit::textCrLf() const
{
    const int n = lineCountAsList();
    QString s;
    s.reserve(int(utf8Length()) + n);
    for (int i = 0; i < n; ++i) {
        if (i)
            s += QLatin1String("\r\n");
        s += lineTextRaw(i);
    }
    if (n && lineStartPos(n) == utf8Length() && n < int(SendScintilla(SCI_GETLINECOUNT)))
        s += QLatin1String("\r\n");
    return s;
}

void TMyMwCustomEdit::replaceLine(int index, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    SendScintilla(SCI_BEGINUNDOACTION);
    SendScintilla(SCI_SETTARGETSTART, lineStartPos(index));
    SendScintilla(SCI_SETTARGETEND, lineEndPos(index));
    SendScintilla(SCI_REPLACETARGET, static_cast<unsigned long>(bytes.size()), bytes.constData());
    SendScintilla(SCI_ENDUNDOACTION);
}

void TMyMwCustomEdit::insertLine(int index, const QString &text)
{
    const int count = lineCountAsList();
    QByteArray bytes = text.toUtf8();
    int pos;
    if (index < count) {
        pos = lineStartPos(index);
        bytes += lineBreakBytes(lineBreak);
    } else {
        // After the last line: make sure that line is ended first.
        pos = int(utf8Length());
        const char last = pos > 0 ? utf8Data()[pos - 1] : '\n';
        if (last != '\n' && last != '\r')
            bytes.prepend(lineBreakBytes(lineBreak));
        bytes += lineBreakBytes(lineBreak);
    }
    SendScintilla(SCI_INSERTTEXT, pos, bytes.constData());
}

void TMyMwCustomEdit::deleteLine(int index)
{
    const int a = lineStartPos(index);
    const int b = lineStartPos(index + 1);
    SendScintilla(SCI_DELETERANGE, a, std::max(b, lineEndPos(index)) - a);
}

bool TMyMwCustomEdit::replaceAllText(const QString &text)
{
    return replaceAllUtf8(toDocumentBreaks(text).toUtf8());
}

bool TMyMwCustomEdit::replaceAllUtf8(const QByteArray &bytes)
{
    if (bytes.size() == utf8Length() && memcmp(bytes.constData(), utf8Data(), size_t(bytes.size())) == 0)
        return false;
    SendScintilla(SCI_BEGINUNDOACTION);
    SendScintilla(SCI_SETTARGETSTART, 0L);
    SendScintilla(SCI_SETTARGETEND, static_cast<unsigned long>(utf8Length()));
    SendScintilla(SCI_REPLACETARGET, static_cast<unsigned long>(bytes.size()), bytes.constData());
    SendScintilla(SCI_GOTOPOS, static_cast<unsigned long>(bytes.size()));
    SendScintilla(SCI_ENDUNDOACTION);
    return true;
}

QString TMyMwCustomEdit::eolString() const { return QString::fromLatin1(lineBreakBytes(lineBreak)); }

QString TMyMwCustomEdit::toDocumentBreaks(const QString &text) const
{
    if (lineBreak == LineBreak::CrLf)
        return text;
    QString s = text;
    s.replace(QLatin1String("\r\n"), eolString());
    return s;
}

// ---- positions ----

int TMyMwCustomEdit::positionFromXY(const TextPos &p) const
{
    const int lines = int(SendScintilla(SCI_GETLINECOUNT));
    const int line0 = std::clamp(p.line - 1, 0, lines - 1);
    const int start = lineStartPos(line0);
    const int end = lineEndPos(line0);
    if (p.col <= 1)
        return start;
    const int pos = int(SendScintilla(SCI_POSITIONRELATIVE, start, p.col - 1));
    if (pos == 0 || pos > end)
        return end;
    return pos;
}

TextPos TMyMwCustomEdit::xyFromPosition(int pos) const
{
    const int line0 = int(SendScintilla(SCI_LINEFROMPOSITION, pos));
    const int start = lineStartPos(line0);
    return {int(SendScintilla(SCI_COUNTCHARACTERS, start, pos)) + 1, line0 + 1};
}

TextPos TMyMwCustomEdit::caretXY() const
{
    TextPos p = xyFromPosition(int(SendScintilla(SCI_GETCURRENTPOS)));
    p.col += int(SendScintilla(SCI_GETSELECTIONNCARETVIRTUALSPACE, 0L));
    return p;
}

void TMyMwCustomEdit::setCaretXY(const TextPos &p)
{
    const int pos = positionFromXY(p);
    SendScintilla(SCI_GOTOPOS, pos);
}

void TMyMwCustomEdit::ensureCaretVisible() { SendScintilla(SCI_SCROLLCARET); }

int TMyMwCustomEdit::topLine() const { return firstVisibleLine() + 1; }

void TMyMwCustomEdit::setTopLine(int line) { setFirstVisibleLine(std::max(0, line - 1)); }

QPoint TMyMwCustomEdit::clientPoint(const TextPos &p) const
{
    const int pos = positionFromXY(p);
    return {int(SendScintilla(SCI_POINTXFROMPOSITION, 0UL, static_cast<long>(pos))),
            int(SendScintilla(SCI_POINTYFROMPOSITION, 0UL, static_cast<long>(pos)))};
}

int TMyMwCustomEdit::lineHeight() const { return int(SendScintilla(SCI_TEXTHEIGHT, 0L)); }

int TMyMwCustomEdit::charWidth() const
{
    return int(SendScintilla(SCI_TEXTWIDTH, STYLE_DEFAULT, "W"));
}

// ---- selection ----

bool TMyMwCustomEdit::selAvail() const
{
    return SendScintilla(SCI_GETSELECTIONSTART) != SendScintilla(SCI_GETSELECTIONEND);
}

TextPos TMyMwCustomEdit::blockBegin() const
{
    return xyFromPosition(int(SendScintilla(SCI_GETSELECTIONSTART)));
}

TextPos TMyMwCustomEdit::blockEnd() const
{
    return xyFromPosition(int(SendScintilla(SCI_GETSELECTIONEND)));
}

void TMyMwCustomEdit::selectRange(const TextPos &from, const TextPos &to)
{
    SendScintilla(SCI_SETSEL, positionFromXY(from), positionFromXY(to));
}

QString TMyMwCustomEdit::selText() const
{
    const int a = int(SendScintilla(SCI_GETSELECTIONSTART));
    const int b = int(SendScintilla(SCI_GETSELECTIONEND));
    if (columnMode() && selAvail()) {
        const int len = int(SendScintilla(SCI_GETSELTEXT, 0UL, static_cast<const char *>(nullptr)));
        QByteArray buf(len + 1, '\0');
        SendScintilla(SCI_GETSELTEXT, 0UL, buf.data());
        return QString::fromUtf8(buf.constData());
    }
    return QString::fromUtf8(utf8Data() + a, b - a);
}

void TMyMwCustomEdit::setSelText(const QString &text)
{
    const QByteArray bytes = toDocumentBreaks(text).toUtf8();
    SendScintilla(SCI_BEGINUNDOACTION);
    const int a = int(SendScintilla(SCI_GETSELECTIONSTART));
    const int b = int(SendScintilla(SCI_GETSELECTIONEND));
    SendScintilla(SCI_SETTARGETSTART, a);
    SendScintilla(SCI_SETTARGETEND, b);
    SendScintilla(SCI_REPLACETARGET, static_cast<unsigned long>(bytes.size()), bytes.constData());
    SendScintilla(SCI_GOTOPOS, static_cast<unsigned long>(a + bytes.size()));
    SendScintilla(SCI_ENDUNDOACTION);
}

QString TMyMwCustomEdit::textRange(const TextPos &from, const TextPos &to) const
{
    const int a = positionFromXY(from);
    const int b = positionFromXY(to);
    return QString::fromUtf8(utf8Data() + std::min(a, b), std::abs(b - a));
}

void TMyMwCustomEdit::replaceRange(const TextPos &from, const TextPos &to, const QString &text)
{
    const QByteArray bytes = toDocumentBreaks(text).toUtf8();
    const int a = std::min(positionFromXY(from), positionFromXY(to));
    const int b = std::max(positionFromXY(from), positionFromXY(to));
    SendScintilla(SCI_BEGINUNDOACTION);
    SendScintilla(SCI_SETTARGETSTART, a);
    SendScintilla(SCI_SETTARGETEND, b);
    SendScintilla(SCI_REPLACETARGET, static_cast<unsigned long>(bytes.size()), bytes.constData());
    SendScintilla(SCI_GOTOPOS, static_cast<unsigned long>(a + bytes.size()));
    SendScintilla(SCI_ENDUNDOACTION);
}

TextPos TMyMwCustomEdit::documentEnd() const { return xyFromPosition(int(utf8Length())); }

int TMyMwCustomEdit::selStartOffset() const
{
    return int(SendScintilla(SCI_COUNTCHARACTERS, 0, SendScintilla(SCI_GETSELECTIONSTART)));
}

int TMyMwCustomEdit::selEndOffset() const
{
    return int(SendScintilla(SCI_COUNTCHARACTERS, 0, SendScintilla(SCI_GETSELECTIONEND)));
}

bool TMyMwCustomEdit::columnMode() const
{
    return SendScintilla(SCI_GETSELECTIONMODE) == SC_SEL_RECTANGLE;
}

void TMyMwCustomEdit::setColumnMode(bool on)
{
    SendScintilla(SCI_SETSELECTIONMODE, on ? SC_SEL_RECTANGLE : SC_SEL_STREAM);
    // Setting the mode starts a selection that follows the caret; keep the caret still.
    SendScintilla(SCI_SETSELECTIONMODE, on ? SC_SEL_RECTANGLE : SC_SEL_STREAM);
}

// ---- undo ----

void TMyMwCustomEdit::undoGroupBreak()
{
    // An empty action ends the typing group, so the next change starts a new step.
    SendScintilla(SCI_BEGINUNDOACTION);
    SendScintilla(SCI_ENDUNDOACTION);
}

void TMyMwCustomEdit::newLine() { SendScintilla(SCI_NEWLINE); }

void TMyMwCustomEdit::clearUndoHistory() { SendScintilla(SCI_EMPTYUNDOBUFFER); }

bool TMyMwCustomEdit::overwriteMode() const { return SendScintilla(SCI_GETOVERTYPE) != 0; }

// ---- preferences ----

void TMyMwCustomEdit::applyPreferences(const EditorPreferences &p)
{
    m_prefs = p;
    setAutoIndent(p.autoIndent);
    setIndentationsUseTabs(!p.tabsToSpaces);
    setTabWidth(p.tabWidth() > 0 ? p.tabWidth() : 4);
    setTabIndents(true);
    SendScintilla(SCI_SETVIRTUALSPACEOPTIONS,
                  p.scrollPastEol ? (SCVS_RECTANGULARSELECTION | SCVS_USERACCESSIBLE)
                                  : SCVS_RECTANGULARSELECTION);
    // Home goes first to the first non-blank character, or straight to column 1.
    if (QsciCommand *c = standardCommands()->find(QsciCommand::VCHome))
        c->setKey(p.enhanceHomeKey ? Qt::Key_Home : 0);
    if (QsciCommand *c = standardCommands()->find(QsciCommand::Home))
        c->setKey(p.enhanceHomeKey ? 0 : Qt::Key_Home);
    if (QsciCommand *c = standardCommands()->find(QsciCommand::VCHomeExtend))
        c->setKey(p.enhanceHomeKey ? (Qt::Key_Home | Qt::SHIFT) : 0);
    if (QsciCommand *c = standardCommands()->find(QsciCommand::HomeExtend))
        c->setKey(p.enhanceHomeKey ? 0 : (Qt::Key_Home | Qt::SHIFT));

    const int edge = p.rightEdge();
    if (edge > 0) {
        setEdgeMode(EdgeLine);
        setEdgeColumn(edge);
    } else {
        setEdgeMode(EdgeNone);
    }

    const QFont font = editorFont();
    setFont(font);
    if (auto *colouring = qobject_cast<HighlightLexer *>(lexer()))
        colouring->setBaseFont(font);
    setMarginsFont(font);

    if (p.showGutter) {
        setMarginLineNumbers(0, p.showLineNumbers);
        setMarginWidth(0, std::max(p.gutterWidth(), 0));
        m_gutterDigits = 0;
        fitGutter();
    } else {
        setMarginLineNumbers(0, false);
        setMarginWidth(0, 0);
    }
}

void TMyMwCustomEdit::fitGutter()
{
    // Automatic gutter: wide enough for the largest line number (the count is kept
    // by the component, so asking is cheap).
    if (!m_prefs.showGutter || !m_prefs.showLineNumbers)
        return;
    const int digits = int(QString::number(lines()).size());
    if (digits == m_gutterDigits)
        return;
    m_gutterDigits = digits;
    const QString nines(digits + 1, QLatin1Char('9'));
    const int width = QFontMetrics(editorFont()).horizontalAdvance(nines) + 6;
    setMarginWidth(0, std::max(width, std::max(m_prefs.gutterWidth(), 0)));
}

QFont TMyMwCustomEdit::editorFont() const
{
    QFont font(m_prefs.policeNom, m_prefs.policeTaille > 0 ? m_prefs.policeTaille : 10);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

void TMyMwCustomEdit::setShowFormattingChars(bool on)
{
    setWhitespaceVisibility(on ? WsVisible : WsInvisible);
    setEolVisibility(on);
}

void TMyMwCustomEdit::releaseKeys(const QList<QKeySequence> &keys)
{
    for (const QKeySequence &k : keys) {
        if (k.isEmpty())
            continue;
        const QKeyCombination kc = k[0];
        m_releasedKeys.insert(kc.toCombined());
        // The key tables know no keypad: a keypad key is only let through (event()),
        // so that the same key on the main keyboard keeps its editing command.
        if (kc.keyboardModifiers() & Qt::KeypadModifier)
            continue;
        // QScintilla's command set holds Qt key codes and keeps the component's table
        // in step; keys outside it are cleared in the component's own table.
        const int qtKey = kc.toCombined();
        for (QsciCommand *c : standardCommands()->commands()) {
            if (c->key() == qtKey)
                c->setKey(0);
            if (c->alternateKey() == qtKey)
                c->setAlternateKey(0);
        }
        const int ck = componentKey(k);
        if (ck > 0)
            SendScintilla(SCI_CLEARCMDKEY, ck);
    }
}

bool TMyMwCustomEdit::isKeyBound(const QKeySequence &k) const
{
    if (k.isEmpty())
        return false;
    const int qtKey = QKeyCombination(k[0].keyboardModifiers() & ~Qt::KeypadModifier, k[0].key())
                          .toCombined();
    auto *self = const_cast<TMyMwCustomEdit *>(this);
    for (QsciCommand *c : self->standardCommands()->commands()) {
        if (c->key() == qtKey || c->alternateKey() == qtKey)
            return true;
    }
    return false;
}

bool TMyMwCustomEdit::event(QEvent *e)
{
    // The editor claims every key it has a command for, keypad or not; a released key
    // is left to the window's shortcuts.
    if (e->type() == QEvent::ShortcutOverride) {
        auto *ke = static_cast<QKeyEvent *>(e);
        if (m_releasedKeys.contains(ke->keyCombination().toCombined())) {
            ke->ignore();
            return true;
        }
    }
    return QsciScintilla::event(e);
}

// ---- keys and mouse ----

bool TMyMwCustomEdit::smartTab()
{
    // Tab moves to the start of the next word of the nearest non-blank line above,
    // in screen columns; without "tabs to spaces" the gap is filled with tabs first.
    const int tab = tabWidth() > 0 ? tabWidth() : 4;
    const auto nextStop = [tab](int v) { return (v / tab + 1) * tab; };
    const auto columnOf = [&nextStop](const QString &s, int chars) {
        int v = 0;
        for (int i = 0; i < chars; ++i)
            v = i < s.size() && s[i] == QLatin1Char('\t') ? nextStop(v) : v + 1;
        return v;
    };
    const TextPos caret = caretXY();
    const int from = columnOf(lineTextRaw(caret.line - 1), caret.col - 1);
    for (int l = caret.line - 2; l >= 0; --l) {
        const QString above = lineTextRaw(l);
        if (above.trimmed().isEmpty())
            continue;
        int target = -1;
        for (int i = 0, v = 0; i < above.size(); ++i) {
            const bool startsWord = !above[i].isSpace() && (i == 0 || above[i - 1].isSpace());
            if (startsWord && v > from) {
                target = v;
                break;
            }
            v = above[i] == QLatin1Char('\t') ? nextStop(v) : v + 1;
        }
        if (target < 0)
            return false;
        QString fill;
        int v = from;
        while (!m_prefs.tabsToSpaces && nextStop(v) <= target) {
            fill += QLatin1Char('\t');
            v = nextStop(v);
        }
        fill += QString(target - v, QLatin1Char(' '));
        setSelText(fill);
        return true;
    }
    return false;
}

bool TMyMwCustomEdit::smartBackspace()
{
    // In leading blanks, Backspace goes back to the previous word start of the line above.
    if (selAvail())
        return false;
    const TextPos caret = caretXY();
    const QString line = lineTextRaw(caret.line - 1);
    const int c0 = caret.col - 1;
    if (c0 == 0 || c0 > line.size())
        return false;
    for (int i = 0; i < c0; ++i) {
        if (line[i] != QLatin1Char(' '))
            return false;
    }
    for (int l = caret.line - 2; l >= 0; --l) {
        const QString above = lineTextRaw(l);
        if (above.trimmed().isEmpty())
            continue;
        int target = 0;
        for (int i = std::min<int>(c0 - 1, int(above.size()) - 1); i > 0; --i) {
            if (!above[i].isSpace() && above[i - 1].isSpace()) {
                target = i;
                break;
            }
        }
        SendScintilla(SCI_BEGINUNDOACTION);
        selectRange({target + 1, caret.line}, caret);
        setSelText(QString());
        SendScintilla(SCI_ENDUNDOACTION);
        return true;
    }
    return false;
}

void TMyMwCustomEdit::halfPage(bool down, bool extend)
{
    const int n = std::max(1, int(SendScintilla(SCI_LINESONSCREEN)) / 2);
    const int cmd = down ? (extend ? SCI_LINEDOWNEXTEND : SCI_LINEDOWN)
                         : (extend ? SCI_LINEUPEXTEND : SCI_LINEUP);
    for (int i = 0; i < n; ++i)
        SendScintilla(cmd);
}

void TMyMwCustomEdit::keyPressEvent(QKeyEvent *e)
{
    const Qt::KeyboardModifiers mods = e->modifiers() & ~Qt::KeypadModifier;
    const int key = e->key();
    if (key == Qt::Key_Tab && mods == Qt::NoModifier) {
        if (!m_prefs.wantTabs) {
            focusNextPrevChild(true);
            return;
        }
        if (m_prefs.smartTabs && !selAvail() && smartTab())
            return;
    }
    if (key == Qt::Key_Backspace && mods == Qt::NoModifier && m_prefs.smartTabs && smartBackspace())
        return;
    if (m_prefs.halfPageScroll && (key == Qt::Key_PageDown || key == Qt::Key_PageUp) &&
        (mods == Qt::NoModifier || mods == Qt::ShiftModifier)) {
        halfPage(key == Qt::Key_PageDown, mods == Qt::ShiftModifier);
        return;
    }
    // A Ctrl or Alt key the editor has no command for belongs to the window; it is
    // never typed as text (Ctrl and Alt together is AltGr on some systems).
    const Qt::KeyboardModifiers chord = mods & (Qt::ControlModifier | Qt::AltModifier);
    if (chord && chord != (Qt::ControlModifier | Qt::AltModifier) &&
        !isKeyBound(QKeySequence(QKeyCombination(mods, Qt::Key(key))))) {
        e->ignore();
        return;
    }
    const bool single = !m_prefs.groupUndo && !e->text().isEmpty();
    if (single)
        SendScintilla(SCI_BEGINUNDOACTION);
    QsciScintilla::keyPressEvent(e);
    if (single)
        SendScintilla(SCI_ENDUNDOACTION);
    if (!m_prefs.keepCaretX && (key == Qt::Key_Up || key == Qt::Key_Down))
        SendScintilla(SCI_CHOOSECARETX);
    if (key == Qt::Key_Insert)
        emit statusChange();
}

void TMyMwCustomEdit::contextMenuEvent(QContextMenuEvent *e)
{
    if (!m_contextMenu) {
        QsciScintilla::contextMenuEvent(e);
        return;
    }
    if (e->reason() == QContextMenuEvent::Mouse && m_prefs.rightMouseMovesCursor) {
        const int pos = int(SendScintilla(SCI_POSITIONFROMPOINT, e->pos().x(), e->pos().y()));
        SendScintilla(SCI_GOTOPOS, pos);
    }
    m_contextMenu->popup(e->globalPos());
}

void TMyMwCustomEdit::mousePressEvent(QMouseEvent *e)
{
    if (!m_prefs.dragDropEditing && e->button() == Qt::LeftButton && selAvail()) {
        // Without drag editing a press inside the selection only places the caret.
        const QPoint p = e->position().toPoint();
        const int pos = int(SendScintilla(SCI_POSITIONFROMPOINTCLOSE, p.x(), p.y()));
        const int a = int(SendScintilla(SCI_GETSELECTIONSTART));
        const int b = int(SendScintilla(SCI_GETSELECTIONEND));
        if (pos >= a && pos < b)
            SendScintilla(SCI_SETEMPTYSELECTION, pos);
    }
    QsciScintilla::mousePressEvent(e);
}

QStringList TMyMwCustomEdit::localFiles(const QMimeData *mime)
{
    QStringList paths;
    if (!mime || !mime->hasUrls())
        return paths;
    for (const QUrl &u : mime->urls()) {
        if (u.isLocalFile())
            paths << QDir::toNativeSeparators(u.toLocalFile());
    }
    return paths;
}

bool TMyMwCustomEdit::answerFileDrag(QDropEvent *e)
{
    if (localFiles(e->mimeData()).isEmpty())
        return false;
    // Files are opened, not inserted; without the preference they are refused.
    if (m_prefs.dropFiles)
        e->acceptProposedAction();
    else
        e->ignore();
    return true;
}

void TMyMwCustomEdit::dragEnterEvent(QDragEnterEvent *e)
{
    if (!answerFileDrag(e))
        QsciScintilla::dragEnterEvent(e);
}

void TMyMwCustomEdit::dragMoveEvent(QDragMoveEvent *e)
{
    if (!answerFileDrag(e))
        QsciScintilla::dragMoveEvent(e);
}

void TMyMwCustomEdit::dropEvent(QDropEvent *e)
{
    const QStringList files = localFiles(e->mimeData());
    if (!files.isEmpty()) {
        if (m_prefs.dropFiles) {
            e->acceptProposedAction();
            emit filesDropped(files);
        } else {
            e->ignore();
        }
        return;
    }
    QsciScintilla::dropEvent(e);
}
