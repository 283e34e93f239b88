// Feeds seeded random and mutated real inputs to every reader of outside text: the
// colouring scanners, the indenter, the search, the accent conversion, the file
// decoder, the spelling words reader, the settings reader, the single-instance message decoder, the batch
// command line and the rewrites of file bytes. Each target runs for a time budget:
// BALIZOR_FUZZ_SECONDS (default 0.25 per target), seed BALIZOR_FUZZ_SEED. Under the
// sanitizers (scripts/test.sh --sanitize) a memory or undefined-behaviour fault ends
// the run with its report.

#include "app/app_settings.h"
#include "app/document_types.h"
#include "app/settings_store.h"
#include "assist/accents.h"
#include "assist/bracket_match.h"
#include "assist/completion.h"
#include "assist/document_rewrites.h"
#include "assist/file_rewrites.h"
#include "assist/html_indenter.h"
#include "assist/identifier_scan.h"
#include "assist/page_checker.h"
#include "assist/spelling_words.h"
#include "assist/text_search.h"
#include "authoring/page_properties.h"
#include "cli/batch_command.h"
#include "editor/multi_highlighter.h"
#include "highlight_probe.h"
#include "platform/instance_protocol.h"
#include "platform/text_file.h"
#include "platform/windows1252.h"
#include "publish/ftp_listing.h"
#include "publish/preview_markup.h"
#include "site/file_search.h"
#include "site/publish_plan.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

namespace {

const char *const kPieces[] = {"<",
                               ">",
                               "</",
                               "/>",
                               "<!--",
                               "-->",
                               "<script>",
                               "</script>",
                               "<style>",
                               "</style>",
                               "<?php",
                               "?>",
                               "<%",
                               "%>",
                               "<![CDATA[",
                               "]]>",
                               "<!DOCTYPE html>",
                               "<pre>",
                               "</pre>",
                               "<textarea>",
                               "</textarea>",
                               "<table>",
                               "</table>",
                               "<tr>",
                               "<td>",
                               "</td>",
                               "<ul>",
                               "<li>",
                               "</ul>",
                               "<html>",
                               "</html>",
                               "<body>",
                               "</body>",
                               "/*",
                               "*/",
                               "//",
                               "#",
                               "'",
                               "\"",
                               "`",
                               "${",
                               "}",
                               "{",
                               "\\",
                               "\r\n",
                               "\n",
                               "\r",
                               "=",
                               "&eacute;",
                               "&#233;",
                               "&#xE9;",
                               "&",
                               ";",
                               "$x",
                               "@y",
                               "%h",
                               "<<<EOT\n",
                               "\nEOT;\n",
                               "=pod\n",
                               "\n=cut\n",
                               "s{a}{b}",
                               "qw[",
                               "\xc3\xa9",
                               "\xe2\x82\xac",
                               "\xf0\x9f\x98\x80",
                               "\xc3",
                               "\xe9",
                               "\x80",
                               "\t",
                               " ",
                               "\0",
                               "[",
                               "]",
                               "(",
                               ")",
                               "*",
                               "+",
                               "?",
                               "^",
                               "$",
                               "|"};

double budgetSeconds() {
    bool ok = false;
    const double s = qEnvironmentVariable("BALIZOR_FUZZ_SECONDS").toDouble(&ok);
    return ok && s > 0 ? s : 0.25;
}

quint32 seed() {
    bool ok = false;
    const quint32 s = qEnvironmentVariable("BALIZOR_FUZZ_SEED").toUInt(&ok);
    return ok ? s : 20261209u;
}

// Real inputs: the repository's test files and help pages, and the HTML files of this
// machine's documentation (a bounded sample, so a full doc tree does not slow the run).
const QList<QByteArray> &corpus() {
    static const QList<QByteArray> files = [] {
        QList<QByteArray> out;
        auto take = [&out](const QString &root, const QStringList &filters, int limit) {
            QDirIterator it(root, filters, QDir::Files, QDirIterator::Subdirectories);
            int n = 0;
            while (it.hasNext() && n < limit) {
                const QFileInfo info(it.next());
                if (info.size() > 256 * 1024) continue;
                QFile f(info.filePath());
                if (f.open(QIODevice::ReadOnly)) {
                    out << f.readAll();
                    ++n;
                }
            }
        };
        const QString src = QStringLiteral(BALIZOR_SOURCE_DIR);
        take(src + QStringLiteral("/tests"), {}, 400);
        take(src + QStringLiteral("/resources"), {QStringLiteral("*.htm"), QStringLiteral("*.css")},
             200);
        take(QStringLiteral("/usr/share/doc"),
             {QStringLiteral("*.html"), QStringLiteral("*.htm"), QStringLiteral("*.xhtml")}, 150);
        return out;
    }();
    return files;
}

class Mutator {
public:
    explicit Mutator(quint32 s) : m_rng(s) {}

