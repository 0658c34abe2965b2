#include "ui/AboutWindow.h"

#include "dictionary/Dictionary.h"
#include "platform/CodePage.h"
#include "platform/TexturedLabel.h"
#include "settings/Settings.h"
#include "ui/Presentation.h"

#include <QFontMetrics>
#include <QFrame>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QRandomGenerator>
#include <QTimer>
#include <cmath>
#include <numbers>
#include <optional>

namespace {

// The credits are written here in UTF-8 and held as code page 1251, like every text.
QList<QByteArray> Credits(std::initializer_list<const char*> lines) {
    QList<QByteArray> text;
    for (const char* line : lines)
        text.append(CodePage::FromUnicode(QString::fromUtf8(line)));
    return text;
}

const QList<QByteArray> RussianCredits = Credits({
    "|KORDI 2000 v2.01",
    "",
    "Игра в слова для двоих",
    "",
    "|Игра",
    "Идея, рисунки и программа:",
    "команда Tekomiro",
    "",
    "|Словари",
    "собраны слово за словом",
    "нашими игроками",
    "",
    "|Музыка",
    "«Herzeleid» в четыре бита",
    "",
    "|Спасибо",
    "всем, кто играл в первые версии,",
    "присылал новые слова",
    "и находил наши ошибки",
    "",
    "Спасибо за игру!",
});

const QList<QByteArray> EnglishCredits = Credits({
    "|KORDI 2000 v2.01",
    "",
    "A word game for two",
    "",
    "|Game",
    "Idea, pictures and code:",
    "the Tekomiro team",
    "",
    "|Dictionaries",
    "gathered word by word",
    "by our players",
    "",
    "|Music",
    "\"Herzeleid\" in four bits",
    "",
    "|Thanks",
    "to everyone who played the first",
    "versions, sent us new words",
    "and found our mistakes",
    "",
    "Thank you for playing!",
});

QFont LetterFont(bool big) {
    QFont font("Default");
    font.setBold(true);
    font.setPointSize(big ? 12 : 8);
    return font;
}

// The little mark in the surface's corner: a gold diamond on a transparent ground.
QImage CornerMark() {
    QImage mark(10, 10, QImage::Format_ARGB32_Premultiplied);
    mark.fill(Qt::transparent);
    QPainter painter(&mark);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(120, 90, 0));
    painter.setBrush(QColor(255, 210, 60));
    painter.drawPolygon(QPolygonF({{5, 0.5}, {9.5, 5}, {5, 9.5}, {0.5, 5}}));
    return mark;
}

} // namespace

TFrameSurface::TFrameSurface(QWidget* parent)
    : QWidget(parent), front_(Width, Height, QImage::Format_RGB32),
      back_(Width, Height, QImage::Format_RGB32) {
    front_.fill(Qt::black);
    back_.fill(Qt::black);
    setFixedSize(Width, Height);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TFrameSurface::Flip() {
    std::swap(front_, back_);
    update();
}

void TFrameSurface::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, front_);
}

void TFrameSurface::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        emit Clicked();
}

TAboutWindow::TAboutWindow(TPresentation& look, QWidget* parent)
    : TSkinnedDialog(look, parent, 320, 320), RussianText(RussianCredits),
      EnglishText(EnglishCredits),
      Random([](int range) { return QRandomGenerator::global()->bounded(range); }),
      cornerMark_(CornerMark()), fonts_{LetterFont(false), LetterFont(true)},
      ascents_{QFontMetrics(fonts_[0]).ascent(), QFontMetrics(fonts_[1]).ascent()} {
    SurfaceFrame = new QFrame(this);
    SurfaceFrame->setGeometry(8, 8, 304, 254);
    SurfaceFrame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Surface = new TFrameSurface(this);
    Surface->move(10, 10);
    OkButton = MakeOkButton(145, 270);
    FrameTimer = new QTimer(this);
    FrameTimer->setInterval(FrameMs);

    // Frames run only while the program is the active one, as the music goes on anyway.
    connect(FrameTimer, &QTimer::timeout, this, [this] {
        if (QGuiApplication::applicationState() == Qt::ApplicationActive)
            NextFrame();
    });
    connect(Surface, &TFrameSurface::Clicked, this, &TAboutWindow::SurfaceClick);
}

