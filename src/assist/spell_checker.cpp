#include "assist/spell_checker.h"

#include "platform/temp_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QStringEncoder>

#include <hunspell.hxx>

#include <algorithm>

namespace Spelling {

QStringList DictionaryFolders() {
    QStringList folders;
    const QByteArray extra = qgetenv("BALIZOR_DICTIONARY_PATH");
    if (!extra.isEmpty())
        folders << QString::fromLocal8Bit(extra).split(QLatin1Char(':'), Qt::SkipEmptyParts);
    folders << QStringLiteral("/usr/share/hunspell") << QStringLiteral("/usr/local/share/hunspell")
            << QStringLiteral("/usr/share/myspell") << QStringLiteral("/usr/share/myspell/dicts");
    return folders;
}

std::vector<Dictionary> InstalledDictionaries(const QStringList &folders) {
    std::vector<Dictionary> out;
    for (const QString &folder : folders) {
        const QDir dir(folder);
        for (const QFileInfo &aff :
             dir.entryInfoList({QStringLiteral("*.aff")}, QDir::Files, QDir::Name)) {
            const QString name = aff.completeBaseName();
            const QString dic = dir.filePath(name + QStringLiteral(".dic"));
            if (!QFileInfo(dic).isFile()) continue;
            const auto same = [&](const Dictionary &d) { return d.name == name; };
            if (std::find_if(out.begin(), out.end(), same) != out.end()) continue;
            out.push_back({name, aff.filePath(), dic});
        }
    }
    std::sort(out.begin(), out.end(),
              [](const Dictionary &a, const Dictionary &b) { return a.name < b.name; });
    return out;
}

int DictionaryFor(const std::vector<Dictionary> &dictionaries, const QString &language) {
    const QString tag = NormalLanguageTag(language);
    if (tag.isEmpty()) return -1;
    const QString primary = tag.section(QLatin1Char('-'), 0, 0);
    int own = -1, first = -1;
    for (size_t i = 0; i < dictionaries.size(); ++i) {
        const QString name = NormalLanguageTag(dictionaries[i].name);
        if (name == tag) return int(i);
        if (name == primary) own = int(i);
        if (first < 0 && name.section(QLatin1Char('-'), 0, 0) == primary) first = int(i);
    }
    return own >= 0 ? own : first;
}

QString DictionaryCaption(const QString &name) {
    const QLocale locale(name);
    if (locale.language() == QLocale::C) return name;
    QString caption = locale.nativeLanguageName();
    if (!caption.isEmpty()) caption[0] = caption[0].toUpper();
    if (name.contains(QLatin1Char('_')) || name.contains(QLatin1Char('-')))
        caption += QStringLiteral(" (%1)").arg(locale.nativeTerritoryName());
    return caption;
}

QString PersonalWordsPath() {
    const QString base = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return base.isEmpty() ? QString() : base + QStringLiteral("/Orthographe/personnel.dic");
}

QStringList ReadPersonalWords(const QString &path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    QStringList words;
    for (const QByteArray &line : f.readAll().split('\n')) {
        const QString w = QString::fromUtf8(line).trimmed();
        if (!w.isEmpty()) words << w;
    }
    return words;
}

bool AddPersonalWord(const QString &path, const QString &word) {
    if (path.isEmpty() || word.trimmed().isEmpty()) return false;
    if (!makePrivateFolder(QFileInfo(path).absolutePath())) return false;
    QStringList words = ReadPersonalWords(path);
    if (words.contains(word)) return true;
    words << word.trimmed();
    return writePrivateFileAtomically(path, QByteArray(),
                                      words.join(QLatin1Char('\n')).toUtf8() + '\n');
}

struct Checker::Loaded {
    std::unique_ptr<Hunspell> hunspell;
    bool utf8 = true;
    QByteArray encoding;
    QHash<QString, bool> known;