    QByteArray next() {
        const QList<QByteArray> &files = corpus();
        QByteArray data;
        const int how = int(m_rng.bounded(4));
        if (how == 0 || files.isEmpty()) {
            data = randomText(int(m_rng.bounded(1, 2000)));
        } else {
            data = files.at(int(m_rng.bounded(int(files.size()))));
            // A window of a large file keeps each run short.
            if (data.size() > 8192) {
                const int start = int(m_rng.bounded(int(data.size() - 4096)));
                data = data.mid(start, 4096 + int(m_rng.bounded(4096)));
            }
            if (how >= 2) mutate(data, 1 + int(m_rng.bounded(16)));
        }
        return data;
    }

    QRandomGenerator &rng() { return m_rng; }

private:
    QByteArray randomText(int length) {
        QByteArray text;
        while (text.size() < length) {
            if (m_rng.bounded(3) == 0)
                text += char(m_rng.bounded(256));
            else
                text += kPieces[m_rng.bounded(int(std::size(kPieces)))];
        }
        return text;
    }

    void mutate(QByteArray &data, int count) {
        for (int i = 0; i < count; ++i) {
            const int pos = data.isEmpty() ? 0 : int(m_rng.bounded(int(data.size()) + 1));
            switch (m_rng.bounded(6)) {
            case 0: // flip a bit
                if (pos < data.size()) data[pos] = char(data[pos] ^ (1 << m_rng.bounded(8)));
                break;
            case 1: // insert a piece of syntax
                data.insert(pos, kPieces[m_rng.bounded(int(std::size(kPieces)))]);
                break;
            case 2: // cut a run
                data.remove(pos, int(m_rng.bounded(64)));
                break;
            case 3: // truncate
                data.truncate(pos);
                break;
            case 4: // repeat a run
                data.insert(pos, data.mid(pos, int(m_rng.bounded(128))).repeated(2));
                break;
            default: // splice another file in
                data.insert(pos, corpus()
                                     .value(int(m_rng.bounded(int(corpus().size()))))
                                     .left(int(m_rng.bounded(512))));
                break;
            }
        }
    }

    QRandomGenerator m_rng;
};

using Target = std::function<QString(const QByteArray &input, QRandomGenerator &rng)>;

QString asText(const QByteArray &bytes) {
    return QString::fromUtf8(bytes);
}

} // namespace

class TstFuzz : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void target_data();
    void target();

private:
    QHash<QString, Target> m_targets;
    DocumentTypes m_types;
    QTemporaryDir m_dir;
    qint64 m_total = 0;
};

