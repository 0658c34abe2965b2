#include "ui/SkinnedDialog.h"

#include "platform/TexturedLabel.h"
#include "ui/Presentation.h"

#include <QEvent>
#include <QPainter>

TSkinnedDialog::TSkinnedDialog(TPresentation& look, QWidget* parent, int clientWidth,
                               int clientHeight)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::CustomizeWindowHint), look_(look) {
    setFixedSize(clientWidth, clientHeight);
    look_.Skins.RegisterSkinned(this, [this] {
        for (TTexturedLabel* face : buttonFaces_)
            face->SetTexture(look_.Skins[SlotButton]);
        update();
    });
}

void TSkinnedDialog::AddButtonFace(TTexturedLabel* face) {
    buttonFaces_.push_back(face);
    face->SetTexture(look_.Skins[SlotButton]);
}

namespace {

// White text, bold when asked, in the geometry given.
void ShapeWhiteText(TTexturedLabel* label, QRect geometry, bool bold) {
    label->setGeometry(geometry);
    if (bold) {
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
    }
    label->SetFontColor(Qt::white);
}

} // namespace

TTexturedButton* TSkinnedDialog::MakeButton(QWidget* parent, QRect geometry, bool bold) {
    auto* button = new TTexturedButton(parent);
    ShapeWhiteText(button, geometry, bold);
    AddButtonFace(button);
    return button;
}

TTexturedLabel* TSkinnedDialog::MakeCaption(QRect geometry, bool bold) {
    auto* label = new TTexturedLabel(this);
    ShapeWhiteText(label, geometry, bold);
    label->SetTransparent(true);
    return label;
}

TTexturedButton* TSkinnedDialog::MakeOkButton(int left, int top) {
    auto* button = MakeButton(this, {left, top, 40, 40});
    button->SetCaption("OK");
    connect(button, &TTexturedButton::Clicked, this, &QDialog::accept);
    return button;
}

QString TSkinnedDialog::GetTextU(QByteArrayView key) const {
    return look_.Texts.GetTextU(key);
}

void TSkinnedDialog::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    TileTexture(painter, rect(), look_.Skins[SlotWindowBackground]);
}

namespace {

class TMainActiveGuard : public QObject {
public:
    TMainActiveGuard(QObject* window, quint8& mainActive)
        : QObject(window), mainActive_(mainActive) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::Show:
        case QEvent::WindowActivate:
            mainActive_ = 0;
            break;
        case QEvent::Hide:
        case QEvent::WindowDeactivate:
            mainActive_ = 1;
            break;
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    quint8& mainActive_;
};

} // namespace

void SuspendGameWhileActive(QWidget* window, quint8& mainActive) {
    window->installEventFilter(new TMainActiveGuard(window, mainActive));
}
