#include "ui/ReviewWindow.h"

#include "platform/CodePage.h"
#include "platform/Errors.h"
#include "platform/TexturedLabel.h"
#include "settings/Settings.h"
#include "ui/Presentation.h"

#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QPainter>
#include <QSaveFile>
#include <QTableWidget>
#include <QTimer>

const QColor TReviewWindow::PlayedColour(120, 170, 255);
const QColor TReviewWindow::BestColour(120, 220, 120);

namespace {

constexpr int CellSide = 34;
const QPoint BoardOrigin(456, 8);
enum TColumn { PlayerColumn, PlayedColumn, LengthColumn, BestColumn, CellColumn, MissedColumn };

QString Letters(const QByteArray& word) {
    return word.isEmpty() ? QString::fromUtf8("—") : CodePage::ToUnicode(word);
}

QTableWidgetItem* Item(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

} // namespace

TReviewWindow::TReviewWindow(TPresentation& look, QWidget* parent)
    : TSkinnedDialog(look, parent, 640, 340), stepper_(new QTimer(this)) {
    Turns = new QTableWidget(0, MissedColumn + 1, this);
    Turns->setGeometry(8, 8, 440, 270);
    Turns->setSelectionBehavior(QAbstractItemView::SelectRows);
    Turns->setSelectionMode(QAbstractItemView::SingleSelection);
    Turns->verticalHeader()->setDefaultSectionSize(20);
    // The words take the room the numbers leave.
    Turns->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    for (int column : {PlayedColumn, BestColumn})
        Turns->horizontalHeader()->setSectionResizeMode(column, QHeaderView::Stretch);
    connect(Turns, &QTableWidget::currentCellChanged, this, [this] { update(); });

    Summary = MakeCaption({8, 286, 440, 24});

    SaveButton = MakeButton(this, {456, 290, 110, 40});
    connect(SaveButton, &TTexturedButton::Clicked, this, &TReviewWindow::ChooseFile);
    MakeOkButton(590, 290);

    stepper_->setInterval(0);
    connect(stepper_, &QTimer::timeout, this, &TReviewWindow::ReviewNextTurn);
}

void TReviewWindow::Review(const TGameRecord& record, const TDictionary& words) {
    setWindowTitle(GetTextU("Menu_Review"));
    SaveButton->SetCaption(GetTextU("ReviewSave"));
    Turns->setHorizontalHeaderLabels(GetTextU("ReviewColumns").split('|'));
    record_ = record;
    reviews_.clear();
    Turns->setRowCount(0);
    Summary->SetCaption({});
    words_ = &words;
    if (words.Language != record.Language) {
        UseLanguage(otherLanguage_, static_cast<quint16>(record.Language));
        Look().Messages.Guard([this] { otherLanguage_.LoadWords(Look().Folder); });
        words_ = &otherLanguage_;
    }
    stepper_->start();
    update();
}

bool TReviewWindow::Reviewing() const {
    return stepper_->isActive();
}

void TReviewWindow::ReviewNextTurn() {
    // The player switched the language meanwhile: the record's own dictionary takes over.
    if (words_->Language != record_.Language) {
        Review(record_, *words_);
        return;
    }
    const qsizetype next = reviews_.size();
    if (next >= record_.Turns.size()) {
        stepper_->stop();
        ShowSummary();
        return;
    }
    reviews_.append(ReviewTurn(record_.Turns[next], *words_));
    ShowRow(static_cast<int>(next));
}

void TReviewWindow::ShowRow(int row) {
    const TRecordedTurn& turn = record_.Turns[row];
    const TTurnReview& review = reviews_[row];
    Turns->insertRow(row);
    Turns->setItem(row, PlayerColumn, Item(QString::number(turn.Player)));
    Turns->setItem(row, PlayedColumn, Item(Letters(turn.Word)));
    Turns->setItem(row, LengthColumn, Item(QString::number(turn.Word.size())));
    Turns->setItem(row, BestColumn, Item(Letters(review.Best)));
    const QString cell = review.Best.isEmpty() ? QString()
                                               : QString("%1 %2,%3")
                                                     .arg(Letters(QByteArray(1, review.Letter)))
                                                     .arg(review.Cell.x())
                                                     .arg(review.Cell.y());
    Turns->setItem(row, CellColumn, Item(cell));
    Turns->setItem(row, MissedColumn, Item(QString::number(review.Missed)));
    if (row == 0)
        Turns->selectRow(0);
}

void TReviewWindow::ShowSummary() {
    const auto left = PointsLeft(record_, reviews_);
    Summary->SetCaption(GetTextU("ReviewLeft") + QString(" %1 : %2").arg(left[0]).arg(left[1]));
    emit Reviewed();
}

void TReviewWindow::ChooseFile() {
    auto* dialog = new QFileDialog(this, GetTextU("ReviewSave"), QDir::homePath());
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QFileDialog::fileSelected, this,
            [this](const QString& path) { Look().Messages.Guard([&] { SaveTo(path); }); });
    dialog->open();
}

void TReviewWindow::SaveTo(const QString& path) const {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(WriteRecord(record_)) < 0 || !file.commit())
        throw IoError(QString("The game record could not be written to \"%1\".").arg(path));
}

QRect TReviewWindow::CellRect(TCellPos pos) const {
    return {BoardOrigin + QPoint((pos.x() - 1) * CellSide, (pos.y() - 1) * CellSide),
            QSize(CellSide, CellSide)};
}

void TReviewWindow::paintEvent(QPaintEvent* event) {
    TSkinnedDialog::paintEvent(event);
    QPainter painter(this);
    PaintBoard(painter);
}

// A cell on the played path is tinted in its colour, one on the best path in the other, one
// on both half and half; each path is then traced as a line through its cells' middles.
void TReviewWindow::PaintBoard(QPainter& painter) const {
    const int row = Turns->currentRow();
    const bool shown = row >= 0 && row < reviews_.size();
    const TRecordedTurn turn = shown ? record_.Turns[row] : TRecordedTurn{};
    const TTurnReview review = shown ? reviews_[row] : TTurnReview{};
    painter.setFont(QFont(painter.font().family(), 14, QFont::Bold));
    for (const TCellPos& pos : TBoard::Places()) {
        const QRect cell = CellRect(pos);
        const bool played = turn.Path.contains(pos), best = review.Path.contains(pos);
        painter.fillRect(cell, played ? PlayedColour : best ? BestColour : QColor(Qt::white));
        if (played && best)
            painter.fillRect(cell.adjusted(0, CellSide / 2, 0, 0), BestColour);
        painter.setPen(Qt::black);
        painter.drawRect(cell.adjusted(0, 0, -1, -1));
        QByteArray letter(1, turn.Board[BoardIndex(pos)]);
        if (pos == turn.Cell && !turn.Passed())
            letter[0] = turn.Letter();
        else if (pos == review.Cell && !review.Best.isEmpty())
            letter[0] = review.Letter;
        if (letter[0] != TRecordedTurn::EmptyLetter)
            painter.drawText(cell, Qt::AlignCenter, CodePage::ToUnicode(letter));
    }
    PaintPath(painter, turn.Path, PlayedColour.darker(160), -4);
    PaintPath(painter, review.Path, BestColour.darker(160), 4);
}

void TReviewWindow::PaintPath(QPainter& painter, const QList<TCellPos>& path, const QColor& colour,
                              int offset) const {
    QPolygon line;
    for (const TCellPos& pos : path)
        line.append(CellRect(pos).center() + QPoint(offset, offset));
    painter.setPen(QPen(colour, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolyline(line);
}
