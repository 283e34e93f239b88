#include "authoring/script_markup.h"

namespace Authoring {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString joinLines(const QStringList &lines) {
    QString out;
    for (const QString &l : lines)
        out += l + kCrLf;
    return out;
}

QString joinCrLf(std::initializer_list<const char *> lines) {
    QString out;
    for (const char *l : lines)
        out += QString::fromUtf8(l) + kCrLf;
    return out;
}

// The lines of a whole-line selection: a last line after the final break (where the
// selection ends at column 1) does not count.
QStringList selectedLines(const QString &selection) {
    if (selection.isEmpty()) return {};
    QString text = selection;
    text.replace(kCrLf, QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    QStringList lines = text.split(u'\n');
    if (lines.size() > 1 && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

QString joinSql(const char *first, const char *join) {
    return joinCrLf({"SELECT NomColonne", "    FROM NomTable1", join,
                     "    ON NomTable1.NomColonne1 = NomTable2.NomColonne2",
                     "    WHERE NomTable1.NomColonne = 'Valeur'"})
        .replace(QStringLiteral("SELECT NomColonne"), QString::fromUtf8(first));
}

} // namespace

const QList<SnippetCommand> &EventCommands() {
    static const QList<SnippetCommand> commands = [] {
        const struct {
            const char *caption, *attribute;
        } events[] = {{"OnClick", "onclick"},         {"OnDblClick", "ondblclick"},
                      {"OnKeyDown", "onkeydown"},     {"OnKeyPress", "onkeypress"},
                      {"OnKeyUp", "onkeyup"},         {"OnMouseDown", "onmousedown"},
                      {"OnMouseMove", "onmousemove"}, {"OnMouseOut", "onmouseout"},
                      {"OnMouseOver", "onmouseover"}, {"OnMouseUp", "onmouseup"}};
        static const char *names[] = {"Events1", "Events2", "Events3", "Events4", "Events5",
                                      "Events6", "Events7", "Events8", "Events9", "Events10"};
        QList<SnippetCommand> l;
        for (int i = 0; i < 10; ++i)
            l.append({names[i], QLatin1String(events[i].caption),
                      // The double click's menu item is spelt otherwise than its caption.
                      i == 1 ? QStringLiteral("OnDbleClick") : QString(),
                      u' ' + QLatin1String(events[i].attribute) + QStringLiteral("=\""),
                      QStringLiteral("\""), false});
        return l;
    }();
    return commands;
}

const QList<SnippetCommand> &ServerBlockCommands() {
    static const QList<SnippetCommand> commands = {
        {"ASPBloc",
         QStringLiteral("Insérer un bloc de script"),
         {},
         QStringLiteral("<%\r\n"),
         QStringLiteral("\r\n%>"),
         true},
        {"PHPBloc",
         QStringLiteral("Insérer un bloc de script"),
         {},
         QStringLiteral("<?php\r\n"),
         QStringLiteral("\r\n?>"),
         true},
        {"PHPCommenter",
         QStringLiteral("Commenter la sélection"),
         {},
         QStringLiteral("/* "),
         QStringLiteral(" */"),
         true},
    };
    return commands;
}

const QList<SnippetCommand> &SqlCommands() {
    static const QList<SnippetCommand> commands = {
        {"SQLCreateTable",
         QStringLiteral("Creation d'une table"),
         QStringLiteral("Créer une table (Create Table)"),
         joinCrLf({"CREATE TABLE NomTable", "    (NomColonne varchar(20),",
                   "    NomColonne char(20),", "    NomColonne integer)"}),
         {},
         true},
        {"SQLDropTable",
         QStringLiteral("Suppression d'une table"),
         QStringLiteral("Supprimer une table (Drop Table)"),
         joinCrLf({"DROP TABLE NomTable"}),
         {},
         true},
        {"SQLInsert",
         QStringLiteral("Insertion"),
         QStringLiteral("Insérer (Insert)"),
         joinCrLf({"INSERT INTO NomTable", "    (NomColonne, NomColonneEntier)",
                   "    VALUES ('Valeur', ValeurNumerique)"}),
         {},
         true},
        {"SQLSelect",
         QStringLiteral("Sélection"),
         QStringLiteral("Sélectionner (Select)"),
         joinCrLf({"SELECT NomColonne", "    FROM NomTable", "    WHERE NomColonne = 'Valeur'"}),
         {},
         true},
        {"SQLUpdate",
         QStringLiteral("Mise à jour"),
         QStringLiteral("Mettre à jour (Update)"),
         joinCrLf({"UPDATE NomTable", "    SET NomColonne = 'valeur'",
                   "    WHERE NomColonne = 'Valeur'"}),
         {},
         true},
        {"SQLDelete",
         QStringLiteral("Suppression"),
         QStringLiteral("Supprimer (Delete)"),
         joinCrLf({"DELETE", "    FROM NomTable", "    WHERE NomColonne = 'Valeur'"}),
         {},
         true},
        {"SQLInnerJoin",
         QStringLiteral("Jointure"),
         QStringLiteral("Jointure (Inner Join)"),
         joinSql("SELECT NomColonne", "    INNER JOIN NomTable2"),
         {},
         true},
        {"SQLLeftJoin",
         QStringLiteral("Jointure à gauche"),
         QStringLiteral("Jointure (Left Join)"),
         joinSql("SELECT NomColonne", "    LEFT OUTER JOIN NomTable2"),
         {},
         true},
        {"SQLRightOuterJoin",
         QStringLiteral("Jointure à droite"),
         QStringLiteral("Jointure (Right Outer Join)"),
         joinSql("SELECT NomColonne", "    RIGHT OUTER JOIN NomTable2"),
         {},
         true},
    };
    return commands;
}

WrapStrings BuildScriptWrap(const ScriptValues &v, UrlEncoding encoding) {
    QString start =
        QStringLiteral("<script") + EscapedAttribute(QStringLiteral("language"), v.language);
    if (v.server) start += Attribute(QStringLiteral("runat"), QStringLiteral("server"));
    if (v.external) {
        return {
            start +
                EscapedAttribute(QStringLiteral("src"), EncodeAddress(v.file, v.picked, encoding)) +
                u'>',
            QStringLiteral("</script>"), true};
    }
    // Old browsers would show a JavaScript body as text without the guards.
    const bool guard = v.language.left(10).toLower() == QLatin1String("javascript");
    WrapStrings w;
    w.opening = start + u'>' + (guard ? kCrLf + QStringLiteral("<!--") : QString()) + kCrLf;
    w.closing = (guard ? kCrLf + QStringLiteral("// -->") : QString()) + kCrLf +
                QStringLiteral("</script>");
    return w;
}

QString BuildInclude(IncludeKind kind, bool secondType, const QString &path) {
    if (kind == IncludeKind::Asp) {
        // Inside the directive's double quotes, a quote is doubled as in VBScript.
        QString p = path;
        p.replace(u'"', QStringLiteral("\"\""));
        return QStringLiteral("<!-- #include ") +
               (secondType ? QStringLiteral("virtual") : QStringLiteral("file")) +
               QStringLiteral(" = \"") + p + QStringLiteral("\" -->");
    }
    // A single-quoted PHP string: only the backslash and the quote are special.
    QString p = path;
    p.replace(u'\\', QStringLiteral("\\\\"));
    p.replace(u'\'', QStringLiteral("\\'"));
    return (secondType ? QStringLiteral("require") : QStringLiteral("include")) +
           QStringLiteral(" '") + p + QStringLiteral("';");
}

WrapStrings BuildProcedure(const QString &name, bool function) {
    const QString kind = function ? QStringLiteral("Function") : QStringLiteral("Sub");
    const QString parentheses = name.contains(u'(') ? QString() : QStringLiteral("()");
    return {kind + u' ' + name + parentheses + kCrLf,
            kCrLf + QStringLiteral("End ") + kind + kCrLf};
}

QString CommentAspLines(const QString &selection) {
    QStringList lines = selectedLines(selection);
    for (QString &l : lines)
        l.prepend(u'\'');
    return joinLines(lines);
}

QString UncommentAspLines(const QString &selection) {
    QStringList lines = selectedLines(selection);
    for (QString &l : lines) {
        qsizetype i = 0;
        while (i < l.size() && (l.at(i) == u' ' || l.at(i) == u'\t'))
            ++i;
        if (i < l.size() && l.at(i) == u'\'') l.remove(i, 1);
    }
    return joinLines(lines);
}

QString AspStringLines(const QString &selection, const QString &variable, bool multiLine) {
    const QStringList lines = selectedLines(selection);
    if (lines.isEmpty()) return {};
    auto quoted = [](QString line) {
        line.replace(u'"', QStringLiteral("\"\""));
        if (line.isEmpty() || !line.back().isSpace()) line += u' ';
        return u'"' + line + u'"';
    };
    QStringList out;
    if (multiLine || lines.size() == 1) {
        for (qsizetype i = 0; i < lines.size(); ++i)
            out << variable +
                       (i == 0 ? QStringLiteral(" = ")
                               : QStringLiteral(" = ") + variable + QStringLiteral(" & ")) +
                       quoted(lines.at(i));
        return joinLines(out);
    }
    const QString pad(variable.size() + 3, u' ');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i == 0)
            out << variable + QStringLiteral(" = ") + quoted(lines.at(i)) + QStringLiteral(" & _ ");
        else if (i < lines.size() - 1)
            out << pad + quoted(lines.at(i)) + QStringLiteral(" & _");
        else
            out << pad + quoted(lines.at(i));
    }
    return joinLines(out);
}

} // namespace Authoring
