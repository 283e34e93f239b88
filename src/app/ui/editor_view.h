#pragma once

#include "app/app_settings.h"
#include "platform/file_times.h"
#include "platform/text_file.h"

#include <Qsci/qsciscintilla.h>

#include <QSet>

class QMenu;

// A position in a document as the program states it: column and line, both from 1;
// a column counts characters, a tab being one.
struct TextPos {
    int col = 1;
    int line = 1;
    bool operator==(const TextPos &) const = default;
};

// Kinds of document.
enum DocumentKind { KindOrdinary = 0, KindFtp = 1, KindTemplate = 2 };

// One document's editor: the editing component plus the document's identity (file
// name, times, kind, encoding, line-break style). Every other part of the program
// edits through these operations, in (column, line) coordinates, and never speaks
// to the component directly.
class TMyMwCustomEdit : public QsciScintilla {
    Q_OBJECT
public:
    explicit TMyMwCustomEdit(QWidget *parent = nullptr);

    // Identity.
    QString fileName;
    FileTimes fileTimes;
    FileStamp diskStamp; // the file as last read or written, for the outside-change check
    int documentKind = KindOrdinary;
    // An FTP document whose local copy holds changes its last upload did not send.
    bool unsent = false;
    TextEncoding encoding = TextEncoding::Windows1252;
    LineBreak lineBreak = LineBreak::CrLf;
    int tabNumber = 0; // untitled number the tab was created with, 0 for a file

    // Files.
    ReadStatus loadFromFile(const QString &path);
    // Replaces the whole text with already decoded file text (the undo history is cleared).
    void setLoadedText(const LoadedText &t);
    // Replaces the whole text with a fresh read of the file as one undo step; the
    // document becomes unmodified, and Undo brings back the text it replaced.
    void reloadText(const LoadedText &t);
    // Marks the document modified without changing its text; the mark stays until
    // the next save (no undo returns to an unmodified state).
    void markModified();
    // The bytes a save writes; false when the encoding cannot hold a character
    // (*badOffset is then its byte offset in the text).
    bool fileBytes(QByteArray *out, qsizetype *badOffset = nullptr) const;

    // Text: lines counted from 0 as a list, without their line breaks. A final line
    // break does not start a further line.
    int lineCountAsList() const;
    QString lineAt(int index) const;
    // The whole text with CR LF between lines, as the program's text operations expect.
    QString textCrLf() const;
    // Raw access to the stored UTF-8 text (valid until the next change).
    const char *utf8Data() const;
    qsizetype utf8Length() const;
    // A copy of the stored UTF-8 text, taken around the component's gap so that
    // the text is not moved in memory (cheaper than utf8Data() on huge texts).
    QByteArray utf8Copy() const;
    // Copies n bytes of the stored text from byte offset `from`; the component's gap
    // position is where a range can be had without moving the text.
    void copyUtf8(char *to, qsizetype from, qsizetype n) const;
    qsizetype gapPosition() const;
    QString eolString() const;
    // Line list editing, each one undo step.
    void replaceLine(int index, const QString &text);
    void insertLine(int index, const QString &text);
    void deleteLine(int index);
    // Replaces the whole text as one undo step (nothing happens when it is the same);
    // line breaks of the new text are converted to the document's.
    bool replaceAllText(const QString &text);
    // The same with UTF-8 bytes already in the document's line breaks.
    bool replaceAllUtf8(const QByteArray &bytes);
    // Converts CR LF pairs of program-made text to this document's line break.
    QString toDocumentBreaks(const QString &text) const;

    // Positions.
    int positionFromXY(const TextPos &p) const;
    TextPos xyFromPosition(int pos) const;
    TextPos caretXY() const;
    void setCaretXY(const TextPos &p);
    void ensureCaretVisible();
    int topLine() const; // first visible line, from 1
    void setTopLine(int line);
    // Where a position is drawn, in the editor's client coordinates, and the size of a
    // line and of a character of the editor font.
    QPoint clientPoint(const TextPos &p) const;
    int lineHeight() const;
    int charWidth() const;

    // Selection. Begin is never after end; with no selection both are the caret.
    bool selAvail() const;
    TextPos blockBegin() const;
    TextPos blockEnd() const;
    void selectRange(const TextPos &from, const TextPos &to); // caret at 'to'
    QString selText() const;
    // Replaces the selection (or inserts at the caret) as one undo step; caret after it.
    void setSelText(const QString &text);
    // The text between two positions, in the document's line breaks, whatever the
    // selection mode; and its replacement as one undo step, the caret after it.
    QString textRange(const TextPos &from, const TextPos &to) const;
    void replaceRange(const TextPos &from, const TextPos &to, const QString &text);
    TextPos documentEnd() const;
    // Character offsets of the selection in the whole text.
    int selStartOffset() const;
    int selEndOffset() const;
    bool columnMode() const;
    void setColumnMode(bool on);

    // Undo.
    void undoGroupBreak();
    // The editor's own Enter: a line break with the auto-indent.
    void newLine();
    void clearUndoHistory();
    bool overwriteMode() const;

    // Preferences and view options.
    void applyPreferences(const EditorPreferences &prefs);
    // The chosen editor font (fixed pitch), also given to the colouring.
    QFont editorFont() const;
    const EditorPreferences &preferences() const { return m_prefs; }
    void setShowFormattingChars(bool on);
    void setContextMenu(QMenu *menu) { m_contextMenu = menu; }
    // The editor does not handle these keys itself, so that window commands get them.
    void releaseKeys(const QList<QKeySequence> &keys);
    bool isKeyBound(const QKeySequence &key) const;

signals:
    // Caret moved, selection changed, modified flag or insert mode changed.
    void statusChange();
    void filesDropped(const QStringList &paths);
    // The text is about to change (an insertion or a deletion, typed or not); the change
    // is done once control returns to the event loop.
    void textChanging();

protected:
    bool event(QEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void contextMenuEvent(QContextMenuEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void dragEnterEvent(QDragEnterEvent *e) override;
    void dragMoveEvent(QDragMoveEvent *e) override;
    void dropEvent(QDropEvent *e) override;

private:
    void fitGutter();
    bool smartTab();
    bool smartBackspace();
    void halfPage(bool down, bool extend);
    int lineStartPos(int line0) const;
    int lineEndPos(int line0) const;
    QString lineTextRaw(int line0) const;
    static QStringList localFiles(const QMimeData *mime);
    bool answerFileDrag(QDropEvent *e);

    EditorPreferences m_prefs;
    int m_gutterDigits = 0; // digits of the line count the gutter was fitted to
    QMenu *m_contextMenu = nullptr;
    QSet<int> m_releasedKeys; // Qt key codes with modifiers
};