void TstFuzz::initTestCase() {
    QVERIFY(m_dir.isValid());
    qInfo("corpus: %d real files, seed %u, %.2f s per target", int(corpus().size()), seed(),
          budgetSeconds());

    // Every highlighter of the program: whole texts line by line, from each end state.
    for (int i = 0; i < m_types.count(); ++i) {
        const Highlighter *h = m_types.highlighter(i);
        m_targets.insert(QStringLiteral("highlighter ") + m_types.entry(i).objectName,
                         [h](const QByteArray &in, QRandomGenerator &) {
                             return probe::coverageError(probe::scanText(*h, in));
                         });
    }
    m_targets.insert(QStringLiteral("indenter"), [](const QByteArray &in, QRandomGenerator &rng) {
        const QByteArray crlf = Assist::WithCrLfBreaks(in);
        const Assist::IndentOutcome out =
            Assist::IndentDocument(crlf, rng.bounded(2) == 0, int(rng.bounded(1, 9)));
        if (out.failedAt > out.text.size())
            return QStringLiteral("failure position %1 beyond the text").arg(out.failedAt);
        THtmlIndenter raw;
        qsizetype err = 0;
        raw.IndentHtml(in, &err);
        if (err >= 0) THtmlIndenter::LineAt(in, std::min<qsizetype>(err, in.size()));
        return QString();
    });
    m_targets.insert(
        QStringLiteral("preview copy markup"), [](const QByteArray &in, QRandomGenerator &) {
            // Line attributes and relinked links added, nothing else of the page changed.
            PreviewMarkupOptions options;
            options.lineAttributes = true;
            options.relink = [](const QByteArray &v) { return v.isEmpty() ? QByteArray() : "r"; };
            const PreviewMarkup out = decoratePreviewPage(in, options);
            QByteArray back = out.bytes;
            static const QRegularExpression added(QStringLiteral(" data-balizor-line=\"\\d+\""));
            back = QString::fromLatin1(back).remove(added).toLatin1();
            if (out.links.isEmpty() && back != in) return QStringLiteral("bytes changed");
            if (back.size() > in.size()) return QStringLiteral("more than attributes added");
            return QString();
        });
    m_targets.insert(QStringLiteral("file rewrites"), [](const QByteArray &in,
                                                         QRandomGenerator &rng) {
        // On the file's own bytes: the line breaks all become the style asked for,
        // and the indenter changes nothing but white space.
        const Assist::FileText text = Assist::InspectFileBytes(in);
        QByteArray out;
        const Assist::ByteSink sink = [&out](const char *d, qsizetype n) { out.append(d, n); };
        const LineBreak style = LineBreak(rng.bounded(3));
        if (Assist::ChangeLineBreaks(text, style, sink).changed) {
            QByteArray rest = out;
            rest.replace(lineBreakBytes(style), "");
            if (rest.contains('\r') || rest.contains('\n'))
                return QStringLiteral("a line break of another style left");
        }
        out.clear();
        if (Assist::IndentFile(text, rng.bounded(2) == 0, int(rng.bounded(1, 9)), sink).changed) {
            const auto solid = [](const QByteArray &b) {
                QByteArray k;
                for (char c : b)
                    if (uchar(c) > 0x20) k.append(c);
                return k;
            };
            if (solid(out) != solid(in)) return QStringLiteral("indent changed more than spaces");
        }
        Assist::ConvertAccentsInFile(text, Assist::AccentDirection(rng.bounded(2)),
                                     rng.bounded(2) == 0, {}, sink);
        return QString();
    });
    m_targets.insert(QStringLiteral("identifier scan"),
                     [](const QByteArray &in, QRandomGenerator &rng) {
                         std::atomic<bool> stop{false};
                         std::vector<IdentifierScan::Found> found;
                         int last = -1;
                         bool ordered = true;
                         IdentifierScan::scan(
                             in, stop,
                             [&](int p) {
                                 ordered = ordered && p > last && p <= 100;
                                 last = p;
                             },
                             &found, rng.bounded(2) ? rng.bounded(1, 64)
                                                    : IdentifierScan::ScanPieceBytes);
                         IdentifierScan::buildLists(found);
                         return ordered ? QString() : QStringLiteral("progress out of order");
                     });
    m_targets.insert(QStringLiteral("spelling words"), [this](const QByteArray &in,
                                                              QRandomGenerator &rng) {
        // In a page or as plain text: words in order, inside the text, each starting
        // with a letter; the decoder of references takes any piece.
        const int types[] = {DocumentTypes::SynMultiSynHTML, DocumentTypes::SynMultiSynPHP,
                             DocumentTypes::SynGeneralSyn1};
        const Highlighter *h = m_types.highlighter(types[rng.bounded(3)]);
        qsizetype last = 0;
        for (const Spelling::Word &w : Spelling::ExtractWords(in, h)) {
            if (w.start < last || w.length <= 0 || w.start + w.length > in.size())
                return QStringLiteral("word at %1 out of place").arg(w.start);
            if (w.text.size() < 2 || !w.text.front().isLetter())
                return QStringLiteral("word \"%1\" does not start with a letter").arg(w.text);
            last = w.start + w.length;
        }
        Spelling::DecodeText(in);
        return QString();
    });
    m_targets.insert(QStringLiteral("page checker"), [this](const QByteArray &in,
                                                            QRandomGenerator &rng) {
        static const int pages[] = {DocumentTypes::SynMultiSynHTML, DocumentTypes::SynMultiSynPHP,
                                    DocumentTypes::SynMultiSynASP};
        PageCheck::Options o;
        o.page = static_cast<const MultiHighlighter *>(
            m_types.highlighter(pages[rng.bounded(int(std::size(pages)))]));
        if (rng.bounded(2)) o.baseFolder = m_dir.path();
        const PageCheck::Result r = PageCheck::Check(in, o);
        qsizetype last = 0;
        for (const PageCheck::Finding &f : r.findings) {
            if (f.offset < last || f.offset > in.size() || f.line < 1 || f.column < 1 ||
                f.message.isEmpty())
                return QStringLiteral("finding out of place at %1").arg(f.offset);
            last = f.offset;
        }
        for (const PageCheck::Link &l : PageCheck::Links(in, o.page))
            if (l.offset < 0 || l.offset + l.length > in.size() || l.line < 1)
                return QStringLiteral("link out of place at %1").arg(l.offset);
        return QString();
    });
    m_targets.insert(QStringLiteral("accents"), [](const QByteArray &in, QRandomGenerator &rng) {
        const bool named = rng.bounded(2) == 0;
        const QByteArray refs =
            Assist::ConvertAccents(in, Assist::AccentDirection::ToReferences, named);
        const QByteArray back =
            Assist::ConvertAccents(refs, Assist::AccentDirection::ToCharacters, named);
        const qsizetype from = in.isEmpty() ? 0 : rng.bounded(int(in.size()) + 1);
        const qsizetype to = from + rng.bounded(int(in.size() - from) + 1);
        Assist::ConvertAccents(in.constData(), in.size(), from, to,
                               Assist::AccentDirection::ToCharacters, named);
        // Pure ASCII without '&' has nothing to convert either way.
        bool plain = true;
        for (char c : in)
            plain = plain && uchar(c) < 0x80 && c != '&';
        if (plain && (refs != in || back != in)) return QStringLiteral("plain ASCII changed");
        return QString();
    });
    m_targets.insert(QStringLiteral("search"), [](const QByteArray &in, QRandomGenerator &rng) {
        // The pattern is a piece of the input: literal or regular expression.
        const int a = in.isEmpty() ? 0 : int(rng.bounded(int(in.size())));
        const QString pattern = asText(in.mid(a, int(rng.bounded(1, 12))));
        MatchRules rules;
        rules.caseSensitive = rng.bounded(2);
        rules.wholeWords = rng.bounded(2);
        rules.regularExpression = rng.bounded(2);
        TextSearch search;
        if (!search.prepare(pattern, rules)) return QString();
        const TextMatch f = search.findForward(in.constData(), in.size(), 0, in.size());
        if (f.found() && (f.start < 0 || f.end > in.size() || f.end < f.start))
            return QStringLiteral("match [%1, %2) outside the text of %3 bytes for \"%4\" (case "
                                  "%5, words %6, regex %7)")
                .arg(f.start)
                .arg(f.end)
                .arg(in.size())
                .arg(pattern)
                .arg(rules.caseSensitive)
                .arg(rules.wholeWords)
                .arg(rules.regularExpression);
        const TextMatch b = search.findBackward(in.constData(), in.size(), in.size(), 0);
        if (b.found() && (b.start < 0 || b.end > in.size()))
            return QStringLiteral("backward match outside the text");
        qsizetype last = 0;
        for (const Replacement &r : search.replacements(in.constData(), in.size(), 0, in.size(),
                                                        QStringLiteral("\\0x\\9\\n"))) {
            if (r.start < last || r.end < r.start || r.end > in.size())
                return QStringLiteral("replacements out of order");
            last = r.end;
        }
        return QString();
    });
    m_targets.insert(
        QStringLiteral("files search"), [](const QByteArray &in, QRandomGenerator &rng) {
            const int a = in.isEmpty() ? 0 : int(rng.bounded(int(in.size())));
            const QByteArray piece = in.mid(a, int(rng.bounded(1, 8)));
            MatchRules rules;
            rules.caseSensitive = rng.bounded(2);
            rules.wholeWords = rng.bounded(2);
            rules.regularExpression = rng.bounded(2);
            const QString pattern = asText(piece);
            TextSearch search;
            if (!search.prepare(pattern, rules) || !search.isValid()) return QString();
            TextSearch filter;
            const bool filtered = FileSearch::prepareRawFilter(pattern, rules, &filter);
            const FileHits hits = FileSearch::searchBytes(in.constData(), in.size(), search, 50,
                                                          filtered ? &filter : nullptr);
            int line = 0;
            for (const LineHit &h : hits.hits) {
                if (h.line <= line) return QStringLiteral("lines out of order");
                line = h.line;
                for (const auto &sp : h.spans)
                    if (sp.first < 0 || sp.first + sp.second > h.text.size())
                        return QStringLiteral("match outside its line");
            }
            if (hits.count < hits.hits.size()) return QStringLiteral("fewer matches than lines");
            // An ASCII text replaced by itself leaves every byte of the file as it was.
            bool ascii = !piece.isEmpty();
            for (char c : piece)
                ascii = ascii && uchar(c) < 0x80 && c != '\r' && c != '\n' && c != '\0';
            if (!ascii) return QString();
            MatchRules exact;
            exact.caseSensitive = true;
            TextSearch same;
            same.prepare(QString::fromLatin1(piece), exact);
            QByteArray out;
            const FileSearch::ReplaceResult r =
                FileSearch::replaceBytes(in, same, QString::fromLatin1(piece), &out);
            if (r.status == FileSearch::ReplaceStatus::Replaced && out != in)
                return QStringLiteral("a replace by the same text changed the bytes");
            return QString();
        });
    m_targets.insert(QStringLiteral("brackets and completion"), [](const QByteArray &in,
                                                                   QRandomGenerator &rng) {
        const qsizetype caret = in.isEmpty() ? 0 : rng.bounded(int(in.size()) + 1);
        auto charAt = [&in](qsizetype p) { return p >= 0 && p < in.size() ? in.at(p) : '\0'; };
        const int at = Brackets::highlightedBracket(caret, rng.bounded(2), charAt,
                                                    [](qsizetype) { return true; });
        if (at >= 0 && (at >= in.size() || !Brackets::inSet(in.at(at))))
            return QStringLiteral("bracket at %1 is no bracket").arg(at);
        const QString left = asText(in.left(caret));
        Completion::ElementBeforeCaret(left);
        const qsizetype start = Completion::typedRunStart(left, Completion::endSet(rng.bounded(2)));
        if (start < 0 || start > left.size())
            return QStringLiteral("typed run starts outside the text");
        Completion::List list;
        Completion::BuildAttributeList(left, rng.bounded(2), &list);
        return QString();
    });
    m_targets.insert(QStringLiteral("file decoder"), [](const QByteArray &in, QRandomGenerator &) {
        const LoadedText t = decodeFileBytes(in);
        if (!isValidUtf8(t.utf8.constData(), t.utf8.size()))
            return QStringLiteral("decoded text is not UTF-8");
        // A one-line Windows-1252 file comes back byte for byte, its last line ended.
        QByteArray out;
        if (encodeForFile(t.utf8.constData(), t.utf8.size(), t.encoding, t.lineBreak, &out) &&
            t.encoding == TextEncoding::Windows1252 && !in.contains('\r') && !in.contains('\n') &&
            out != (in.isEmpty() ? in : in + "\r\n"))
            return QStringLiteral("Windows-1252 bytes not kept");
        return QString();
    });
    m_targets.insert(QStringLiteral("settings reader"), [this](const QByteArray &in,
                                                               QRandomGenerator &rng) {
        const QString path = m_dir.filePath(QStringLiteral("s%1.ini").arg(rng.bounded(1000000)));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly)) return QStringLiteral("cannot write %1").arg(path);
        // INI lines built around the program's own sections and names.
        static const char *const heads[] = {"[Options]\n", "[Fichiers]\n", "[Recherche]\n",
                                            "[Highlighters\\HTML]\n", "[General]\n"};
        f.write(heads[rng.bounded(int(std::size(heads)))]);
        f.write(in);
        f.close();
        {
            SettingsStore store(path);
            Options o;
            readStartupOptions(store, o);
            loadSettings(store, o);
            DocumentTypes types;
            LoadHighlighterSettings(types, store);
            for (const QString &g : store.subSections(QString()))
                for (const QString &n : store.valueNames(g))
                    store.readString(g, n, QString());
        }
        QFile::remove(path);
        return QString();
    });
    m_targets.insert(
        QStringLiteral("instance messages"), [](const QByteArray &in, QRandomGenerator &rng) {
            QByteArray buf = in;
            // Half the time a well-formed message first, so the decoder reaches the rest.
            const QString arg = asText(in.left(int(rng.bounded(64))));
            if (rng.bounded(2)) buf.prepend(InstanceProtocol::encode(arg));
            QString out;
            for (int guard = 0; guard < 10000; ++guard) {
                const qsizetype before = buf.size();
                const auto d = InstanceProtocol::decode(buf, &out);
                if (d != InstanceProtocol::Decode::Complete) break;
                if (buf.size() >= before)
                    return QStringLiteral("a complete message consumed nothing");
            }
            // A NUL never belongs in a path: the decoder refuses it.
            if (arg.contains(QChar(0))) return QString();
            QByteArray one = InstanceProtocol::encode(arg);
            QString back;
            if (InstanceProtocol::decode(one, &back) != InstanceProtocol::Decode::Complete ||
                back != arg || !one.isEmpty())
                return QStringLiteral("round trip failed");
            return QString();
        });
    m_targets.insert(QStringLiteral("page properties"), [](const QByteArray &in,
                                                           QRandomGenerator &rng) {
        const QString text = asText(in);
        const Authoring::PageProperties read = Authoring::ReadPageProperties(text);
        // Writing back what the dialog shows never changes the properties; a page
        // written once is complete, and writing it again changes nothing.
        const bool casse = rng.bounded(2), xhtml = rng.bounded(2);
        const auto ok = [casse, xhtml](const QString &t) {
            return Authoring::WritePageProperties(
                t, Authoring::PagePropertiesFields(Authoring::ReadPageProperties(t)),
                QStringLiteral("\r\n"), casse, xhtml);
        };
        const Authoring::PageWrite same = ok(text);
        if (same.error.isEmpty() && !same.text.isEmpty() && same.text != text &&
            Authoring::ReadPageProperties(same.text) != read)
            return QStringLiteral("writing back what was read changed the properties");
        if (same.error.isEmpty() && !same.text.isEmpty() && ok(same.text).text != same.text)
            return QStringLiteral("writing twice changed the page again");
        // A new title is read back as written.
        Authoring::PageProperties changed = read;
        changed.title = QStringLiteral("Titre \"essai\" & <b>");
        const Authoring::PageWrite w = Authoring::WritePageProperties(
            text, changed, QStringLiteral("\n"), rng.bounded(2), rng.bounded(2));
        if (w.error.isEmpty() && (w.caret < 0 || w.caret > w.text.size()))
            return QStringLiteral("caret outside the written page");
        return QString();
    });
    m_targets.insert(QStringLiteral("FTP listing"), [](const QByteArray &in,
                                                       QRandomGenerator &rng) {
        const QDateTime now(QDate(2026, 12, 9), QTime(12, 0));
        for (FtpListingFormat format : {FtpListingFormat::List, FtpListingFormat::Mlsd}) {
            QList<FtpEntry> entries = FtpListing::parse(in, format, now);
            for (const FtpEntry &e : entries)
                if (e.name.isEmpty() || e.name == QLatin1String(".") ||
                    e.name == QLatin1String(".."))
                    return QStringLiteral("listing kept an empty, . or .. name");
            FtpListing::sort(entries, int(rng.bounded(3)), rng.bounded(2));
            bool files = false;
            for (const FtpEntry &e : entries) {
                if (!e.isFolder()) files = true;
                else if (files) return QStringLiteral("a folder sorted after a file");
            }
        }
        return QString();
    });
    m_targets.insert(QStringLiteral("site publishing record"), [this](const QByteArray &in,
                                                                      QRandomGenerator &rng) {
        const QString path = m_dir.filePath(QStringLiteral("p%1.json").arg(rng.bounded(1000000)));
        // Around the record's own shape, or the bytes alone.
        static const char *const heads[] = {"{\"fichiers\":{", "{\"fichiers\":", "", "{"};
        const QByteArray head = heads[rng.bounded(int(std::size(heads)))];
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(head + in + "}}") < 0)
            return QStringLiteral("cannot write %1").arg(path);
        f.close();
        PublishState state;
        if (state.load(path)) {
            // What was read is kept as it was read.
            PublishState again;
            if (!state.save(path) || !again.load(path) || again.files.size() != state.files.size())
                return QStringLiteral("record not read back alike");
            PublishPlanner::build({LocalFile{QStringLiteral("a.html"), 1, "x", 0}}, state.files, {});
        }
        QFile::remove(path);
        return QString();
    });
    m_targets.insert(
        QStringLiteral("batch command line"), [](const QByteArray &in, QRandomGenerator &rng) {
            static const QStringList commands[] = {{"indent", "-"},
                                                   {"indent", "--spaces", "3", "-"},
                                                   {"indent", "--tabs", "--check", "-"},
                                                   {"accents", "--to-entities", "-"},
                                                   {"accents", "--to-text", "--numeric", "-"},
                                                   {"eol", "--lf", "-"},
                                                   {"eol", "--cr", "--check", "-"},
                                                   {"eol", "--crlf", "-"},
                                                   {"check", "-"}};
            QStringList args = commands[rng.bounded(int(std::size(commands)))];
            // Sometimes the arguments themselves come from the input.
            if (rng.bounded(4) == 0)
                args = asText(in.left(80)).split(QLatin1Char(' ')) << QStringLiteral("-");
            Batch::Io io;
            io.readStdin = [&in] { return in; };
            io.writeStdout = [](const QByteArray &) {};
            io.writeStderr = [](const QString &) {};
            const int status = Batch::Run(args, io);
            if (status < 0 || status > 3) return QStringLiteral("exit status %1").arg(status);
            return QString();
        });
}

