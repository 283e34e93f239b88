#include "cli/batch_command.h"

#include "app/document_types.h"
#include "assist/document_rewrites.h"
#include "assist/file_rewrites.h"
#include "assist/page_checker.h"
#include "cli/spell_command.h"
#include "editor/multi_highlighter.h"
#include "platform/text_file.h"
#include "site/site_links.h"

#include <QDir>

#include <QFileInfo>

#include <optional>

namespace Batch {

namespace {

enum class Command { Indent, Accents, Eol, Check };

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
    else if (cmd == QLatin1String("check"))
        o->command = Command::Check;
    else
        return usage(QStringLiteral("commande inconnue « %1 »").arg(cmd));

    bool filesOnly = false;
    for (int i = 1; i < args.size(); ++i) {
        const QString &a = args.at(i);
        if (filesOnly || a == QLatin1String("-") || !a.startsWith(QLatin1Char('-'))) {
            o->files << a;
        } else if (a == QLatin1String("--")) {
            filesOnly = true;
        } else if (o->command != Command::Check && a == QLatin1String("--check")) {
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

// Runs the command on one file's bytes, handing the new file's bytes to `sink`.
Assist::FileRewrite rewrite(const Options &o, const QByteArray &bytes,
                            const Assist::RawTextRegions &regions, const Assist::ByteSink &sink) {
    const Assist::FileText text = Assist::InspectFileBytes(bytes, o.command != Command::Eol);
    switch (o.command) {
    case Command::Indent:
        return Assist::IndentFile(text, o.spaces, o.width, sink);
    case Command::Accents:
        return Assist::ConvertAccentsInFile(text, *o.direction, o.named, regions, sink);
    case Command::Eol:
    case Command::Check:
        break;
    }
    return Assist::ChangeLineBreaks(text, *o.lineBreak, sink);
}

} // namespace

QString InputName(const QString &file) {
    return file == QLatin1String("-") ? QStringLiteral("(entrée standard)") : file;
}

bool ReadInput(const QString &file, const Io &io, QByteArray *bytes) {
    if (file == QLatin1String("-")) {
        *bytes = io.readStdin();
        return true;
    }
    if (readFileBytes(file, bytes) == ReadStatus::Ok) return true;
    io.writeStderr(QStringLiteral("balizor-cli : impossible de lire le fichier %1").arg(file));
    return false;
}

QString HelpText() {
    return QStringLiteral(
        "Utilisation :\n"
        "  balizor-cli indent [--tabs | --spaces N] [--check] FICHIER...\n"
        "  balizor-cli accents --to-entities|--to-text [--numeric] [--check] FICHIER...\n"
        "  balizor-cli eol --crlf|--lf|--cr [--check] FICHIER...\n"
        "  balizor-cli spell [--lang LANGUE] FICHIER...\n"
        "  balizor-cli check FICHIER...\n"
        "  balizor-cli links DOSSIER\n"
        "\n"
        "Commandes :\n"
        "  indent    réindente le code HTML (par défaut 4 espaces par niveau ;\n"
        "            --tabs : une tabulation par niveau ; --spaces N : N espaces)\n"
        "  accents   --to-entities : remplace les caractères accentués par des entités\n"
        "            (nommées, ou numériques avec --numeric) ;\n"
        "            --to-text : remplace les entités par les caractères\n"
        "            Le contenu des blocs <script> et <style> n'est pas modifié.\n"
        "  eol       choisit les fins de ligne : Windows (CRLF), Linux (LF) ou Mac (CR)\n"
        "  spell     vérifie l'orthographe du texte que le lecteur de la page lit (texte\n"
        "            entre les balises, attributs alt, title et placeholder ; jamais le\n"
        "            balisage, les scripts, les styles ni les commentaires) et affiche\n"
        "            chaque mot inconnu sous la forme fichier:ligne:colonne: mot ;\n"
        "            --lang LANGUE : dictionnaire du texte sans attribut lang (fr par\n"
        "            défaut, par exemple en_US) ; le fichier n'est jamais modifié\n"
        "  check     vérifie les pages HTML, PHP ou ASP sans les modifier et écrit\n"
        "            chaque problème sous la forme fichier:ligne:colonne: message\n"
        "            (balises non fermées ou croisées, identifiants en double, liens\n"
        "            internes ou fichiers introuvables, éléments et attributs inconnus,\n"
        "            images sans attribut alt)\n"
        "  links     vérifie les liens relatifs (href, src) de toutes les pages HTML,\n"
        "            PHP ou ASP du dossier et de ses sous-dossiers et écrit chaque\n"
        "            fichier introuvable et chaque lien page.html#nom vers une page sans\n"
        "            cet identifiant sous la forme fichier:ligne:colonne: message\n"
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
        "  1  un fichier serait modifié (--check) ; spell : un mot inconnu trouvé ;\n"
        "     check, links : au moins un problème trouvé\n"
        "  2  erreur : ligne de commande, fichier ou dossier illisible, fichier\n"
        "     impossible à écrire\n"
        "  3  indent : balise de fin sans balise d'ouverture, élément ou guillemet\n"
        "     jamais fermé ; le fichier est indenté jusqu'à ce point, la suite est\n"
        "     laissée telle quelle\n"
        "Quand plusieurs fichiers donnent des codes différents, le code est 2 s'il y a\n"
        "eu une erreur, sinon 3, sinon 1.\n");
}

namespace {

// The page highlighter a file's extension calls for: PHP and ASP pages have code
// blocks of their own; everything else is read as an HTML page.
const MultiHighlighter *pageFor(const DocumentTypes &types, const QString &file) {
    int entry = HighlighterForExtension(types, QFileInfo(file).suffix());
    if (entry != DocumentTypes::SynMultiSynPHP && entry != DocumentTypes::SynMultiSynASP)
        entry = DocumentTypes::SynMultiSynHTML;
    return static_cast<const MultiHighlighter *>(types.highlighter(entry));
}

int runCheck(const Options &o, const Io &io) {
    const DocumentTypes types;
    int status = Done;
    for (const QString &file : o.files) {
        const bool piped = file == QLatin1String("-");
        const QString name = InputName(file);
        QByteArray bytes;
        if (!ReadInput(file, io, &bytes)) {
            status = Failed;
            continue;
        }
        const LoadedText text = decodeFileBytes(bytes);
        PageCheck::Options options;
        options.page = pageFor(types, file);
        if (!piped) options.baseFolder = QFileInfo(file).absolutePath();
        const PageCheck::Result r = PageCheck::Check(std::move(text.utf8), options);
        QByteArray out;
        for (const PageCheck::Finding &f : r.findings)
            out += QStringLiteral("%1:%2:%3: %4\n")
                       .arg(name)
                       .arg(f.line)
                       .arg(f.column)
                       .arg(f.message)
                       .toUtf8();
        if (!out.isEmpty()) io.writeStdout(out);
        if (!r.findings.empty() && status == Done) status = Found;
    }
    return status;
}

int runLinks(const QStringList &args, const Io &io) {
    if (args.size() != 1 || args.first().startsWith(QLatin1Char('-'))) {
        io.writeStderr(usage(args.isEmpty() ? QStringLiteral("aucun dossier indiqué")
                                            : QStringLiteral("links attend un seul dossier")));
        return Failed;
    }
    const QString folder = args.first();
    const QFileInfo info(folder);
    if (!info.isDir() || !info.isReadable() || !QDir(folder).isReadable()) {
        io.writeStderr(
            QStringLiteral("balizor-cli : impossible de lire le dossier %1").arg(folder));
        return Failed;
    }
    const DocumentTypes types;
    const SiteLinks::Result r = SiteLinks::check(folder, types);
    const QDir root(info.absoluteFilePath());
    QByteArray out;
    for (const BrokenLink &b : r.broken)
        out += (SiteLinks::compilerLine(b, QDir(folder).filePath(root.relativeFilePath(b.file))) +
                QLatin1Char('\n'))
                   .toUtf8();
    if (!out.isEmpty()) io.writeStdout(out);
    return r.broken.isEmpty() ? Done : Found;
}

} // namespace

int Run(const QStringList &arguments, const Io &io) {
    if (arguments.contains(QLatin1String("--help")) || arguments.contains(QLatin1String("-h"))) {
        io.writeStdout(HelpText().toUtf8());
        return Done;
    }
    if (!arguments.isEmpty() && arguments.first() == QLatin1String("spell"))
        return RunSpell(arguments.mid(1), io);
    if (!arguments.isEmpty() && arguments.first() == QLatin1String("links"))
        return runLinks(arguments.mid(1), io);
    Options o;
    const QString error = parse(arguments, &o);
    if (!error.isEmpty()) {
        io.writeStderr(error);
        return Failed;
    }

    if (o.command == Command::Check) return runCheck(o, io);

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
        const QString name = InputName(file);
        QByteArray bytes;
        if (!ReadInput(file, io, &bytes)) {
            status = Failed;
            continue;
        }

        // The new bytes go straight to standard output or to the new file.
        std::optional<AtomicFileWriter> writer;
        Assist::ByteSink sink;
        if (piped && !o.check) {
            sink = [&io](const char *data, qsizetype size) {
                io.writeStdout(QByteArray::fromRawData(data, size));
            };
        } else if (!o.check) {
            writer.emplace(file);
            sink = [&writer](const char *data, qsizetype size) { writer->write(data, size); };
        }
        const Assist::FileRewrite r = rewrite(o, bytes, regions, sink);
        if (r.failure.stop != THtmlIndenter::Stop::None) {
            const QString reason = Assist::IndentStopReason(r.failure);
            io.writeStderr(r.failure.atEnd
                               ? QStringLiteral("balizor-cli : %1 : %2").arg(name, reason)
                               : QStringLiteral("balizor-cli : %1 : indentation arrêtée à la "
                                                "ligne %2 (%3) ; la suite est laissée telle quelle")
                                     .arg(name)
                                     .arg(r.failure.line)
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
        if (piped) {
            if (!r.changed) io.writeStdout(bytes);
        } else if (r.changed && writer->commit() != WriteStatus::Ok) {
            io.writeStderr(
                QStringLiteral("balizor-cli : impossible d'écrire le fichier %1").arg(file));
            status = Failed;
        }
    }
    return status;
}

} // namespace Batch
