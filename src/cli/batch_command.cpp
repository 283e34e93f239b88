#include "cli/batch_command.h"

#include "app/document_types.h"
#include "assist/accents.h"
#include "assist/document_rewrites.h"
#include "editor/multi_highlighter.h"
#include "platform/text_file.h"

#include <optional>

namespace Batch {

namespace {

enum class Command { Indent, Accents, Eol };

struct Options {
    Command command = Command::Indent;
    bool spaces = true;
    int width = 4;
    std::optional<Assist::AccentDirection> direction;
    bool named = true;
    std::optional<LineBreak> lineBreak;
    bool check = false;
    QStringList files;
};

QString usage(const QString &what) {
    return QStringLiteral("balizor-cli : %1 (balizor-cli --help pour l'aide)").arg(what);
}

// Parses the arguments; an empty error means success.
QString parse(const QStringList &args, Options *o) {
    if (args.isEmpty()) return usage(QStringLiteral("commande manquante"));
    const QString cmd = args.first();
    if (cmd == QLatin1String("indent"))
        o->command = Command::Indent;
    else if (cmd == QLatin1String("accents"))
        o->command = Command::Accents;
    else if (cmd == QLatin1String("eol"))
        o->command = Command::Eol;
    else
        return usage(QStringLiteral("commande inconnue « %1 »").arg(cmd));

    bool filesOnly = false;
    for (int i = 1; i < args.size(); ++i) {
        const QString &a = args.at(i);
        if (filesOnly || a == QLatin1String("-") || !a.startsWith(QLatin1Char('-'))) {
            o->files << a;
        } else if (a == QLatin1String("--")) {
            filesOnly = true;
        } else if (a == QLatin1String("--check")) {
            o->check = true;
        } else if (o->command == Command::Indent && a == QLatin1String("--tabs")) {
            o->spaces = false;
        } else if (o->command == Command::Indent && a == QLatin1String("--spaces")) {
            bool ok = false;
            const int n = i + 1 < args.size() ? args.at(i + 1).toInt(&ok) : 0;
            if (!ok || n < 1 || n > 16)
                return usage(QStringLiteral("--spaces attend un nombre de 1 à 16"));
            o->spaces = true;
            o->width = n;
            ++i;
        } else if (o->command == Command::Accents && a == QLatin1String("--to-entities")) {
            o->direction = Assist::AccentDirection::ToReferences;
        } else if (o->command == Command::Accents && a == QLatin1String("--to-text")) {
            o->direction = Assist::AccentDirection::ToCharacters;
        } else if (o->command == Command::Accents && a == QLatin1String("--numeric")) {
            o->named = false;
        } else if (o->command == Command::Eol && a == QLatin1String("--crlf")) {
            o->lineBreak = LineBreak::CrLf;
        } else if (o->command == Command::Eol && a == QLatin1String("--lf")) {
            o->lineBreak = LineBreak::Lf;
        } else if (o->command == Command::Eol && a == QLatin1String("--cr")) {
            o->lineBreak = LineBreak::Cr;
        } else {
            return usage(QStringLiteral("option inconnue « %1 »").arg(a));
        }
    }
    if (o->command == Command::Accents && !o->direction)
        return usage(QStringLiteral("indiquez --to-entities ou --to-text"));
    if (o->command == Command::Eol && !o->lineBreak)
        return usage(QStringLiteral("indiquez --crlf, --lf ou --cr"));
    if (o->files.isEmpty()) return usage(QStringLiteral("aucun fichier indiqué"));
    return {};
}

// Whether some line break of the text is not `style`.
bool hasOtherBreak(const QByteArray &text, LineBreak style) {
    const char *s = text.constData();
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (s[i] != '\r' && s[i] != '\n') continue;
        const bool pair = s[i] == '\r' && i + 1 < n && s[i + 1] == '\n';
        const LineBreak found = pair           ? LineBreak::CrLf
                                : s[i] == '\r' ? LineBreak::Cr
                                               : LineBreak::Lf;
        if (found != style) return true;
        if (pair) ++i;
    }
    return false;
}

struct Rewrite {
    bool changed = false;
    QByteArray utf8;
    LineBreak lineBreak = LineBreak::CrLf;
    int failedLine = 0;
    THtmlIndenter::Failure failure;
};

Rewrite rewrite(const Options &o, const LoadedText &t, const Assist::RawTextRegions &regions) {
    Rewrite r{false, t.utf8, t.lineBreak, 0, {}};
    switch (o.command) {
    case Command::Indent: {
        const QByteArray before = Assist::WithCrLfBreaks(t.utf8);
        Assist::IndentOutcome out = Assist::IndentDocument(before, o.spaces, o.width);
        r.failedLine = out.failedAt >= 0 ? out.failedLine : 0;
        r.failure = out.failure;
        r.changed = out.changed;
        if (r.changed) r.utf8 = std::move(out.text);
        break;
    }
    case Command::Accents:
        r.utf8 = Assist::ConvertAccents(t.utf8, *o.direction, o.named, regions);
        r.changed = r.utf8 != t.utf8;
        break;
    case Command::Eol:
        // A file with mixed breaks is detected as CR LF: asking for CR LF still
        // rewrites its other breaks, as a save from the window does.
        r.lineBreak = *o.lineBreak;
        r.changed = r.lineBreak != t.lineBreak || hasOtherBreak(t.utf8, r.lineBreak);
        break;
    }
    return r;
}

} // namespace

