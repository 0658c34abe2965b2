#include "core/MainUnit.h"

#include "dictionary/WordsUnit.h"
#include "platform/CodePage.h"
#include "platform/CoolLabel.h"
#include "platform/SafeApplication.h"
#include "ui/ImagesUnit.h"

#include <QLayout>
#include <QPainter>
#include <QRandomGenerator>

TMainWindow* MainWindow = nullptr;

namespace {

// The client area: it tiles the main background behind every control.
class TClientArea : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        TileTexture(painter, rect(), SkinBitmaps[SlotMainBackground]);
    }
};

} // namespace

TMainWindow::TMainWindow(QWidget* parent) : QMainWindow(parent) {
    MainWindow = this;
    client_ = new TClientArea(this);
    client_->setFixedSize(ClientWidth, ClientHeight);
    setCentralWidget(client_);
    LoadSkinImages();
    // Cells are placed against the outer width of the frame, as the layout was drawn.
    client_->resize(FormWidth, ClientHeight);
    CreateBoard(Cells, client_);
    client_->setFixedSize(ClientWidth, ClientHeight);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    setWindowTitle("Kordi 2000");

    TSafeApplication::Guard([] {
        Words.Language = Words.Language == 1 ? 2 : 1;
        Words.LoadWords();
    });
    Words.Language = Words.Language == 1 ? 2 : 1;
    TSafeApplication::Guard([] { Words.LoadWords(); });
    StartGame(true);
}

void TMainWindow::paintEvent(QPaintEvent* event) { QMainWindow::paintEvent(event); }

QByteArray TMainWindow::RandomStartWord() const {
    const auto& fives = Words.Lists[5];
    if (fives.isEmpty()) {
        TSafeApplication::ShowError(
            QString("The dictionary \"%1\" holds no five-letter word to start a game with.")
                .arg(Words.FileName));
        return {};
    }
    return CodePage::ToUpper(
        fives[QRandomGenerator::global()->bounded(static_cast<int>(fives.size()))]);
}

void TMainWindow::StartGame(bool local, const QByteArray& startWord) {
    SetUpBoard(Cells, local ? RandomStartWord() : startWord);
}