void TstFuzz::target_data() {
    QTest::addColumn<QString>("name");
    QStringList names = m_targets.keys();
    names.sort();
    for (const QString &n : names)
        QTest::newRow(qPrintable(n)) << n;
}

void TstFuzz::target() {
    QFETCH(QString, name);
    const Target &run = m_targets[name];
    Mutator mutator(seed() ^ qHash(name));
    QElapsedTimer clock;
    clock.start();
    const qint64 budget = qint64(budgetSeconds() * 1000);
    int tried = 0;
    while (clock.elapsed() < budget) {
        const QByteArray input = mutator.next();
        const QString fault = run(input, mutator.rng());
        ++tried;
        if (!fault.isEmpty()) {
            const QString saved =
                m_dir.filePath(QStringLiteral("failing-input-") +
                               QString(name).replace(QLatin1Char(' '), QLatin1Char('-')));
            QFile f(saved);
            if (f.open(QIODevice::WriteOnly)) f.write(input);
            m_dir.setAutoRemove(false);
            QFAIL(qPrintable(
                QStringLiteral("input %1: %2 (input kept in %3)").arg(tried).arg(fault, saved)));
        }
    }
    m_total += tried;
    qInfo("%s: %d inputs in %lld ms (%lld in all)", qPrintable(name), tried, clock.elapsed(),
          m_total);
}

QTEST_GUILESS_MAIN(TstFuzz)
#include "tst_fuzz.moc"
