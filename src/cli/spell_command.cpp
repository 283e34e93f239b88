#include "cli/spell_command.h"

#include "app/document_types.h"
#include "assist/spell_checker.h"
#include "platform/text_file.h"

#include <QFileInfo>

namespace Batch {

namespace {

QString usage(const QString &what) {
    return QStringLiteral("balizor-cli : %1 (balizor-cli --help pour l'aide)").arg(what);
}

// "file:line:column: word" for each misspelling, lines and columns from 1,
// a column counting characters.
QByteArray report(const QString &name, const QByteArray &text,
                  const std::vector<Spelling::Word> &words,
                  const std::vector<Spelling::Misspelling> &found) {
    QByteArray out;
    const QByteArray prefix = name.toUtf8() + ':';
    qsizetype p = 0;
    int line = 1;
    int column = 1;
    size_t w = 0;
    for (const Spelling::Misspelling &m : found) {
        for (; p < m.start; ++p) {
            const char c = text[p];
            if (c == '\n' || (c == '\r' && (p + 1 >= text.size() || text[p + 1] != '\n'))) {
                ++line;
                column = 1;
            } else if (c != '\r' && (static_cast<unsigned char>(c) & 0xc0) != 0x80) {
                ++column;
            }
        }
        while (w < words.size() && words[w].start < m.start)
            ++w;
        out += prefix + QByteArray::number(line) + ':' + QByteArray::number(column) + ": " +
               words[w].text.toUtf8() + '\n';
    }
    return out;
}

} // namespace

int RunSpell(const QStringList &args, const Io &io) {
    QString language = QStringLiteral("fr");
    QStringList files;
    bool filesOnly = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args.at(i);
        if (filesOnly || a == QLatin1String("-") || !a.startsWith(QLatin1Char('-'))) {
            files << a;
        } else if (a == QLatin1String("--")) {
            filesOnly = true;
        } else if (a == QLatin1String("--lang") && i + 1 < args.size()) {
            language = args.at(++i);
        } else if (a.startsWith(QLatin1String("--lang="))) {
            language = a.mid(7);
        } else {
            io.writeStderr(usage(QStringLiteral("option inconnue « %1 »").arg(a)));
            return Failed;
        }
    }
    if (files.isEmpty()) {
        io.writeStderr(usage(QStringLiteral("aucun fichier indiqué")));
        return Failed;
    }
    Spelling::Checker checker(Spelling::InstalledDictionaries(), language);
    if (!checker.canCheck(QString())) {
        io.writeStderr(QStringLiteral("balizor-cli : aucun dictionnaire installé pour la langue "
                                      "« %1 »")
                           .arg(language));
        return Failed;
    }
    const QStringList personal = Spelling::ReadPersonalWords(Spelling::PersonalWordsPath());
    checker.addWords(personal);

    DocumentTypes types;
    int status = Done;
    for (const QString &file : std::as_const(files)) {
        const bool piped = file == QLatin1String("-");
        const QString name = InputName(file);
        QByteArray bytes;
        if (!ReadInput(file, io, &bytes)) {
            status = Failed;
            continue;
        }
        // The file's type as the editor gives it: a page from standard input, plain
        // text for an extension no type claims.
        int type = piped ? int(DocumentTypes::SynMultiSynHTML)
                         : HighlighterForExtension(types, QFileInfo(file).suffix());
        if (type < 0) type = DocumentTypes::SynGeneralSyn1;
        const LoadedText text = decodeFileBytes(bytes);
        const std::vector<Spelling::Word> words =
            Spelling::ExtractWords(text.utf8, types.highlighter(type));
        std::vector<Spelling::Misspelling> found;
        checker.check(words, 0, words.size(), found);
        if (found.empty()) continue;
        io.writeStdout(report(name, text.utf8, words, found));
        if (status == Done) status = WouldChange;
    }
    return status;
}

} // namespace Batch