QString HelpText() {
    return QStringLiteral(
        "Utilisation :\n"
        "  balizor-cli indent [--tabs | --spaces N] [--check] FICHIER...\n"
        "  balizor-cli accents --to-entities|--to-text [--numeric] [--check] FICHIER...\n"
        "  balizor-cli eol --crlf|--lf|--cr [--check] FICHIER...\n"
        "\n"
        "Commandes :\n"
        "  indent    réindente le code HTML (par défaut 4 espaces par niveau ;\n"
        "            --tabs : une tabulation par niveau ; --spaces N : N espaces)\n"
        "  accents   --to-entities : remplace les caractères accentués par des entités\n"
        "            (nommées, ou numériques avec --numeric) ;\n"
        "            --to-text : remplace les entités par les caractères\n"
        "            Le contenu des blocs <script> et <style> n'est pas modifié.\n"
        "  eol       choisit les fins de ligne : Windows (CRLF), Linux (LF) ou Mac (CR)\n"
        "\n"
        "Options :\n"
        "  --check   ne modifie rien ; code de sortie 1 si un fichier serait modifié\n"
        "  --help    affiche cette aide\n"
        "  -         lit l'entrée standard et écrit le résultat sur la sortie standard\n"
        "\n"
        "Les fichiers sont lus et écrits comme dans l'éditeur : Windows-1252 ou UTF-8\n"
        "(avec ou sans BOM) conservés, fins de ligne conservées sauf avec eol,\n"
        "écriture atomique. Un fichier illisible ou impossible à écrire est signalé\n"
        "et les autres fichiers sont traités.\n"
        "\n"
        "Codes de sortie :\n"
        "  0  terminé\n"
        "  1  un fichier serait modifié (--check)\n"
        "  2  erreur : ligne de commande, fichier illisible ou impossible à écrire\n"
        "  3  indent : balise de fin sans balise d'ouverture, élément ou guillemet\n"
        "     jamais fermé ; le fichier est indenté jusqu'à ce point, la suite est\n"
        "     laissée telle quelle\n"
        "Quand plusieurs fichiers donnent des codes différents, le code est 2 s'il y a\n"
        "eu une erreur, sinon 3, sinon 1.\n");
}

int Run(const QStringList &arguments, const Io &io) {
    if (arguments.contains(QLatin1String("--help")) || arguments.contains(QLatin1String("-h"))) {
        io.writeStdout(HelpText().toUtf8());
        return Done;
    }
    Options o;
    const QString error = parse(arguments, &o);
    if (!error.isEmpty()) {
        io.writeStderr(error);
        return Failed;
    }

    std::optional<DocumentTypes> types;
    Assist::RawTextRegions regions;
    if (o.command == Command::Accents) {
        types.emplace();
        regions = Assist::RawTextRegions(static_cast<const MultiHighlighter *>(
            types->highlighter(DocumentTypes::SynMultiSynHTML)));
    }

    int status = Done;
    for (const QString &file : std::as_const(o.files)) {
        const bool piped = file == QLatin1String("-");
        const QString name = piped ? QStringLiteral("(entrée standard)") : file;
        LoadedText text;
        QByteArray original;
        if (piped) {
            original = io.readStdin();
            text = decodeFileBytes(original);
        } else if (readTextFile(file, &text) != ReadStatus::Ok) {
            io.writeStderr(
                QStringLiteral("balizor-cli : impossible de lire le fichier %1").arg(file));
            status = Failed;
            continue;
        }

        const Rewrite r = rewrite(o, text, regions);
        if (r.failedLine > 0) {
            const QString reason = Assist::IndentStopReason(r.failure);
            io.writeStderr(r.failure.atEnd
                               ? QStringLiteral("balizor-cli : %1 : %2").arg(name, reason)
                               : QStringLiteral("balizor-cli : %1 : indentation arrêtée à la "
                                                "ligne %2 (%3) ; la suite est laissée telle quelle")
                                     .arg(name)
                                     .arg(r.failedLine)
                                     .arg(reason));
            if (status != Failed) status = Stopped;
        }
        if (o.check) {
            if (r.changed) {
                io.writeStderr(QStringLiteral("balizor-cli : %1 serait modifié").arg(name));
                if (status == Done) status = WouldChange;
            }
            continue;
        }
        if (!r.changed) {
            if (piped) io.writeStdout(original);
            continue;
        }
        QByteArray bytes;
        qsizetype bad = -1;
        if (!encodeForFile(r.utf8.constData(), r.utf8.size(), text.encoding, r.lineBreak, &bytes,
                           &bad)) {
            io.writeStderr(QStringLiteral("balizor-cli : %1 : un caractère ne peut pas être "
                                          "écrit dans le codage du fichier ; fichier inchangé")
                               .arg(name));
            status = Failed;
            continue;
        }
        if (piped) {
            io.writeStdout(bytes);
        } else if (writeFileAtomically(file, bytes) != WriteStatus::Ok) {
            io.writeStderr(
                QStringLiteral("balizor-cli : impossible d'écrire le fichier %1").arg(file));
            status = Failed;
        }
    }
    return status;
}

} // namespace Batch