void TAboutWindow::showEvent(QShowEvent* event) {
    TSkinnedDialog::showEvent(event);
    FrameTimer->start();
    setWindowTitle(GetTextU("Menu_About"));
    BuildLetterTable(Look().Texts.Language() == 1 ? RussianText : EnglishText);
    Look().Sounds.PlayMusic("Herzeleid4bit");
}

void TAboutWindow::hideEvent(QHideEvent* event) {
    FrameTimer->stop();
    Look().Sounds.StopSounds();
    TSkinnedDialog::hideEvent(event);
}

// Rebuilt at every showing, so letters that broke loose last time are back in the text;
// the frame count is kept, so the scroll goes on where it stopped.
void TAboutWindow::BuildLetterTable(const QList<QByteArray>& text) {
    Count = -1;
    for (int line = 0; line < text.size(); ++line) {
        const QByteArray& characters = text[line];
        if (characters.isEmpty())
            continue;
        const bool big = characters.startsWith('|');
        const QFontMetrics metrics(fonts_.at(big));
        const int lineWidth = metrics.horizontalAdvance(CodePage::ToUnicode(characters));
        int x = 150 - (lineWidth + static_cast<int>(characters.size())) / 2;
        for (qsizetype i = big ? 1 : 0; i < characters.size() && Count < Letters.High; ++i) {
            TAboutLetter& letter = Letters[++Count];
            letter = TAboutLetter{};
            letter.R = 128 + Random(64);
            letter.G = 128 + Random(64);
            letter.B = 128 + Random(64);
            letter.Ch = static_cast<quint8>(characters[i]);
            letter.Big = big;
            letter.Line = line;
            letter.X = x;
            x += metrics.horizontalAdvance(CodePage::ToUnicode(characters.mid(i, 1)));
        }
    }
}

void TAboutWindow::Release(TAboutLetter& letter) {
    letter.Loose = 1;
    letter.R += 64;
    letter.G += 64;
    letter.B += 64;
    letter.VX = Random(6) + 1;
    if (Random(2) == 1)
        letter.VX = -letter.VX;
    letter.VY = 0;
}

// A letter in the text rides a wave of 3 pixels along its line, one pixel higher each frame;
// the wave travels on highlighted lines. A loose letter flies, falls and bounces off the
// floor until it leaves at a side.
void TAboutWindow::MoveLetter(TAboutLetter& letter) const {
    if (!letter.Loose) {
        const double angle = (2 * letter.X + 16 * letter.Big * Frame) * 2 * std::numbers::pi / 256;
        letter.Y =
            letter.Line * 20 + 250 - Frame + static_cast<int>(std::lround(3 * std::sin(angle)));
        return;
    }
    if (letter.X <= -20 || letter.X >= 300)
        return;
    letter.X += letter.VX;
    if (Frame % 2 == 0)
        ++letter.VY;
    letter.Y += letter.VY;
    if (letter.Y > 230) {
        letter.VY = -letter.VY;
        letter.Y += letter.VY;
    }
}

void TAboutWindow::NextFrame() {
    ++Frame;
    std::optional<QPainter> painter;
    if (Surface->CanDraw()) {
        Surface->BackBuffer().fill(Qt::black);
        painter.emplace(&Surface->BackBuffer());
    }
    for (int i = 0; i <= Count; ++i) {
        TAboutLetter& letter = Letters[i];
        // The last letter stays in the text, so the scroll always comes round again.
        if (i != Count && !letter.Loose && InBand(letter) && Random(10000) == 0)
            Release(letter);
        MoveLetter(letter);
        if (painter && letter.Y > -20 && letter.Y < 250) {
            painter->setFont(fonts_.at(letter.Big));
            painter->setPen(QColor(letter.R, letter.G, letter.B));
            painter->drawText(letter.X, letter.Y + ascents_.at(letter.Big),
                              CodePage::ToUnicode(QByteArray(1, static_cast<char>(letter.Ch))));
        }
    }
    if (Count >= 0 && Letters[Count].Y < -20)
        Frame = 0;
    if (painter) {
        painter->drawImage(288, 238, cornerMark_);
        painter.reset();
        Surface->Flip();
    }
}

void TAboutWindow::SurfaceClick() {
    for (int i = 0; i < Count; ++i) {
        TAboutLetter& letter = Letters[i];
        if (!letter.Loose && InBand(letter) && Random(5) == 0)
            Release(letter);
    }
}
