#include "dictionary/Dictionary.h"

#include "dictionary/PrefixTree.h"
#include "platform/CodePage.h"
#include "platform/Errors.h"
#include "platform/ProgramFolder.h"
#include "platform/SharedFile.h"

#include <algorithm>

namespace {

bool LessNoCase(const QByteArray& a, const QByteArray& b) {
    return CodePage::CompareNoCase(a, b) < 0;
}

bool IsAcceptedLine(QByteArrayView line) {
    return line.size() >= TDictionary::MinLength && line.size() <= TDictionary::MaxLength &&
           line.front() != ';';
}

} // namespace

void UseLanguage(TDictionary& words, quint16 language) {
    words.Language = language;
    words.LanguageName = language == 1 ? "Russian" : "English";
    words.FirstLetter = AlphabetOf(language).First;
}

QString TDictionary::FileForLanguage(const TProgramFolder& folder, int language) {
    return folder.PlayerFile(language == 1 ? "DATA/Lib.RUS" : "DATA/Lib.ENG");
}

void TDictionary::LoadWords(const TProgramFolder& folder) {
    LoadFile(FileForLanguage(folder, Language));
}

void TDictionary::LoadFile(const QString& path) {
    FileName = path;
    WordCount[Language] = 0;
    const QByteArray content = SharedFile::Read(FileName);

    for (auto& list : Lists)
        list.clear();
    quint32 count = 0;
    for (qsizetype start = 0; start < content.size();) {
        qsizetype end = content.indexOf('\n', start);
        if (end < 0)
            end = content.size();
        QByteArrayView line(content.constData() + start, end - start);
        start = end + 1;
        if (line.endsWith('\r'))
            line.chop(1);
        if (!IsAcceptedLine(line))
            continue;
        Lists[static_cast<int>(line.size())].append(line.toByteArray());
        ++count;
    }
    // Sorting once gives the same lists as inserting into sorted lists: the first of
    // equal words stays, later ones are dropped.
    for (auto& list : Lists) {
        std::stable_sort(list.begin(), list.end(), LessNoCase);
        const auto same = [](const QByteArray& a, const QByteArray& b) {
            return CodePage::CompareNoCase(a, b) == 0;
        };
        list.erase(std::unique(list.begin(), list.end(), same), list.end());
    }
    WordCount[Language] = count;
    prefixes_.reset();
    if (CountsChanged)
        CountsChanged();
}

bool TDictionary::FindWord(QByteArrayView word, int length) const {
    if (length < MinLength || length > MaxLength)
        return false;
    const auto& list = Lists[length];
    const auto it = std::lower_bound(list.begin(), list.end(), word,
                                     [](const QByteArray& entry, QByteArrayView w) {
                                         return CodePage::CompareNoCase(entry, w) < 0;
                                     });
    return it != list.end() && CodePage::CompareNoCase(*it, word) == 0;
}

void TDictionary::AppendWord(const QByteArray& word) {
    // Under the lock the word goes after what the file holds now, so a word that another
    // copy of the game added since our last load stays.
    SharedFile::Change(FileName, [this, &word](const std::optional<QByteArray>& current) {
        if (!current)
            throw IoError(QString("Cannot open file \"%1\": it does not exist").arg(FileName));
        QByteArray content = *current;
        // The last line gets its line end first, so the new word stands on a line of its own
        // and that line keeps its word.
        if (content.endsWith('\r'))
            content += '\n';
        else if (!content.isEmpty() && !content.endsWith('\n'))
            content += "\r\n";
        return content + word + "\r\n";
    });
}

const TPrefixTree& TDictionary::Prefixes() const {
    if (!prefixes_ || prefixes_->FirstLetter() != FirstLetter)
        prefixes_ = std::make_shared<const TPrefixTree>(*this);
    return *prefixes_;
}
