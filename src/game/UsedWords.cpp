#include "game/UsedWords.h"

void TUsedWords::Clear() {
    for (auto& entry : entries_)
        entry.clear();
}

void TUsedWords::Add(const QByteArray& word) {
    for (int i = 20; i >= 1; --i)
        entries_[i] = entries_[i - 1];
    entries_[0] = word;
}

bool TUsedWords::IsUsed(const QByteArray& word) const {
    for (const auto& entry : entries_)
        if (!entry.isEmpty() && entry == word)
            return true;
    return false;
}

QList<QByteArray> TUsedWords::Words() const {
    QList<QByteArray> words;
    for (const auto& entry : entries_)
        if (!entry.isEmpty())
            words.append(entry);
    return words;
}

QString ScoreText(quint16 score) {
    return QString::number(score / 100) + QString::number(score / 10 % 10) +
           QString::number(score % 10);
}
