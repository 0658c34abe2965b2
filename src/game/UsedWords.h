#pragma once
// The words claimed in this game and the score display.

#include "platform/Checked.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The start word and every credited word of this game, newest first, 21 at most.
class TUsedWords {
public:
    void Clear();
    void Add(const QByteArray& word);
    // Exact, case-sensitive comparison.
    bool IsUsed(const QByteArray& word) const;
    QList<QByteArray> Words() const;

private:
    CheckedArray<QByteArray, 0, 20> entries_;
};

// A score as its hundreds, tens and units digits: 7 shows as "007".
QString ScoreText(quint16 score);