    std::string encode(const QString &word) const {
        if (utf8) return word.toStdString();
        QStringEncoder enc(encoding.constData());
        const QByteArray b = enc.isValid() ? QByteArray(enc.encode(word)) : word.toLatin1();
        return b.toStdString();
    }
    QString decode(const std::string &s) const {
        if (utf8) return QString::fromStdString(s);
        QStringDecoder dec(encoding.constData());
        return dec.isValid() ? QString(dec.decode(QByteArray::fromStdString(s)))
                             : QString::fromLatin1(s.data(), qsizetype(s.size()));
    }
    // Whether the dictionary's character set can hold the word at all.
    bool holds(const QString &word) const {
        if (utf8) return true;
        QStringEncoder enc(encoding.constData(), QStringEncoder::Flag::Stateless);
        if (!enc.isValid()) {
            for (QChar c : word)
                if (c.unicode() > 0xff) return false;
            return true;
        }
        (void)QByteArray(enc.encode(word));
        return !enc.hasError();
    }
};

Checker::Checker(std::vector<Dictionary> dictionaries, const QString &defaultLanguage)
    : m_dictionaries(std::move(dictionaries)), m_default(NormalLanguageTag(defaultLanguage)) {
    m_loaded.resize(m_dictionaries.size());
}

Checker::~Checker() = default;

void Checker::setDefaultLanguage(const QString &language) {
    m_default = NormalLanguageTag(language);
    m_languageDictionary.remove(QString());
}

Checker::Loaded *Checker::dictionaryOf(const QString &language) {
    auto it = m_languageDictionary.constFind(language);
    if (it == m_languageDictionary.cend())
        it = m_languageDictionary.insert(
            language, DictionaryFor(m_dictionaries, language.isEmpty() ? m_default : language));
    const int index = it.value();
    if (index < 0) return nullptr;
    std::unique_ptr<Loaded> &slot = m_loaded[size_t(index)];
    if (!slot) {
        const Dictionary &d = m_dictionaries[size_t(index)];
        auto loaded = std::make_unique<Loaded>();
        loaded->hunspell = std::make_unique<Hunspell>(QFile::encodeName(d.affPath).constData(),
                                                      QFile::encodeName(d.dicPath).constData());
        loaded->encoding = QByteArray::fromStdString(loaded->hunspell->get_dict_encoding());
        loaded->utf8 = loaded->encoding.toUpper().replace('-', "") == "UTF8";
        slot = std::move(loaded);
        for (const QString &w : std::as_const(m_added))
            if (slot->holds(w)) slot->hunspell->add(slot->encode(w));
    }
    return slot.get();
}

bool Checker::canCheck(const QString &language) {
    return dictionaryOf(language) != nullptr;
}

bool Checker::isCorrect(const QString &word, const QString &language) {
    if (m_ignored.contains(word)) return true;
    Loaded *d = dictionaryOf(language);
    if (!d) return true;
    const auto it = d->known.constFind(word);
    if (it != d->known.cend()) return it.value();
    ++m_lookups;
    // The dictionaries spell the apostrophe either way; try the typewriter one too.
    bool ok = d->holds(word) && d->hunspell->spell(d->encode(word));
    if (!ok && word.contains(QChar(0x2019))) {
        QString straight = word;
        straight.replace(QChar(0x2019), QLatin1Char('\''));
        ok = d->holds(straight) && d->hunspell->spell(d->encode(straight));
    }
    d->known.insert(word, ok);
    return ok;
}

QStringList Checker::suggestions(const QString &word, const QString &language, int max) {
    Loaded *d = dictionaryOf(language);
    if (!d || !d->holds(word)) return {};
    QStringList out;
    for (const std::string &s : d->hunspell->suggest(d->encode(word))) {
        const QString w = d->decode(s);
        if (!out.contains(w)) out << w;
        if (out.size() >= max) break;
    }
    return out;
}

void Checker::ignore(const QString &word) {
    m_ignored.insert(word);
}

void Checker::addWord(const QString &word) {
    addWords({word});
}

void Checker::addWords(const QStringList &words) {
    for (const QString &w : words) {
        if (w.isEmpty() || m_added.contains(w)) continue;
        m_added << w;
        for (const std::unique_ptr<Loaded> &d : m_loaded)
            if (d) {
                if (d->holds(w)) d->hunspell->add(d->encode(w));
                d->known.remove(w);
            }
    }
}

int Checker::languageIndex(const QString &language) {
    int i = int(m_languages.indexOf(language));
    if (i < 0) {
        m_languages << language;
        i = int(m_languages.size()) - 1;
    }
    return i;
}

void Checker::check(const std::vector<Word> &words, size_t from, size_t to,
                    std::vector<Misspelling> &out) {
    for (size_t i = from; i < std::min(to, words.size()); ++i)
        check(words[i], out);
}

void Checker::check(const Word &w, std::vector<Misspelling> &out) {
    if (isCorrect(w.text, w.language)) return;
    out.push_back({w.start, w.length, w.language.isEmpty() ? 0 : languageIndex(w.language)});
}

} // namespace Spelling
