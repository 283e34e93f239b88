#pragma once

#include "authoring/attribute_text.h"

#include <QList>
#include <QString>
#include <QStringList>

// Script elements, event attributes, SQL templates and server-side (ASP, PHP) code.
namespace Authoring {

// A command that puts two fixed strings around the selection.
struct SnippetCommand {
    const char *name;
    QString caption; // as the menu shows it
    QString hint;    // empty: the caption
    QString opening;
    QString closing;
    bool raw;
};

// Events1..Events10, the script blocks and the PHP comment.
const QList<SnippetCommand> &EventCommands();
const QList<SnippetCommand> &ServerBlockCommands();
// The nine SQL templates: the template as opening, nothing as closing, raw.
const QList<SnippetCommand> &SqlCommands();

struct ScriptValues {
    bool external = false;
    QString file;
    bool picked = false;
    QString language;
    bool server = false;
};

struct WrapStrings {
    QString opening;
    QString closing;
    // Both go before the selection (an element without content).
    bool beforeSelection = false;
};

// The strings for WrapSelection (not raw). Internal scripts wrap the selection as
// their body; an external one, start and end tag, goes before it.
WrapStrings BuildScriptWrap(const ScriptValues &v, UrlEncoding encoding);

enum class IncludeKind { Asp, Php };
// ASP: '<!-- #include file = "PATH" -->' ("virtual" for the second type); PHP:
// "include 'PATH';" or "require 'PATH';". The path is escaped for its string.
QString BuildInclude(IncludeKind kind, bool secondType, const QString &path);

// "Sub NAME()" + CR LF / CR LF + "End Sub" + CR LF (raw); no "()" added when the
// name has one.
WrapStrings BuildProcedure(const QString &name, bool function);

// The whole lines of a selection (as SelectWholeLines leaves it) turned into others;
// every line of the result ends with CR LF. An empty selection gives nothing.
QString CommentAspLines(const QString &selection);
QString UncommentAspLines(const QString &selection);
QString AspStringLines(const QString &selection, const QString &variable, bool multiLine);

} // namespace Authoring
