#pragma once

#include "app/ui/app_context.h"
#include "platform/text_file.h"

#include <QObject>

class DocumentTypes;
class QAction;

// The commands that rewrite existing text: accent conversion (by dialog and while
// typing), case changes, percent-encoding, block indent and unindent, the line-break
// style of a document and the HTML indenter.
class RewriteCommands : public QObject {
    Q_OBJECT
public:
    RewriteCommands(AppContext &ctx, const DocumentTypes &types);

    // Conversion while typing: off at every start, never saved.
    bool convertWhileTyping() const { return m_typing; }

    // The key hook of every editor: a typed accented character becomes its
    // reference while conversion while typing is on; Tab and Shift+Tab indent and
    // unindent a selection of several lines. True when the key was used.
    bool ConvertTypedCharacter(TMyMwCustomEdit *editor, const QString &typed);
    bool blockIndentKey(TMyMwCustomEdit *editor, bool unindent);

    // How long a rewrite of a whole document runs before it shows its progress and
    // its "Annuler" (milliseconds).
    static inline int ProgressDelay = 500;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void addAccentCommands();
    void addCaseCommands();
    void addBlockCommands();
    void addLineBreakCommands();
    void addIndenter();

    void convertAccents(bool toReferences);
    void OutilsIndenter();
    void setLineBreak(LineBreak style);

    AppContext &m_ctx;
    const DocumentTypes &m_types;
    bool m_typing = false;
};
